// A real SQLite database in a temporary directory with one table of notes.
#pragma once

#include "framework/db/DataSet.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {

class NotesDatabase : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "notes.db");
        Db.ExecSQL("CREATE TABLE notes (id INTEGER NOT NULL, title VARCHAR(10), price REAL, "
                   "body TEXT, picture GRAPHIC, data BLOB)");
        Db.ExecSQL("INSERT INTO notes (id, title, price, body, data) VALUES "
                   "(1, 'first', 1.5, 'one', x'0001'), (2, 'second', 2.5, 'two', NULL), "
                   "(3, 'third', 3.5, 'three', x'FF')");
        Table.SetDatabase(&Db);
        Table.SetTableName("notes");
    }
    TempDir Dir;
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable Table{nullptr};
};

} // namespace zorp::test
