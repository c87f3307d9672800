// A container that fixes the data source of its controls' data links: the
// memo and image controls leave a fixed link alone while they are read from
// a form file, and still ask for the removal notice and bind; the rich-text
// control always sets it.
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "framework/controls/Forms.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorp::test {
namespace {

using namespace zorp::fw;

// Records the removal notices that reach the control.
template <class Control> class Probe : public Control {
public:
    using Control::Control;
    std::vector<TComponent*> Removed;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove)
            Removed.push_back(AComponent);
        Control::Notification(AComponent, Operation);
    }
};

class FixedSource : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "f.db");
        Db.ExecSQL("CREATE TABLE docs (id INTEGER, body TEXT, pic GRAPHIC)");
        Db.ExecSQL("INSERT INTO docs (id, body) VALUES (1, 'one')");
        Form = std::make_unique<TForm>(nullptr);
        Table = new TSQLiteTable(Form.get());
        Table->SetName("Docs");
        Table->SetDatabase(&Db);
        Table->SetTableName("docs");
        Fixed = new TDataSource(Form.get());
        Fixed->SetDataSet(Table);
        Zorp = new TZorp(Form.get());
    }
    // Binds the control the way a form file sets it up, with the link's
    // data source fixed to Fixed, and gives it Streamed as DataSource.
    template <class Control>
    Probe<Control>* ReadControl(const std::string& Column, TDataSource& Streamed) {
        auto* c = new Probe<Control>(Form.get());
        c->SetName("C" + Column);
        c->DataLink().SetDataSource(Fixed);
        c->DataLink().SetDataSourceFixed(true);
        c->BeginLoading();
        c->SetDataField(Column); // no CompressSource yet: nothing bound
        EXPECT_EQ(c->CompressedField(), nullptr);
        c->SetCompressSource(Zorp);
        c->SetDataSource(&Streamed);
        return c;
    }

    TempDir Dir;
    TDatabase Db{nullptr};
    std::unique_ptr<TForm> Form;
    TSQLiteTable* Table = nullptr;
    TDataSource* Fixed = nullptr;
    TZorp* Zorp = nullptr;
};

TEST_F(FixedSource, MemoLeavesAFixedLinkAloneWhileLoading) {
    auto* streamed = new TDataSource(nullptr); // another owner: only asked notices arrive
    auto* memo = ReadControl<TCDBMemo>("body", *streamed);
    EXPECT_EQ(memo->DataSource(), Fixed);
    // The binding check still ran, on the fixed data source's data set.
    ASSERT_NE(memo->CompressedField(), nullptr);
    EXPECT_EQ(memo->CompressedField()->DataSet(), Table);
    delete streamed; // the removal notice was asked for
    ASSERT_EQ(memo->Removed.size(), 1u);
    EXPECT_EQ(memo->Removed[0], streamed);
    EXPECT_EQ(memo->DataSource(), Fixed);
    memo->EndLoading();
    Table->Open();
    EXPECT_EQ(memo->Text(), "one");
}

TEST_F(FixedSource, ImageLeavesAFixedLinkAloneWhileLoading) {
    auto* streamed = new TDataSource(nullptr);
    auto* image = ReadControl<TCDBImage>("pic", *streamed);
    EXPECT_EQ(image->DataSource(), Fixed);
    ASSERT_NE(image->CompressedField(), nullptr);
    delete streamed;
    ASSERT_EQ(image->Removed.size(), 1u);
    image->EndLoading();
    EXPECT_EQ(image->DataSource(), Fixed);
}

TEST_F(FixedSource, RichEditSetsTheLinkEvenWhileLoading) {
    auto* streamed = new TDataSource(Form.get());
    streamed->SetDataSet(Table);
    auto* rich = ReadControl<TCDBRichEdit>("body", *streamed);
    EXPECT_EQ(rich->DataSource(), streamed);
    rich->EndLoading();
}

TEST_F(FixedSource, OutsideLoadingOrUnfixedTheLinkFollows) {
    auto* other = new TDataSource(Form.get());
    auto* memo = new TCDBMemo(Form.get());
    memo->DataLink().SetDataSource(Fixed);
    memo->DataLink().SetDataSourceFixed(true);
    memo->SetDataSource(other); // not loading
    EXPECT_EQ(memo->DataSource(), other);
    auto* image = new TCDBImage(Form.get());
    image->BeginLoading();
    image->SetDataSource(other); // loading, not fixed
    EXPECT_EQ(image->DataSource(), other);
    image->EndLoading();
}

} // namespace
} // namespace zorp::test
