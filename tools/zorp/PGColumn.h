// The bytea column of a PostgreSQL table that a db command works on: the
// connection, the checks on the table, its column and its primary key, and
// reading and writing values by key. Rows are addressed by the value of a
// single-column primary key, passed and read as text.
#pragma once

#include "framework/db/PGDatabase.h"
#include "tools/zorp/DbColumn.h"

#include <string>

namespace zorp::tool {

class PGColumn {
public:
    // Connects by Name.Database, a libpq connection string, and checks the
    // table: it must exist, have a single-column primary key, and its
    // column must be bytea.
    explicit PGColumn(const ColumnName& Name);

    // Whether the column holds pictures: a bytea column whose comment
    // begins with the word graphic, as the data set reads it.
    bool Graphic() const { return FGraphic; }
    fw::TPGDatabase& Db() { return FDb; }

    // Every row: key as text (column 0), value as bytes (column 1), in key order.
    // With Lock the rows stay locked until the transaction ends, so no other
    // client changes a value between its reading and its rewriting.
    fw::TPGResult Rows(bool Lock = false);
    // The value of the row with key Key; raises an error when there is no such row.
    std::string Value(const std::string& Key);
    // Replaces the value of the row with key Key; raises an error when there is no such row.
    void Write(const std::string& Key, const std::string& Value);

private:
    void CheckColumn();
    void ReadKey();
    std::string NoRow(const std::string& Key) const;

    ColumnName FName;
    fw::TPGDatabase FDb{nullptr};
    std::string FTable;  // quoted as given: unquoted names fold as SQL folds them
    std::string FColumn; // the column's own name, quoted
    std::string FKey;    // the primary key column's name, quoted
    bool FGraphic = false;
};

// Rolls back a transaction on the connection unless it was committed.
class PGTransaction {
public:
    explicit PGTransaction(fw::TPGDatabase& Db) : FDb(Db) { FDb.StartTransaction(); }
    ~PGTransaction();
    PGTransaction(const PGTransaction&) = delete;
    PGTransaction& operator=(const PGTransaction&) = delete;
    void Commit();

private:
    fw::TPGDatabase& FDb;
    bool FDone = false;
};

} // namespace zorp::tool
