#include "SqlSession.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace zorp::test {

namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* Statement) const { sqlite3_finalize(Statement); }
};

std::string ColumnBytes(sqlite3_stmt* Statement) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(Statement, 0));
    return bytes == nullptr
               ? std::string()
               : std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(Statement, 0)));
}

} // namespace

SqlSession::SqlSession(const std::string& File) {
    sqlite3* db = nullptr;
    const int opened = sqlite3_open(File.c_str(), &db);
    FDb.reset(db);
    if (opened != SQLITE_OK)
        throw std::runtime_error("cannot open " + File);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
    char* error = nullptr;
    if (sqlite3_load_extension(db, ZORP_SQLITE_EXTENSION, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error("cannot load the extension: " + message);
    }
}

SqlResult SqlSession::Query(const std::string& Sql, const std::vector<SqlParameter>& Parameters) {
    sqlite3_stmt* raw = nullptr;
    SqlResult result;
    result.Code = sqlite3_prepare_v2(FDb.get(), Sql.c_str(), -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, Finalizer> statement(raw);
    if (result.Code == SQLITE_OK) {
        for (size_t i = 0; i < Parameters.size(); ++i) {
            const int at = static_cast<int>(i + 1);
            if (const auto* number = std::get_if<int64_t>(&Parameters[i]))
                sqlite3_bind_int64(raw, at, *number);
            else
                sqlite3_bind_blob64(raw, at, std::get<std::string>(Parameters[i]).data(),
                                    std::get<std::string>(Parameters[i]).size(), SQLITE_TRANSIENT);
        }
        result.Code = sqlite3_step(raw);
        if (result.Code == SQLITE_ROW) {
            result.Type = sqlite3_column_type(raw, 0);
            result.Bytes = ColumnBytes(raw);
            result.Code = SQLITE_OK;
        } else if (result.Code == SQLITE_DONE) {
            result.Code = SQLITE_OK;
        }
    }
    if (result.Code != SQLITE_OK)
        result.Error = sqlite3_errmsg(FDb.get());
    return result;
}

void SqlSession::Exec(const std::string& Sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(FDb.get(), Sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << Sql << ": " << (error != nullptr ? error : "");
    sqlite3_free(error);
}

} // namespace zorp::test
