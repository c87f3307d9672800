// Data-set actions run on the data-aware controls: the focused control
// passes an action it has no use for to its data link, so "post" and
// "cancel" work on the record the user is editing in it.
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/Forms.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/DataSetActions.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorp::test {
namespace {

using namespace zorp::fw;

// An action that works on any target and records where it ran.
class AnyTargetAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    std::vector<TObject*> Targets;
    bool HandlesTarget(TObject*) override { return true; }
    void ExecuteTarget(TObject* Target) override { Targets.push_back(Target); }
};

class ActionForm : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "a.db");
        Db.ExecSQL("CREATE TABLE docs (id INTEGER, body TEXT, rich RICHTEXT, pic GRAPHIC)");
        Db.ExecSQL("INSERT INTO docs (id, body, rich) VALUES (1, 'first', 'rich one')");
        Form = std::make_unique<TForm>(nullptr);
        Table = new TSQLiteTable(Form.get());
        Table->SetDatabase(&Db);
        Table->SetTableName("docs");
        Source = new TDataSource(Form.get());
        Source->SetDataSet(Table);
        Zorp = new TZorp(Form.get());
        Memo = new TCDBMemo(Form.get());
        Memo->SetName("Memo");
        Rich = new TCDBRichEdit(Form.get());
        Rich->SetName("Rich");
        Image = new TCDBImage(Form.get());
        Image->SetName("Image");
        Bind(*Memo, "body");
        Bind(*Rich, "rich");
        Bind(*Image, "pic");
        Unbound = new TCDBMemo(Form.get());
        Unbound->SetParent(Form.get());
        Form->Show();
        Table->Open();
    }
    template <class Control> void Bind(Control& C, const std::string& Column) {
        C.SetParent(Form.get());
        C.SetCompressSource(Zorp);
        C.SetCompressionMethod(coLZH5);
        C.SetDataSource(Source);
        C.SetDataField(Column);
    }
    std::string Stored(const std::string& Column) {
        TStatement s(Db, "SELECT " + Column + " FROM docs WHERE id = 1");
        EXPECT_TRUE(s.Step());
        return VarToStr(s.Column(0));
    }
    TWinControl& Focused() { return *Form->ActiveControl(); }

    TempDir Dir;
    TDatabase Db{nullptr};
    std::unique_ptr<TForm> Form;
    TSQLiteTable* Table = nullptr;
    TDataSource* Source = nullptr;
    TZorp* Zorp = nullptr;
    TCDBMemo* Memo = nullptr;
    TCDBRichEdit* Rich = nullptr;
    TCDBImage* Image = nullptr;
    TCDBMemo* Unbound = nullptr;
};

TEST_F(ActionForm, PostOnTheFocusedMemoStoresTheTypedText) {
    TDataSetPost post(nullptr);
    Form->SetActiveControl(Memo);
    EXPECT_TRUE(Focused().UpdateAction(&post));
    EXPECT_FALSE(post.Enabled()); // nothing to post while browsing
    Memo->SetSelStart(5);
    TypeText(*Memo, " edit");
    EXPECT_TRUE(Focused().UpdateAction(&post));
    EXPECT_TRUE(post.Enabled());
    // The memo keeps the focus: only the action writes the record.
    EXPECT_TRUE(Focused().ExecuteAction(&post));
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(Stored("body"), Zorp->CompressString("first edit", coLZH5));
    EXPECT_EQ(Memo->Text(), "first edit");
    EXPECT_TRUE(Focused().UpdateAction(&post));
    EXPECT_FALSE(post.Enabled());
}

TEST_F(ActionForm, CancelOnTheRichEditThrowsTheEditAway) {
    TDataSetCancel cancel(nullptr);
    Form->SetActiveControl(Rich);
    TypeText(*Rich, "x");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_TRUE(Focused().UpdateAction(&cancel));
    EXPECT_TRUE(cancel.Enabled());
    EXPECT_TRUE(Focused().ExecuteAction(&cancel));
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(Rich->Text(), "rich one");
    EXPECT_EQ(Stored("rich"), "rich one");
}

TEST_F(ActionForm, PostOnTheImageStoresThePastedPicture) {
    TBitmap red;
    red.SetSize(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            red.SetPixel(x, y, clRed);
    Clipboard().Assign(red);
    Form->SetActiveControl(Image);
    PressKey(*Image, 'V', ssCtrl);
    ASSERT_EQ(Table->State(), dsEdit);
    TDataSetPost post(nullptr);
    EXPECT_TRUE(Focused().ExecuteAction(&post));
    EXPECT_EQ(Table->State(), dsBrowse);
    const std::string stored = Stored("pic");
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(Zorp->ExpandString(stored).substr(8, 2), "BM"); // behind the graphic header
}

TEST_F(ActionForm, ControlWithoutDataSourceDoesNotHandleDataSetActions) {
    Table->Edit();
    TDataSetPost post(nullptr);
    post.SetEnabled(false);
    EXPECT_FALSE(Unbound->ExecuteAction(&post));
    EXPECT_FALSE(Unbound->UpdateAction(&post));
    EXPECT_EQ(Table->State(), dsEdit); // not posted
    EXPECT_FALSE(post.Enabled());      // not updated
    // Nor does a data source without a data set.
    TDataSource empty(nullptr);
    Unbound->SetDataSource(&empty);
    EXPECT_FALSE(Unbound->ExecuteAction(&post));
    EXPECT_EQ(Table->State(), dsEdit);
}

TEST_F(ActionForm, TheControlComesBeforeItsDataLink) {
    for (TWinControl* control : std::vector<TWinControl*>{Memo, Rich, Image}) {
        AnyTargetAction action(nullptr);
        EXPECT_TRUE(control->ExecuteAction(&action));
        ASSERT_EQ(action.Targets.size(), 1u);
        EXPECT_EQ(action.Targets[0], control); // the data source was not offered
    }
}

} // namespace
} // namespace zorp::test
