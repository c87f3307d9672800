// Right-to-left alignment of the compressed memo and rich-text controls:
// where their text is painted in a Middle East locale and elsewhere, for a
// right-to-left and a left-to-right BiDiMode, and for a centred field.
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "dbcontrols/DBAlignment.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Forms.h"
#include "framework/controls/SysLocale.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorp::test {
namespace {

using namespace zorp::fw;

// The leftmost and rightmost columns painted in another colour than white.
struct TInk {
    int32_t Left = -1;
    int32_t Right = -1;
};

TInk InkOf(TWinControl& Control) {
    TBitmap painted;
    Control.PaintToBitmap(painted);
    TInk ink;
    for (int32_t y = 0; y < painted.Height(); ++y)
        for (int32_t x = 0; x < painted.Width(); ++x)
            if (painted.Pixel(x, y) != clWhite) {
                ink.Left = ink.Left < 0 ? x : std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
            }
    return ink;
}

class RightToLeft : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "rtl.db");
        Db.ExecSQL("CREATE TABLE docs (id INTEGER, body TEXT, rich RICHTEXT)");
        Db.ExecSQL("INSERT INTO docs VALUES (1, 'abc', 'xyz')");
        Form = std::make_unique<TForm>(nullptr);
        Table = new TSQLiteTable(Form.get());
        Table->SetDatabase(&Db);
        Table->SetTableName("docs");
        auto* source = new TDataSource(Form.get());
        source->SetDataSet(Table);
        auto* zorp = new TZorp(Form.get());
        Memo = new TCDBMemo(Form.get());
        Rich = new TCDBRichEdit(Form.get());
        for (TWinControl* c : std::vector<TWinControl*>{Memo, Rich}) {
            c->SetParent(Form.get());
            c->SetBounds(0, 0, 200, 40);
            c->SetBiDiMode(bdRightToLeft);
        }
        Memo->SetCompressSource(zorp);
        Memo->SetDataSource(source);
        Memo->SetDataField("body");
        Rich->SetCompressSource(zorp);
        Rich->SetDataSource(source);
        Rich->SetDataField("rich");
        Form->Show();
        Table->Open();
    }
    void TearDown() override { SysLocale() = Saved; }

    TSysLocale Saved = SysLocale();
    TempDir Dir;
    TDatabase Db{nullptr};
    std::unique_ptr<TForm> Form;
    TSQLiteTable* Table = nullptr;
    TCDBMemo* Memo = nullptr;
    TCDBRichEdit* Rich = nullptr;
};

TEST_F(RightToLeft, OutsideTheMiddleEastTextStaysLeft) {
    SysLocale().MiddleEast = false;
    for (TWinControl* c : std::vector<TWinControl*>{Memo, Rich}) {
        EXPECT_FALSE(c->UseRightToLeftAlignment());
        const TInk ink = InkOf(*c);
        ASSERT_GE(ink.Left, 0);
        EXPECT_LT(ink.Left, 5);
        EXPECT_LT(ink.Right, 100);
    }
}

TEST_F(RightToLeft, InTheMiddleEastRightToLeftTextMovesRight) {
    SysLocale().MiddleEast = true;
    for (TWinControl* c : std::vector<TWinControl*>{Memo, Rich}) {
        EXPECT_TRUE(c->UseRightToLeftAlignment());
        const TInk ink = InkOf(*c);
        EXPECT_GT(ink.Left, 100);
        EXPECT_GT(ink.Right, 190);
        c->SetBiDiMode(bdLeftToRight);
        EXPECT_FALSE(c->UseRightToLeftAlignment());
        EXPECT_LT(InkOf(*c).Left, 5);
    }
}

TEST_F(RightToLeft, ACentredFieldIsNotMirrored) {
    SysLocale().MiddleEast = true;
    Memo->Field()->SetAlignment(taCenter);
    EXPECT_FALSE(Memo->UseRightToLeftAlignment());
    EXPECT_LT(InkOf(*Memo).Left, 5); // the memo's own left alignment stands
    Memo->Field()->SetAlignment(taRightJustify);
    EXPECT_TRUE(Memo->UseRightToLeftAlignment());
}

TEST(DBUseRightToLeftAlignment, WithoutAFieldCountsAsLeftJustified) {
    const TSysLocale saved = SysLocale();
    TForm form(nullptr);
    auto* memo = new TCDBMemo(&form);
    memo->SetBiDiMode(bdRightToLeft);
    SysLocale().MiddleEast = true;
    EXPECT_TRUE(DBUseRightToLeftAlignment(*memo, nullptr));
    memo->SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_FALSE(DBUseRightToLeftAlignment(*memo, nullptr));
    SysLocale().MiddleEast = false;
    memo->SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(DBUseRightToLeftAlignment(*memo, nullptr));
    SysLocale() = saved;
}

} // namespace
} // namespace zorp::test
