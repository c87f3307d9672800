// The data set layer over a real SQLite table: columns and fields,
// navigation, editing, BLOB streams and fetching, and errors.
#include "framework/db/BlobField.h"
#include "framework/db/BlobStream.h"
#include "support/TestFiles.h"
#include "tests/db/DbFixture.h"

namespace zorp::test {
namespace {

using namespace zorp::fw;

TEST_F(NotesDatabase, ColumnsBecomeTypedDefaultFields) {
    Table.FieldDefs().Update();
    ASSERT_EQ(Table.FieldDefs().Count(), 6);
    EXPECT_EQ(Table.FieldDefs().Items(1).DataType, ftString);
    EXPECT_EQ(Table.FieldDefs().Items(1).Size, 10);
    EXPECT_TRUE(Table.FieldDefs().Items(0).Required);
    Table.Open();
    EXPECT_EQ(Table.FieldByName("ID").ClassName(), "TIntegerField");
    EXPECT_EQ(Table.FieldByName("title").ClassName(), "TStringField");
    EXPECT_EQ(Table.FieldByName("price").ClassName(), "TFloatField");
    EXPECT_EQ(Table.FieldByName("body").ClassName(), "TMemoField");
    EXPECT_EQ(Table.FieldByName("picture").ClassName(), "TGraphicField");
    EXPECT_EQ(Table.FieldByName("data").ClassName(), "TBlobField");
    EXPECT_TRUE(dynamic_cast<TMemoField&>(Table.FieldByName("body")).Transliterate());
    EXPECT_EQ(Table.FindField("missing"), nullptr);
    EXPECT_THROW(Table.FieldByName("missing"), EDatabaseError);
    Table.Close();
    EXPECT_EQ(Table.FieldCount(), 0); // default fields go with the open data set
}

TEST_F(NotesDatabase, NavigatesInRowidOrder) {
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 3);
    EXPECT_TRUE(Table.Bof());
    std::vector<std::string> titles;
    for (; !Table.Eof(); Table.Next())
        titles.push_back(Table.FieldByName("title").AsString());
    EXPECT_EQ(titles, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(Table.RecNo(), 3);
    Table.Prior();
    EXPECT_EQ(Table.FieldByName("id").AsInteger(), 2);
    Table.First();
    EXPECT_EQ(Table.FieldByName("price").AsFloat(), 1.5);
    Table.Last();
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.FieldByName("body").AsString(), "three");
}

TEST_F(NotesDatabase, EditPostCancelInsertDelete) {
    Table.Open();
    EXPECT_THROW(Table.FieldByName("title").SetAsString("x"), EDatabaseError); // browsing
    Table.Edit();
    Table.FieldByName("title").SetAsString("changed but far too long");
    Table.Post();
    EXPECT_EQ(Table.FieldByName("title").AsString(), "changed bu"); // the column's size
    Table.Edit();
    Table.FieldByName("title").SetAsString("dropped");
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName("title").AsString(), "changed bu");

    Table.Append();
    Table.FieldByName("id").SetAsInteger(4);
    Table.FieldByName("body").SetAsString("four");
    Table.Post();
    EXPECT_EQ(Table.RecordCount(), 4);
    EXPECT_EQ(Table.FieldByName("body").AsString(), "four");
    EXPECT_TRUE(Table.FieldByName("title").IsNull());

    Table.First();
    Table.Delete();
    EXPECT_EQ(Table.RecordCount(), 3);
    EXPECT_EQ(Table.FieldByName("id").AsInteger(), 2);

    // What another connection sees.
    TDatabase other(nullptr);
    other.SetDatabaseName(Db.DatabaseName());
    TStatement count(other, "SELECT count(*), group_concat(title) FROM notes");
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(std::get<int64_t>(count.Column(0)), 3);
}

TEST_F(NotesDatabase, DatabaseErrorsCarrySqliteMessages) {
    Table.Open();
    Table.Append();
    Table.FieldByName("title").SetAsString("no id");
    try {
        Table.Post();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NOT NULL"), std::string::npos) << e.what();
    }
    Table.Cancel();
    TSQLiteTable missing(nullptr);
    missing.SetDatabase(&Db);
    missing.SetTableName("nothing");
    EXPECT_THROW(missing.Open(), EDatabaseError);
    EXPECT_FALSE(missing.Active());
    EXPECT_THROW(Db.ExecSQL("SELEKT 1"), EDatabaseError);
}

TEST_F(NotesDatabase, TypedAccessAndAccessErrors) {
    Table.Open();
    TField& title = Table.FieldByName("title");
    try {
        title.AsInteger();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot access field 'title' as type Integer");
    }
    EXPECT_TRUE(Table.FieldByName("id").IsValidChar('7'));
    EXPECT_FALSE(Table.FieldByName("id").IsValidChar('x'));
    Table.Edit();
    EXPECT_THROW(Table.FieldByName("id").SetAsString("12x"), EDatabaseError);
    Table.FieldByName("id").SetAsString("12");
    EXPECT_EQ(Table.FieldByName("id").AsInteger(), 12);
    EXPECT_EQ(Table.FieldByName("id").DisplayLabel(), "id");
    EXPECT_EQ(Table.FieldByName("data").DisplayText(), "(BLOB)");
    EXPECT_EQ(Table.FieldByName("body").DisplayText(), "one");
}

TEST_F(NotesDatabase, PersistentFieldsAttachOnlyWhileClosed) {
    TComponent form(nullptr);
    auto* body = new TMemoField(&form);
    body->SetFieldName("body");
    body->SetDataSet(&Table);
    Table.Open();
    EXPECT_EQ(Table.FieldCount(), 1); // no default fields beside persistent ones
    EXPECT_EQ(body->AsString(), "one");
    auto* late = new TStringField(&form);
    late->SetFieldName("title");
    EXPECT_THROW(late->SetDataSet(&Table), EDatabaseError);
    Table.Close();
    auto* wrong = new TStringField(&form);
    wrong->SetFieldName("no_such_column");
    wrong->SetDataSet(&Table);
    EXPECT_THROW(Table.Open(), EDatabaseError);
    EXPECT_FALSE(Table.Active());
}

TEST_F(NotesDatabase, BlobStreamsReadWriteAndLandWhenFreed) {
    Table.Open();
    TField& data = Table.FieldByName("data");
    {
        auto read = Table.CreateBlobStream(data, bmRead);
        EXPECT_EQ(read->Size(), 2);
    }
    EXPECT_THROW(Table.CreateBlobStream(data, bmWrite), EDatabaseError); // not editing
    Table.Edit();
    {
        auto write = Table.CreateBlobStream(data, bmWrite);
        write->WriteBuffer("new bytes", 9);
        EXPECT_EQ(data.AsString(), std::string("\x00\x01", 2)); // not yet
    }
    EXPECT_EQ(data.AsString(), "new bytes");
    EXPECT_TRUE(dynamic_cast<TBlobField&>(data).Modified());
    {
        auto rw = Table.CreateBlobStream(data, bmReadWrite);
        rw->Seek(0, soEnd);
        rw->WriteBuffer("!", 1);
    }
    EXPECT_EQ(data.AsString(), "new bytes!");
    Table.CreateBlobStream(data, bmWrite).reset(); // opened for write and freed: empty
    EXPECT_TRUE(data.IsNull());
    Table.Post();
    EXPECT_EQ(dynamic_cast<TBlobField&>(data).BlobSize(), 0);
}

TEST_F(NotesDatabase, BlobCachingSwitch) {
    for (const bool cache : {true, false}) {
        SCOPED_TRACE(cache);
        Table.SetCacheBlobs(cache);
        Table.Open();
        EXPECT_EQ(Table.FieldByName("body").AsString(), "one");
        TDatabase other(nullptr);
        other.SetDatabaseName(Db.DatabaseName());
        other.ExecSQL("UPDATE notes SET body = 'outside' WHERE id = 1");
        Table.Next();
        Table.First();
        EXPECT_EQ(Table.FieldByName("body").AsString(), cache ? "one" : "outside");
        other.ExecSQL("UPDATE notes SET body = 'one' WHERE id = 1");
        Table.Close();
    }
}

TEST_F(NotesDatabase, LargeValuesRoundTrip) {
    Table.Open();
    const std::string big = RandomBytes(5 * 1024 * 1024, 4);
    Table.Edit();
    Table.FieldByName("data").SetAsString(big);
    Table.Post();
    Table.Close();
    Table.Open();
    EXPECT_EQ(Table.FieldByName("data").AsString(), big);
}

} // namespace
} // namespace zorp::test
