// The compressed memo widget driven with Qt's keys, clicks, focus and
// clipboard over a real SQLite table.
#include "qtcontrols/QtCDBMemo.h"
#include "QtForm.h"

#include <QClipboard>

namespace zorp::test {
namespace {

using namespace zorp::fw;

class QtMemo : public QtForm<qt::TQtCDBMemo> {
protected:
    void SetUp() override {
        Build("CREATE TABLE notes (id INTEGER, body TEXT)",
              "INSERT INTO notes VALUES (1, 'first body'), (2, 'second body')", "body", coLZH5);
    }
    std::string Shown() const { return Widget->toPlainText().toStdString(); }
    void ToEnd() { QTest::keyClick(Widget, Qt::Key_End, Qt::ControlModifier); }
};

TEST_F(QtMemo, ShowsTheRecordAndFollowsNavigationReadOnlyWhileBrowsing) {
    ASSERT_NE(Widget->Control().CompressedField(), nullptr);
    Table->Open();
    EXPECT_EQ(Shown(), "first body");
    EXPECT_TRUE(Widget->isReadOnly());
    Table->Next();
    EXPECT_EQ(Shown(), "second body");
    Table->Prior();
    EXPECT_EQ(Shown(), "first body");
}

TEST_F(QtMemo, TypingEditsAndPostingStoresTheCompressedText) {
    Table->Open();
    Focus(Widget);
    ToEnd();
    QTest::keyClicks(Widget, " and more");
    QTest::keyClick(Widget, Qt::Key_Return);
    QTest::keyClicks(Widget, "line");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_FALSE(Widget->isReadOnly());
    EXPECT_EQ(Shown(), "first body and more\nline");
    Focus(Other); // leaving does not write a BLOB column
    EXPECT_EQ(Stored(), "first body");
    Table->Post();
    EXPECT_EQ(Stored(), Zorp->CompressString("first body and more\r\nline", coLZH5));
    Table->Next();
    Table->Prior();
    EXPECT_EQ(Shown(), "first body and more\nline");
}

TEST_F(QtMemo, EscapeRestoresAndInsertStartsEditingOnlyWithShift) {
    Table->Open();
    Focus(Widget);
    QTest::keyClick(Widget, Qt::Key_Insert);
    EXPECT_EQ(Table->State(), dsBrowse);
    QTest::keyClick(Widget, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    QTest::keyClicks(Widget, "xy");
    EXPECT_NE(Shown(), "first body");
    QTest::keyClick(Widget, Qt::Key_Escape);
    EXPECT_EQ(Shown(), "first body");
}

TEST_F(QtMemo, AutoDisplayOffShowsTheLabelUntilEnterOrDoubleClick) {
    Widget->Control().SetAutoDisplay(false);
    Table->Open();
    EXPECT_EQ(Shown(), "(body)");
    Focus(Widget);
    QTest::keyClicks(Widget, "ignored");
    EXPECT_EQ(Shown(), "(body)");
    EXPECT_EQ(Table->State(), dsBrowse);
    QTest::keyClick(Widget, Qt::Key_Return);
    EXPECT_EQ(Shown(), "first body");
    Table->Next();
    EXPECT_EQ(Shown(), "(body)");
    QTest::mouseDClick(Widget->viewport(), Qt::LeftButton);
    EXPECT_EQ(Shown(), "second body");
}

TEST_F(QtMemo, PastingAndCuttingEnterEditMode) {
    Table->Open();
    Focus(Widget);
    QApplication::clipboard()->setText("pasted ");
    QTest::keyClick(Widget, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(Widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Shown(), "pasted first body");
    Table->Post();
    EXPECT_EQ(Stored(), Zorp->CompressString("pasted first body", coLZH5));

    QTest::keyClick(Widget, Qt::Key_A, Qt::ControlModifier); // select everything
    QTest::keyClick(Widget, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "pasted first body");
    EXPECT_EQ(Shown(), "");
}

TEST_F(QtMemo, AReadOnlyLinkRefusesEdits) {
    Widget->Control().SetReadOnly(true);
    Table->Open();
    Focus(Widget);
    QTest::keyClicks(Widget, "no");
    QApplication::clipboard()->setText("nor this");
    QTest::keyClick(Widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(Shown(), "first body");
    EXPECT_TRUE(Widget->isReadOnly());
}

TEST_F(QtMemo, AWrongKeyIsShownAsAMessageNotThrownThroughQt) {
    Zorp->SetKey(0x1234);
    Table->Open();
    Table->Edit();
    Widget->Control().CompressedField()->SetAsString("locked text");
    Table->Post();
    Zorp->SetKey(0x9999);
    Widget->Control().SetAutoDisplay(false);
    Table->Next();
    Table->Prior(); // the label shows: nothing expanded yet
    Focus(Widget);
    QTest::keyClick(Widget, Qt::Key_Return); // expanding fails inside a Qt event
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Shown(), "(body)");
}

} // namespace
} // namespace zorp::test
