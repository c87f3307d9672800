// The data set over a real PostgreSQL table: the column mapping, columns from
// the catalogue, navigation in key order, editing, bytes through bytea, and
// the errors of a missing table, a missing key and a bad connection.
#include "framework/db/PGTable.h"
#include "framework/db/Field.h"
#include "tests/pg/PGServer.h"

#include <sstream>

namespace zorp::test {
namespace {

using namespace zorp::fw;

TEST(PGColumnTypes, MapToFieldTypes) {
    struct Case {
        const char* Type;
        const char* Comment;
        TFieldType Expected;
        int32_t Size;
    };
    const Case cases[] = {
        {"integer", "", ftInteger, 0},
        {"bigint", "", ftInteger, 0},
        {"boolean", "", ftInteger, 0},
        {"double precision", "", ftFloat, 0},
        {"numeric(10,2)", "", ftFloat, 0},
        {"character varying(12)", "", ftString, 12},
        {"character(3)", "", ftString, 3},
        {"character varying", "", ftString, 0},
        {"text", "graphic", ftMemo, 0},
        {"bytea", "", ftBlob, 0},
        {"bytea", " Graphic: the scanned page", ftGraphic, 0},
        {"bytea", "memo", ftMemo, 0},
        {"bytea", "fmtmemo", ftFmtMemo, 0},
        {"bytea", "graphics", ftBlob, 0},
        {"timestamp without time zone", "", ftString, 0},
        {"integer[]", "", ftString, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Type) + " / " + c.Comment);
        const TFieldDef def = TPGTable::MapColumnType("c", c.Type, c.Comment);
        EXPECT_EQ(def.Name, "c");
        EXPECT_EQ(def.DataType, c.Expected);
        EXPECT_EQ(def.Size, c.Size);
    }
}

class NotesTable : public PGTest {
protected:
    void SetUp() override {
        PGTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Recreate("notes", "CREATE TABLE notes (id integer PRIMARY KEY, title varchar(10), "
                          "price double precision, done boolean NOT NULL DEFAULT false, "
                          "body text, picture bytea, data bytea)");
        Db.ExecSQL("COMMENT ON COLUMN notes.picture IS 'graphic: a scanned page'");
        // Inserted out of key order: the table shows them in key order.
        Db.ExecSQL("INSERT INTO notes (id, title, price, done, body, data) VALUES "
                   "(3, 'third', 3.5, true, 'three', '\\xff'), "
                   "(1, 'first', 1.5, false, 'one', '\\x0001'), "
                   "(2, 'second', 2.5, false, 'two', NULL)");
        Table.SetDatabase(&Db);
        Table.SetTableName("notes");
    }
    std::string Stored(const std::string& Column, int64_t Id) {
        const TPGResult r =
            Db.Execute("SELECT " + Column + " FROM notes WHERE id = $1", {{Id}}, true);
        EXPECT_EQ(r.RowCount(), 1);
        return r.RowCount() == 1 ? r.Value(0, 0) : "";
    }
    TPGTable Table{nullptr};
};

TEST_F(NotesTable, ColumnsComeFromTheCatalogue) {
    Table.FieldDefs().Update();
    ASSERT_EQ(Table.FieldDefs().Count(), 7);
    EXPECT_EQ(Table.FieldDefs().Items(1).Size, 10);
    EXPECT_TRUE(Table.FieldDefs().Items(0).Required);
    EXPECT_FALSE(Table.FieldDefs().Items(1).Required);
    Table.Open();
    EXPECT_EQ(Table.KeyFields(), std::vector<std::string>{"id"});
    const std::pair<const char*, const char*> classes[] = {
        {"id", "TIntegerField"},   {"title", "TStringField"}, {"price", "TFloatField"},
        {"done", "TIntegerField"}, {"body", "TMemoField"},    {"picture", "TGraphicField"},
        {"data", "TBlobField"}};
    for (const auto& [name, className] : classes)
        EXPECT_EQ(Table.FieldByName(name).ClassName(), className) << name;
}

TEST_F(NotesTable, NavigatesInKeyOrder) {
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 3);
    std::vector<std::string> titles;
    for (; !Table.Eof(); Table.Next())
        titles.push_back(Table.FieldByName("title").AsString());
    EXPECT_EQ(titles, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(Table.FieldByName("done").AsInteger(), 1);
    EXPECT_EQ(Table.FieldByName("data").AsString(), "\xff");
    Table.Prior();
    EXPECT_EQ(Table.FieldByName("price").AsFloat(), 2.5);
    EXPECT_TRUE(Table.FieldByName("data").IsNull());
    Table.First();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "one");
    EXPECT_EQ(Table.FieldByName("data").AsString(), std::string("\x00\x01", 2));
}

TEST_F(NotesTable, EditPostCancelInsertDelete) {
    Table.Open();
    Table.Edit();
    Table.FieldByName("title").SetAsString("changed but far too long");
    Table.FieldByName("done").SetAsInteger(1);
    Table.FieldByName("price").SetAsFloat(0.1);
    Table.Post();
    EXPECT_EQ(Table.FieldByName("title").AsString(), "changed bu");
    EXPECT_EQ(Stored("done::text", 1), "true");
    EXPECT_EQ(Table.FieldByName("price").AsFloat(), 0.1); // the float's shortest text, exact
    Table.Edit();
    Table.FieldByName("title").SetAsString("dropped");
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName("title").AsString(), "changed bu");

    Table.Append();
    Table.FieldByName("id").SetAsInteger(0);
    Table.FieldByName("body").SetAsString("zero");
    Table.Post();
    EXPECT_EQ(Table.RecordCount(), 4);
    EXPECT_EQ(Table.RecNo(), 1); // its place by key
    EXPECT_EQ(Table.FieldByName("body").AsString(), "zero");
    EXPECT_TRUE(Table.FieldByName("title").IsNull());
    EXPECT_EQ(Table.FieldByName("done").AsInteger(), 0); // the column's default

    Table.Next();
    Table.Delete();
    EXPECT_EQ(Table.RecordCount(), 3);
    EXPECT_EQ(Table.FieldByName("id").AsInteger(), 2);
    const TPGResult ids = Db.Execute("SELECT string_agg(id::text, ',' ORDER BY id) FROM notes");
    EXPECT_EQ(ids.Value(0, 0), "0,2,3");
}

TEST_F(NotesTable, EveryByteSurvivesBytea) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    Table.Open();
    Table.Edit();
    Table.FieldByName("data").SetAsString(bytes + bytes);
    Table.Post();
    EXPECT_EQ(Stored("data", 1), bytes + bytes);
    EXPECT_EQ(Stored("length(data)", 1).size(), 4u); // an int4 in binary format
    Table.Close();
    Table.Open();
    EXPECT_EQ(Table.FieldByName("data").AsString(), bytes + bytes);
    // A text column cannot take a zero byte: refused, not cut.
    Table.Edit();
    Table.FieldByName("body").SetAsString(std::string("a\0b", 3));
    EXPECT_THROW(Table.Post(), EDatabaseError);
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "one");
}

TEST_F(NotesTable, CachedBlobsFollowTheRowVersion) {
    Table.Open();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "one");
    TPGDatabase other(nullptr);
    other.SetConnectionString(Db.ConnectionString());
    other.ExecSQL("UPDATE notes SET body = 'outside' WHERE id = 1");
    Table.Next();
    Table.First();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "outside");
}

TEST_F(NotesTable, ErrorsCarryTheServersMessages) {
    Table.Open();
    Table.Append();
    Table.FieldByName("title").SetAsString("no id");
    try {
        Table.Post();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("not-null"), std::string::npos) << e.what();
    }
    Table.Cancel();

    TPGTable missing(nullptr);
    missing.SetDatabase(&Db);
    missing.SetTableName("nothing");
    EXPECT_THROW(missing.Open(), EDatabaseError);
    Recreate("nokey", "CREATE TABLE nokey (a integer)");
    missing.SetTableName("nokey");
    try {
        missing.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Table nokey has no primary key: its rows cannot be told apart");
    }
    EXPECT_FALSE(missing.Active());
    try {
        Db.ExecSQL("SELEKT 1");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "syntax error at or near \"SELEKT\"");
    }
    EXPECT_TRUE(Db.Connected());

    TPGDatabase nowhere(nullptr);
    nowhere.SetConnectionString("host=/nonexistent port=1 user=zorp");
    EXPECT_THROW(nowhere.Open(), EDatabaseError);
    EXPECT_FALSE(nowhere.Connected());
}

TEST_F(NotesTable, ConnectsByUriToo) {
    // The same server as a URI: "host=DIR port=P ..." becomes postgresql://zorp@/postgres?...
    std::string host;
    std::string port;
    std::istringstream words(Db.ConnectionString());
    for (std::string word; words >> word;) {
        if (word.rfind("host=", 0) == 0)
            host = word.substr(5);
        if (word.rfind("port=", 0) == 0)
            port = word.substr(5);
    }
    TPGDatabase uri(nullptr);
    uri.SetConnectionString("postgresql://zorp@/postgres?host=" + host + "&port=" + port);
    EXPECT_EQ(uri.Execute("SELECT count(*) FROM notes").Value(0, 0), "3");
    EXPECT_EQ(uri.Execute("SHOW client_encoding").Value(0, 0), "UTF8");
    uri.Close();
    EXPECT_FALSE(uri.Connected());
}

TEST_F(NotesTable, TransactionsCommitAndRollBack) {
    Db.StartTransaction();
    EXPECT_TRUE(Db.InTransaction());
    Db.ExecSQL("DELETE FROM notes");
    Db.Rollback();
    EXPECT_FALSE(Db.InTransaction());
    Db.StartTransaction();
    Db.ExecSQL("DELETE FROM notes WHERE id = 3");
    Db.Commit();
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 2);
}

} // namespace
} // namespace zorp::test
