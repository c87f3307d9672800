// The compressed memo driven as a user drives it: a form over a real
// SQLite table, keys, clicks, focus moves and posting.
#include "dbcontrols/CDBMemo.h"
#include "BoundForm.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Forms.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

using namespace zorp::fw;

class MemoForm : public BoundForm<TCDBMemo> {
protected:
    void SetUp() override {
        Build({"CREATE TABLE notes (id INTEGER, title VARCHAR(20), body TEXT)",
               "INSERT INTO notes VALUES (1, 'one', 'first body'), (2, 'two', 'second body')",
               "notes", "body", "Notes", "CDBMemo1", coLZH5, false});
        Memo = Control;
    }
    TCDBMemo* Memo = nullptr;
};

TEST_F(MemoForm, BindsACompressedFieldAndShowsTheText) {
    ASSERT_NE(Memo->CompressedField(), nullptr);
    EXPECT_EQ(Memo->CompressedField()->Name(), "CDBMemo1body");
    Table->Open();
    EXPECT_EQ(Memo->Text(), "first body"); // stored plain: read as it is
    Table->Next();
    EXPECT_EQ(Memo->Text(), "second body");
    EXPECT_TRUE(Memo->TCustomMemo::ReadOnly()); // browsing
}

TEST_F(MemoForm, FreeingTheDataSourceFreesTheAttachedField) {
    ASSERT_NE(Memo->CompressedField(), nullptr);
    delete Source;
    Source = nullptr;
    EXPECT_EQ(Memo->DataSource(), nullptr);
    EXPECT_EQ(Memo->CompressedField(), nullptr);
    EXPECT_EQ(Form->FindComponent("CDBMemo1body"), nullptr);
    EXPECT_EQ(Table->FieldCount(), 0);
    Table->Open(); // default fields again, none of them compressed
    EXPECT_EQ(dynamic_cast<TCBlobField*>(Table->FindField("body")), nullptr);
}

TEST_F(MemoForm, TypingEditsAndPostingStoresCompressed) {
    Table->Open();
    Form->SetActiveControl(Memo);
    Memo->SetSelStart(static_cast<int32_t>(Memo->Text().size()));
    TypeText(*Memo, " and more");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Memo->Text(), "first body and more");
    // Leaving the memo does not write a BLOB column.
    Form->SetActiveControl(Other);
    EXPECT_EQ(Stored(), "first body");
    Table->Post();
    EXPECT_EQ(Stored(), Zorp->CompressString("first body and more", coLZH5));
    EXPECT_EQ(Memo->Text(), "first body and more");
}

TEST_F(MemoForm, EscapeUndoesAndInsertNeedsShift) {
    Table->Open();
    Form->SetActiveControl(Memo);
    PressKey(*Memo, VK_INSERT);
    EXPECT_EQ(Table->State(), dsBrowse);
    PressKey(*Memo, VK_INSERT, ssShift);
    EXPECT_EQ(Table->State(), dsEdit);
    TypeText(*Memo, "x");
    EXPECT_NE(Memo->Text(), "first body");
    PressKey(*Memo, VK_ESCAPE);
    EXPECT_EQ(Memo->Text(), "first body");
}

TEST_F(MemoForm, AutoDisplayOffShowsTheLabelUntilAsked) {
    Memo->SetAutoDisplay(false);
    Table->Open();
    EXPECT_EQ(Memo->Text(), "(body)");
    EXPECT_TRUE(Memo->TCustomMemo::ReadOnly());
    Form->SetActiveControl(Memo);
    TypeText(*Memo, "ignored");
    EXPECT_EQ(Memo->Text(), "(body)");
    PressKey(*Memo, VK_RETURN);
    EXPECT_EQ(Memo->Text(), "first body");
    Table->Next();
    EXPECT_EQ(Memo->Text(), "(body)");
    DoubleClickControl(*Memo);
    EXPECT_EQ(Memo->Text(), "second body");
}

TEST_F(MemoForm, PlainColumnIsWrittenWhenTheFocusLeaves) {
    // Without a CompressSource the memo works on the data link's own field.
    auto* table = new TSQLiteTable(Form.get());
    table->SetDatabase(&Db);
    table->SetTableName("notes");
    auto* source = new TDataSource(Form.get());
    source->SetDataSet(table);
    auto* plain = new TCDBMemo(Form.get());
    plain->SetParent(Form.get());
    plain->SetDataSource(source);
    plain->SetDataField("title");
    EXPECT_EQ(plain->CompressedField(), nullptr);
    table->Open();
    EXPECT_EQ(plain->Text(), "one");
    Form->SetActiveControl(plain);
    plain->SetSelStart(3);
    TypeText(*plain, "!");
    Form->SetActiveControl(Other);
    EXPECT_EQ(table->FieldByName("title").AsString(), "one!");
}

// What a control paints, and how many of its pixels are not white.
std::unique_ptr<TBitmap> Painted(TWinControl& Control) {
    auto painted = std::make_unique<TBitmap>();
    Control.PaintToBitmap(*painted);
    return painted;
}

int Ink(const TBitmap& Bitmap) {
    int ink = 0;
    for (int32_t y = 0; y < Bitmap.Height(); ++y)
        for (int32_t x = 0; x < Bitmap.Width(); ++x)
            ink += Bitmap.Pixel(x, y) != clWhite ? 1 : 0;
    return ink;
}

bool SamePixels(const TBitmap& A, const TBitmap& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return false;
    for (int32_t y = 0; y < A.Height(); ++y)
        for (int32_t x = 0; x < A.Width(); ++x)
            if (A.Pixel(x, y) != B.Pixel(x, y))
                return false;
    return true;
}

TEST_F(MemoForm, PaintedCopyShowsTheStoredTextNotTheEdit) {
    Memo->SetBounds(0, 0, 120, 40);
    Table->Open();
    Table->Edit();
    Memo->CompressedField()->SetAsString("alpha\nbeta"); // stored compressed, LF only
    Table->Post();
    ASSERT_EQ(Stored(), Zorp->CompressString("alpha\nbeta", coLZH5));
    Form->SetActiveControl(Memo);
    TypeText(*Memo, "zz"); // an edit not posted yet
    const std::string edited = Memo->Text();
    ASSERT_EQ(edited.substr(0, 7), "zzalpha");

    // A memo that shows the stored value: what the copy must look like.
    auto* reference = new TCustomMemo(Form.get());
    reference->SetParent(Form.get());
    reference->SetBounds(0, 0, 120, 40);
    reference->SetText("alpha\r\nbeta");
    const auto expected = Painted(*reference);
    ASSERT_GT(Ink(*expected), 0);

    EXPECT_FALSE(SamePixels(*Painted(*Memo), *expected)); // the edit itself
    Memo->SetControlState(Memo->ControlState() | csPaintCopy);
    EXPECT_TRUE(SamePixels(*Painted(*Memo), *expected));
    EXPECT_EQ(Memo->Text(), edited); // the copy leaves the edit alone

    Memo->SetAutoDisplay(false); // a copy then shows the label
    reference->SetText("(body)");
    EXPECT_TRUE(SamePixels(*Painted(*Memo), *Painted(*reference)));
}

TEST(CDBMemoDesign, ShowsItsNameWithoutAField) {
    TForm form(nullptr);
    auto* memo = new TCDBMemo(&form);
    memo->SetName("CDBMemo7");
    form.SetDesigning(true);
    memo->BeginLoading();
    memo->EndLoading();
    EXPECT_EQ(memo->Text(), "CDBMemo7");
}

} // namespace
} // namespace zorp::test
