// The compressed rich-text control on a real SQLite table.
#include "dbcontrols/CDBRichEdit.h"
#include "BoundForm.h"
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/Register.h"
#include "framework/base/ClassRegistry.h"
#include "framework/base/ResourceStream.h"
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

class RichForm : public BoundForm<TCDBRichEdit> {
protected:
    void SetUp() override {
        Build({"CREATE TABLE docs (id INTEGER, body RICHTEXT)",
               "INSERT INTO docs VALUES (1, 'plain start'), (2, NULL)", "docs", "body", "", "Rich",
               coLZH, true});
        Rich = Control;
    }
    TCDBRichEdit* Rich = nullptr;
};

TEST_F(RichForm, FirstKeyKeepsCaretAndExitWritesAtOnce) {
    EXPECT_EQ(Rich->Text(), "plain start");
    Form->SetActiveControl(Rich);
    Rich->SetSelStart(5);
    TypeText(*Rich, "X");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Rich->Text(), "plainX start"); // not reloaded when editing began
    Form->SetActiveControl(Other);
    // Written into the record on exit, as rich text, before any Post.
    const std::string value = Table->FieldByName("body").AsString();
    EXPECT_EQ(value.rfind("{\\rtf", 0), 0u) << value;
    Table->Post();
    EXPECT_EQ(Stored(), Zorp->CompressString(value, coLZH));
    Table->Close();
    Table->Open();
    EXPECT_EQ(Rich->Text(), "plainX start");
}

TEST_F(RichForm, PlainTextStoresPlainText) {
    Rich->SetPlainText(true);
    Form->SetActiveControl(Rich);
    Rich->SetSelStart(0);
    TypeText(*Rich, ">");
    Form->SetActiveControl(Other);
    EXPECT_EQ(Table->FieldByName("body").AsString(), ">plain start\r\n");
}

TEST_F(RichForm, CopyDoesNotEditCutDoes) {
    Form->SetActiveControl(Rich);
    Rich->SelectAll();
    PressKey(*Rich, 'C', ssCtrl);
    EXPECT_EQ(Table->State(), dsBrowse);
    PressKey(*Rich, 'X', ssCtrl);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Rich->Text(), "");
}

TEST_F(RichForm, CachingIsSwitchedOffWhenTheFieldIsAttached) {
    EXPECT_FALSE(Table->CacheBlobs());
}

TEST(Palette, CompressPageListsTheComponentAndTheThreeControls) {
    Register();
    RegisterDataControls();
    std::vector<std::string> names;
    for (const TComponentClass* c : PalettePage("Compress"))
        names.push_back(c->ClassName);
    EXPECT_EQ(names, (std::vector<std::string>{"TZorp", "TCDBImage", "TCDBMemo", "TCDBRichEdit"}));
    // Constructing a control registers its field class for form files.
    TForm form(nullptr);
    new TCDBMemo(&form);
    new TCDBImage(&form);
    EXPECT_NE(GetClass("TCMemoField"), nullptr);
    EXPECT_NE(GetClass("TCGraphicField"), nullptr);
    // A class has one descriptor in the process: the library's registration
    // is the one this program names, so registering it again is harmless.
    EXPECT_EQ(GetClass("TCMemoField"), &ClassOf<TCMemoField>());
    EXPECT_NO_THROW(RegisterClass(ClassOf<TCGraphicField>()));
}

TEST(Palette, ThePackageCarriesAPaletteImageForEachClass) {
    const std::string module = ZORP_DB_FILE;
    for (const char* name : {"TZORP", "TCDBIMAGE", "TCDBMEMO", "TCDBRICHEDIT"}) {
        TResourceStream resource(module, name, "BITMAP");
        TBitmap image;
        image.LoadFromStream(resource);
        EXPECT_EQ(image.Width(), 24) << name;
        EXPECT_EQ(image.Height(), 24) << name;
        EXPECT_EQ(image.PixelFormat(), pf4bit) << name;
    }
}

} // namespace
} // namespace zorp::test
