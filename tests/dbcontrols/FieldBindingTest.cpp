// The binding of compressed data-aware controls: finding, creating,
// attaching, adopting and releasing compressed fields, and its messages.
#include "dbcontrols/FieldBinding.h"
#include "framework/controls/Dialogs.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

TEST(FieldIdentifier, KeepsLettersUnderscoresAndLaterDigits) {
    EXPECT_EQ(FieldIdentifier("Notes"), "Notes");
    EXPECT_EQ(FieldIdentifier("Order No."), "OrderNo");
    EXPECT_EQ(FieldIdentifier("1st"), "st");
    EXPECT_EQ(FieldIdentifier("#1"), "_1");
    EXPECT_EQ(FieldIdentifier("$$"), "_");
    EXPECT_EQ(FieldIdentifier("a1_b2"), "a1_b2");
}

// A control stand-in: a component with a data link and a memo binding.
class Binding : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "b.db");
        Db.ExecSQL("CREATE TABLE t (id INTEGER, notes TEXT, pic GRAPHIC)");
        Db.ExecSQL("INSERT INTO t (id, notes) VALUES (1, 'hello')");
        Table = new fw::TSQLiteTable(&Form);
        Table->SetName("Table1");
        Table->SetDatabase(&Db);
        Table->SetTableName("t");
        Source = new fw::TDataSource(&Form);
        Source->SetDataSet(Table);
        Zorp = new TZorp(&Form);
        Control = new fw::TComponent(&Form);
        Control->SetName("CDBMemo1");
        Link = std::make_unique<fw::TFieldDataLink>();
        Bind = std::make_unique<TFieldBinding>(
            *Control, *Link, [](fw::TComponent* owner) { return new TCMemoField(owner); },
            [](fw::TField* f) { return dynamic_cast<TCMemoField*>(f) != nullptr; });
        Previous = fw::SetShowMessageHandler([this](const std::string& m) { Shown.push_back(m); });
    }
    void TearDown() override {
        Bind.reset();
        Link.reset();
        fw::SetShowMessageHandler(Previous);
    }
    void BindTo(const std::string& column) {
        Bind->SetCompressSource(Zorp);
        Bind->SetDataSource(Source);
        Bind->SetDataField(column);
    }

    TempDir Dir;
    fw::TComponent Form{nullptr};
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable* Table = nullptr;
    fw::TDataSource* Source = nullptr;
    TZorp* Zorp = nullptr;
    fw::TComponent* Control = nullptr;
    std::unique_ptr<fw::TFieldDataLink> Link;
    std::unique_ptr<TFieldBinding> Bind;
    std::vector<std::string> Shown;
    fw::TShowMessageHandler Previous;
};

TEST_F(Binding, CreatesANamedFieldOnAClosedTable) {
    Bind->SetCompressionMethod(coLZH);
    BindTo("Notes");
    TCBlobField* field = Bind->CompressedField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->Name(), "CDBMemo1Notes");
    EXPECT_EQ(field->Owner(), &Form);
    EXPECT_EQ(field->DataSet(), Table);
    EXPECT_EQ(field->CompressSource(), Zorp);
    EXPECT_EQ(field->CompressionMethod(), coLZH);
    Table->Open();
    EXPECT_EQ(Table->FindField("notes"), field);
    EXPECT_EQ(field->AsString(), "hello");
    Bind->SetCompressionMethod(coRLE); // passed on to the field
    EXPECT_EQ(field->CompressionMethod(), coRLE);
    EXPECT_TRUE(Shown.empty());
}

TEST_F(Binding, MissingColumnIsReportedAndUnbinds) {
    BindTo("Remarks");
    EXPECT_EQ(Shown, (std::vector<std::string>{"Can't find field: Remarks"}));
    EXPECT_EQ(Link->FieldName(), "");
    EXPECT_EQ(Bind->CompressedField(), nullptr);
    EXPECT_EQ(Table->FieldCount(), 0);
}

TEST_F(Binding, PlainFieldIsNeverReplaced) {
    Table->Open(); // default (plain) fields
    BindTo("notes");
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], "TZorp warning: Table1 already has a non-compressed\rfield called 'notes'."
                        "\r\rDouble-click on Table1, remove the existing field, and try again.");
    EXPECT_EQ(Link->FieldName(), "");
    EXPECT_EQ(Bind->CompressedField(), nullptr);
}

TEST_F(Binding, AdoptsAFieldOfItsOwnClassAsItIs) {
    auto* existing = new TCMemoField(&Form);
    existing->SetName("Kept");
    existing->SetFieldName("notes");
    existing->SetCompressionMethod(coLZH5);
    existing->SetDataSet(Table);
    BindTo("notes");
    EXPECT_EQ(Bind->CompressedField(), existing);
    EXPECT_EQ(existing->CompressSource(), nullptr); // its own settings stay
    EXPECT_EQ(existing->CompressionMethod(), coLZH5);
    // A graphic field is not the memo's class: warning, unbound.
    auto* picture = new TCGraphicField(&Form);
    picture->SetFieldName("pic");
    picture->SetDataSet(Table);
    Bind->SetDataField("pic");
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Link->FieldName(), "");
    // The adopted field stays with the data set.
    EXPECT_EQ(Table->FindField("notes"), existing);
}

TEST_F(Binding, WithoutCompressSourceNothingBindsUntilAskedAgain) {
    Bind->SetDataSource(Source);
    Bind->SetDataField("notes");
    EXPECT_EQ(Bind->CompressedField(), nullptr);
    Bind->SetCompressSource(Zorp);
    EXPECT_EQ(Bind->CompressedField(), nullptr);
    Bind->SetDataField("notes");
    EXPECT_NE(Bind->CompressedField(), nullptr);
}

TEST_F(Binding, RemovingTheComponentOrTheDataSource) {
    BindTo("notes");
    TCBlobField* field = Bind->CompressedField();
    Control->FreeNotification(Zorp);
    // The form tells every component; the control forwards to its binding.
    Bind->Notification(Zorp, fw::opRemove);
    delete Zorp;
    EXPECT_EQ(Bind->CompressSource(), nullptr);
    EXPECT_EQ(field->CompressSource(), nullptr);

    Bind->Notification(Source, fw::opRemove);
    EXPECT_EQ(Bind->CompressedField(), nullptr);
    EXPECT_EQ(Table->FindField("notes"), nullptr); // the attached field was freed
}

TEST_F(Binding, DatabaseErrorsReleaseTheFieldAndPropagate) {
    auto* other = new fw::TIntegerField(&Form);
    other->SetFieldName("id");
    other->SetDataSet(Table);
    Table->Open(); // persistent fields without the column
    Bind->SetCompressSource(Zorp);
    Bind->SetDataSource(Source);
    EXPECT_THROW(Bind->SetDataField("notes"), fw::EDatabaseError);
    EXPECT_EQ(Bind->CompressedField(), nullptr);
}

} // namespace
} // namespace zorp::test
