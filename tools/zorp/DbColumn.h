// The column of a SQLite table that a db command works on: opening the
// database and checking the column, reading its values by rowid with their
// storage classes, writing values back, and naming one value in messages.
#pragma once

#include "framework/db/Database.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace zorp::tool {

struct ColumnName {
    std::string Database; // the file
    std::string Table;
    std::string Column;
};

// Opens the database and checks that its table has the column. A file that
// is not there is an error naming it: the tool never makes an empty
// database. Returns whether the column holds pictures: its declared type
// makes the data-set layer give it a graphic field (GRAPHIC, IMAGE, PICTURE,
// BITMAP), whose values carry the 8-byte graphic header.
bool OpenColumn(fw::TDatabase& Db, const ColumnName& Name);

// An error about the value of one row, naming the database, table, column
// and the row (as "rowid 4" or "key 4").
std::runtime_error ValueError(const ColumnName& Name, const std::string& Row,
                              const std::string& Message);
// How messages name the row of a SQLite table.
std::string RowIdName(int64_t Row);

// The rows of the column in rowid order: rowid, value and storage class
// ("null", "integer", "real", "text" or "blob", as SQL's typeof gives it).
class ColumnRows {
public:
    ColumnRows(fw::TDatabase& Db, const ColumnName& Name);
    bool Next() { return FRows.Step(); }
    int64_t Row() const;
    std::string Value() const; // the bytes of a text or blob
    std::string Class() const;

private:
    fw::TStatement FRows;
};

// Replaces values of the column by rowid, as BLOBs or as TEXT.
class ColumnWriter {
public:
    ColumnWriter(fw::TDatabase& Db, const ColumnName& Name);
    // As TEXT, the bytes are taken as text in the database's encoding: the
    // bytes a TEXT value was read as come back the same.
    void Write(int64_t Row, const std::string& Value, bool AsText);

private:
    fw::TStatement FBlob;
    fw::TStatement FText;
};

} // namespace zorp::tool
