// A PostgreSQL table shared by two clients: compressed fields and a bound
// memo control work over it unchanged, and a post or delete of a row that the
// other client changed or deleted meanwhile is refused.
#include "component/Zorp.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CompressedFields.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Picture.h"
#include "framework/db/DataSource.h"
#include "framework/db/PGTable.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"
#include "tests/pg/PGServer.h"

namespace zorp::test {
namespace {

using namespace zorp::fw;

class SharedTable : public PGTest {
protected:
    void SetUp() override {
        PGTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Recreate("t", "CREATE TABLE t (id serial PRIMARY KEY, title varchar(20), memo bytea, "
                      "pic bytea, raw bytea)");
        Db.ExecSQL("COMMENT ON COLUMN t.pic IS 'graphic'");
        Db.ExecSQL("INSERT INTO t (title, memo) VALUES ('a', 'plain'), ('b', NULL)");
        Table.SetDatabase(&Db);
        Table.SetTableName("t");
        Other.SetConnectionString(Db.ConnectionString());
        OtherTable.SetDatabase(&Other);
        OtherTable.SetTableName("t");
    }
    std::string Stored(const std::string& Column, int64_t Id) {
        const TPGResult r = Db.Execute("SELECT " + Column + " FROM t WHERE id = $1", {{Id}}, true);
        return r.RowCount() == 1 ? r.Value(0, 0) : "(no row)";
    }
    template <class F> F* Compressed(const std::string& Column, TZorpMethod Method) {
        auto* field = new F(&Owner);
        field->SetFieldName(Column);
        field->SetCompressSource(&Zorp);
        field->SetCompressionMethod(Method);
        field->SetDataSet(&Table);
        return field;
    }

    TZorp Zorp{nullptr};
    TComponent Owner{nullptr};
    TPGTable Table{nullptr};
    TPGDatabase Other{nullptr};
    TPGTable OtherTable{nullptr};
};

TEST_F(SharedTable, CompressedFieldsStoreWhatCompressStringWrites) {
    auto* memo = Compressed<TCMemoField>("memo", coLZH5);
    auto* pic = Compressed<TCGraphicField>("pic", coLZH);
    auto* raw = Compressed<TCBlobField>("raw", coRLE);
    Table.Open();
    EXPECT_EQ(memo->AsString(), "plain"); // stored plain: read as it is
    const std::string text = TextLines(20000, 3);
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(40, static_cast<char>(b));
    TBitmap bitmap;
    bitmap.SetSize(6, 4);
    bitmap.SetPixel(2, 1, 0x0000FF00);
    Table.Edit();
    memo->SetAsString(text);
    pic->Assign(bitmap);
    raw->SetAsString(bytes);
    Table.Post();

    EXPECT_EQ(Stored("memo", 1), Zorp.CompressString(text, coLZH5));
    EXPECT_LT(Stored("memo", 1).size(), text.size() / 3);
    EXPECT_EQ(Stored("pic", 1), Zorp.CompressString(pic->AsString(), coLZH));
    EXPECT_EQ(Stored("raw", 1), Zorp.CompressString(bytes, coRLE));
    Table.Close();
    Table.Open();
    EXPECT_EQ(memo->AsString(), text);
    EXPECT_EQ(memo->BlobSize(), static_cast<int32_t>(text.size()));
    EXPECT_EQ(raw->AsString(), bytes);
    TPicture picture;
    pic->AssignTo(picture);
    EXPECT_EQ(picture.Bitmap().Width(), 6);
    EXPECT_EQ(picture.Bitmap().Pixel(2, 1), 0x0000FF00u);
}

TEST_F(SharedTable, MemoControlTypesAndPostsCompressed) {
    TForm form(nullptr);
    TDataSource source(nullptr);
    source.SetDataSet(&Table);
    auto* control = new TCDBMemo(&form);
    control->SetParent(&form);
    control->SetCompressSource(&Zorp);
    control->SetCompressionMethod(coLZH5);
    control->SetDataSource(&source);
    control->SetDataField("memo");
    form.Show();
    Table.Open();
    EXPECT_EQ(control->Text(), "plain");
    form.SetActiveControl(control);
    control->SetSelStart(5);
    TypeText(*control, " and typed");
    Table.Post();
    EXPECT_EQ(Stored("memo", 1), Zorp.CompressString("plain and typed", coLZH5));
    Table.Next();
    EXPECT_EQ(control->Text(), "");
    Table.Close();
}

TEST_F(SharedTable, SecondPostOfTheSameRowIsRefused) {
    Table.Open();
    OtherTable.Open();
    Table.Edit();
    OtherTable.Edit();
    Table.FieldByName("title").SetAsString("first client");
    OtherTable.FieldByName("title").SetAsString("second client");
    Table.Post();
    try {
        OtherTable.Post();
        FAIL() << "the second post went through";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Record changed by another user");
    }
    EXPECT_EQ(OtherTable.State(), dsEdit); // the edit is kept for the user to decide
    EXPECT_EQ(Stored("title", 1), "first client");
    OtherTable.Cancel();
    EXPECT_EQ(OtherTable.FieldByName("title").AsString(), "first client");
    // Read again, the row can be changed.
    OtherTable.Edit();
    OtherTable.FieldByName("title").SetAsString("second client");
    OtherTable.Post();
    EXPECT_EQ(Stored("title", 1), "second client");
    // A delete of a row changed since it was read is refused too.
    EXPECT_THROW(Table.Delete(), EDatabaseError);
    EXPECT_EQ(Stored("title", 1), "second client");
}

TEST_F(SharedTable, RowDeletedByTheOtherClient) {
    Table.Open();
    OtherTable.Open();
    OtherTable.Delete();
    Table.Edit();
    Table.FieldByName("title").SetAsString("too late");
    try {
        Table.Post();
        FAIL() << "a deleted row was posted";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Record deleted by another user");
    }
    EXPECT_EQ(Stored("title", 1), "(no row)");
    EXPECT_EQ(OtherTable.RecordCount(), 1);
    // Rows the other client inserts show once the table is opened again.
    OtherTable.Append();
    OtherTable.FieldByName("title").SetAsString("new");
    OtherTable.Post();
    EXPECT_EQ(OtherTable.FieldByName("id").AsInteger(), 3); // from the sequence
    // The row is gone, so Cancel could not read it again: close instead.
    Table.Close();
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 2);
}

} // namespace
} // namespace zorp::test
