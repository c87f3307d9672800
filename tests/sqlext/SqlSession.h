// A SQLite connection in the test's process with the extension loaded, and
// one-row queries on it.
#pragma once

#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <variant>
#include <vector>

namespace zorp::test {

// The first column of the first row of a query, or the query's error.
struct SqlResult {
    int Type = SQLITE_NULL; // SQLITE_NULL, SQLITE_INTEGER, SQLITE_TEXT, SQLITE_BLOB, ...
    std::string Bytes;      // a TEXT or BLOB value's bytes, a number's text
    int Code = SQLITE_OK;   // the result code of the statement
    std::string Error;      // its error message, when Code is not SQLITE_OK
};

// A parameter: an integer, or bytes bound as a BLOB.
using SqlParameter = std::variant<int64_t, std::string>;

class SqlSession {
public:
    // Opens File (":memory:" by default) and loads ZORP_SQLITE_EXTENSION.
    explicit SqlSession(const std::string& File = ":memory:");

    // Runs Sql with Parameters bound to ?1, ?2, ...: the first value of its
    // first row, or its error.
    SqlResult Query(const std::string& Sql, const std::vector<SqlParameter>& Parameters = {});
    // Runs statements that give no rows; a failure fails the test.
    void Exec(const std::string& Sql);
    sqlite3* Handle() const { return FDb.get(); }

private:
    struct Closer {
        void operator()(sqlite3* Db) const { sqlite3_close(Db); }
    };
    std::unique_ptr<sqlite3, Closer> FDb;
};

} // namespace zorp::test
