// Form files of a form with the compressed controls: the fields the
// controls create are saved inside their table's block, and a form read
// back binds by adopting them.
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "dbcontrols/Register.h"
#include "framework/base/FormReader.h"
#include "framework/base/FormWriter.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/db/DataClasses.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>
#include <memory>

namespace zorp::test {
namespace {

using namespace zorp::fw;

class FormFile : public testing::Test {
protected:
    void SetUp() override {
        Register();
        RegisterDataControls();
        RegisterDataClasses();
        Previous = SetShowMessageHandler([this](const std::string& m) { Shown.push_back(m); });
        TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "notes.db");
        db.ExecSQL("CREATE TABLE notes (id INTEGER, body TEXT, pic GRAPHIC, doc FMTMEMO)");
        db.ExecSQL("INSERT INTO notes (id, body, doc) VALUES (1, 'first body', 'plain doc')");
    }
    void TearDown() override { SetShowMessageHandler(Previous); }

    // The form as a designer leaves it: the controls bound while the table
    // is closed, so that each created its compressed field.
    std::unique_ptr<TForm> DesignForm() {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetName("Form1");
        auto* db = new TDatabase(form.get());
        db->SetName("Database1");
        db->SetDatabaseName(Dir / "notes.db");
        auto* table = new TSQLiteTable(form.get());
        table->SetName("Table1");
        table->SetDatabase(db);
        table->SetTableName("notes");
        auto* source = new TDataSource(form.get());
        source->SetName("DataSource1");
        source->SetDataSet(table);
        auto* zorp = new TZorp(form.get());
        zorp->SetName("Zorp1");
        auto* memo = new TCDBMemo(form.get());
        memo->SetName("CDBMemo1");
        memo->SetParent(form.get());
        memo->SetBounds(8, 8, 200, 100);
        memo->SetCompressSource(zorp);
        memo->SetCompressionMethod(coLZH5);
        memo->SetDataSource(source);
        memo->SetDataField("body");
        auto* image = new TCDBImage(form.get());
        image->SetName("CDBImage1");
        image->SetParent(form.get());
        image->SetStretch(true);
        image->SetCompressSource(zorp);
        image->SetCompressionMethod(coLZH);
        image->SetDataSource(source);
        image->SetDataField("pic");
        auto* rich = new TCDBRichEdit(form.get());
        rich->SetName("CDBRichEdit1");
        rich->SetParent(form.get());
        rich->SetPlainText(true);
        rich->SetCompressSource(zorp);
        rich->SetCompressionMethod(coRLE);
        rich->SetDataSource(source);
        rich->SetDataField("doc");
        return form;
    }

    std::unique_ptr<TForm> ReadForm(const std::string& Text) {
        auto form = std::make_unique<TForm>(nullptr);
        TextToForm(Text, *form);
        return form;
    }

    TempDir Dir;
    std::vector<std::string> Shown;
    TShowMessageHandler Previous;
};

TEST_F(FormFile, KeepsTheCreatedFieldsInsideTheirTablesBlock) {
    auto form = DesignForm();
    const std::string text = FormToText(*form);
    EXPECT_NE(text.find("  object Table1: TSQLiteTable\n"
                        "    Database = Database1\n"
                        "    TableName = 'notes'\n"
                        "    CacheBlobs = False\n" // switched off by the rich-text control
                        "    object CDBMemo1body: TCMemoField\n"
                        "      FieldName = 'body'\n"
                        "      BlobType = ftMemo\n"
                        "      CompressSource = Zorp1\n"
                        "      CompressionMethod = coLZH5\n"
                        "    end\n"
                        "    object CDBImage1pic: TCGraphicField\n"
                        "      FieldName = 'pic'\n"
                        "      BlobType = ftGraphic\n"
                        "      CompressSource = Zorp1\n"
                        "      CompressionMethod = coLZH\n"
                        "    end\n"
                        "    object CDBRichEdit1doc: TCMemoField\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  object CDBMemo1: TCDBMemo\n"
                        "    Left = 8\n"
                        "    Top = 8\n"
                        "    Width = 200\n"
                        "    Height = 100\n"
                        "    CompressionMethod = coLZH5\n"
                        "    CompressSource = Zorp1\n"
                        "    DataField = 'body'\n"
                        "    DataSource = DataSource1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    Stretch = True\n"), std::string::npos);
    EXPECT_NE(text.find("    PlainText = True\n"), std::string::npos);
}

TEST_F(FormFile, AFormReadBackAdoptsItsFieldsAndStoresCompressed) {
    SaveFormToFile(Dir / "form.txt", *DesignForm());
    auto form = std::make_unique<TForm>(nullptr);
    LoadFormFromFile(Dir / "form.txt", *form);
    EXPECT_TRUE(Shown.empty());
    ASSERT_EQ(form->ComponentCount(), DesignForm()->ComponentCount()); // nothing made twice

    auto* memo = dynamic_cast<TCDBMemo*>(form->FindComponent("CDBMemo1"));
    auto* field = dynamic_cast<TCMemoField*>(form->FindComponent("CDBMemo1body"));
    auto* table = dynamic_cast<TSQLiteTable*>(form->FindComponent("Table1"));
    auto* zorp = dynamic_cast<TZorp*>(form->FindComponent("Zorp1"));
    ASSERT_TRUE(memo && field && table && zorp);
    EXPECT_EQ(memo->CompressedField(), field);
    EXPECT_EQ(memo->Parent(), form.get());
    EXPECT_EQ(field->DataSet(), table);
    EXPECT_EQ(field->CompressSource(), zorp);
    EXPECT_EQ(field->CompressionMethod(), coLZH5);
    auto* image = dynamic_cast<TCDBImage*>(form->FindComponent("CDBImage1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->CompressedField(), form->FindComponent("CDBImage1pic"));
    EXPECT_TRUE(image->Stretch());

    // The adopted field compresses what the user types.
    form->Show();
    table->Open();
    EXPECT_EQ(memo->Text(), "first body");
    form->SetActiveControl(memo);
    memo->SetSelStart(static_cast<int32_t>(memo->Text().size()));
    std::string typed;
    for (int i = 0; i < 8; ++i)
        typed += ", typed after reading the form";
    TypeText(*memo, typed);
    table->Post();
    TStatement stored(*table->Database(), "SELECT body FROM notes");
    ASSERT_TRUE(stored.Step());
    const std::string raw = VarToStr(stored.Column(0));
    EXPECT_LT(raw.size(), typed.size());
    TZorp reader(nullptr);
    EXPECT_EQ(reader.ExpandString(raw), "first body" + typed);
}

TEST_F(FormFile, AnActiveTableOpensAfterEverythingIsReadAndTheMemoShowsItsRecord) {
    auto design = DesignForm();
    dynamic_cast<TSQLiteTable*>(design->FindComponent("Table1"))->Open();
    const std::string text = FormToText(*design);
    ASSERT_NE(text.find("    Active = True\n"), std::string::npos);
    design.reset();

    auto form = ReadForm(text);
    auto* table = dynamic_cast<TSQLiteTable*>(form->FindComponent("Table1"));
    auto* memo = dynamic_cast<TCDBMemo*>(form->FindComponent("CDBMemo1"));
    auto* rich = dynamic_cast<TCDBRichEdit*>(form->FindComponent("CDBRichEdit1"));
    ASSERT_TRUE(table && memo && rich);
    EXPECT_TRUE(table->Active());
    EXPECT_EQ(memo->CompressedField(), form->FindComponent("CDBMemo1body"));
    EXPECT_EQ(memo->Text(), "first body");
    EXPECT_EQ(rich->Text(), "plain doc");
    EXPECT_TRUE(Shown.empty());
}

TEST_F(FormFile, TheAdoptedFieldKeepsItsOwnMethodAndSource) {
    std::string text = FormToText(*DesignForm());
    const std::string fieldMethod = "      CompressionMethod = coLZH5\n";
    const size_t at = text.find(fieldMethod);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, fieldMethod.size(), "      CompressionMethod = coRLE\n");

    auto form = ReadForm(text);
    auto* memo = dynamic_cast<TCDBMemo*>(form->FindComponent("CDBMemo1"));
    ASSERT_NE(memo, nullptr);
    ASSERT_NE(memo->CompressedField(), nullptr);
    EXPECT_EQ(memo->CompressionMethod(), coLZH5);
    EXPECT_EQ(memo->CompressedField()->CompressionMethod(), coRLE);
}

// A form with a progress handler that form files can bind TZorp to.
class TProgressForm : public TForm {
public:
    explicit TProgressForm(TComponent* AOwner) : TForm(AOwner) {
        PublishMethod("Form1Progress", &TProgressForm::Progress);
    }
    void Progress(int32_t& Percent) { Seen.push_back(Percent); }
    std::vector<int32_t> Seen;
};

TEST_F(FormFile, KeepsTheSettingsOfTZorp) {
    TProgressForm form(nullptr);
    form.SetName("Form1");
    auto* zorp = new TZorp(&form);
    zorp->SetName("Zorp1");
    zorp->SetTargetPath("/tmp/out");
    zorp->SetMakeDirectories(true);
    zorp->SetKey(-5);
    zorp->SetCheckSpaceBeforeExpand(true);
    zorp->BindEvent("OnShowProgress", form, "Form1Progress");
    const std::string text = FormToText(form);
    EXPECT_NE(text.find("  object Zorp1: TZorp\n"
                        "    OnShowProgress = Form1Progress\n"
                        "    TargetPath = '/tmp/out/'\n"
                        "    MakeDirectories = True\n"
                        "    ExceptionOnFileError = False\n"
                        "    Key = -5\n"
                        "    CheckSpaceBeforeExpand = True\n"
                        "  end\n"),
              std::string::npos)
        << text;

    TProgressForm read(nullptr);
    TextToForm(text, read);
    auto* back = dynamic_cast<TZorp*>(read.FindComponent("Zorp1"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->TargetPath(), "/tmp/out/");
    EXPECT_TRUE(back->MakeDirectories());
    EXPECT_FALSE(back->ExceptionOnFileError());
    EXPECT_EQ(back->Key(), -5);
    EXPECT_TRUE(back->CheckSpaceBeforeExpand());
    back->SetKey(0);
    back->CompressString(std::string(1000, 'z'), coLZH5);
    ASSERT_GE(read.Seen.size(), 2u); // the progress events reach the form read back
    EXPECT_EQ(read.Seen.front(), 0);
    EXPECT_EQ(read.Seen.back(), 100);
    EXPECT_TRUE(form.Seen.empty());
}

} // namespace
} // namespace zorp::test
