// The compressed rich-text widget over a real SQLite table, and the mapping
// of rich text between the headless control and a QTextDocument.
#include "qtcontrols/QtCDBRichEdit.h"
#include "QtForm.h"
#include "qtcontrols/RichTextDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <ostream>
#include <utility>

namespace zorp::fw {

// Readable failures: the text, then each byte's attributes as b/i and size.
void PrintTo(const TRichText& Content, std::ostream* Out) {
    *Out << '"' << Content.Text << "\" [";
    for (const TTextAttributes& a : Content.Attributes)
        *Out << (a.Bold ? "b" : "") << (a.Italic ? "i" : "") << a.Size << ' ';
    *Out << ']';
}

} // namespace zorp::fw

namespace zorp::test {
namespace {

using namespace zorp::fw;

const TTextAttributes Plain{false, false, 12};
const TTextAttributes Bold{true, false, 12};

// Rich text made of runs of text with their attributes.
TRichText Runs(std::initializer_list<std::pair<std::string, TTextAttributes>> Parts) {
    TRichText content;
    for (const auto& [text, attributes] : Parts) {
        content.Text += text;
        content.Attributes.insert(content.Attributes.end(), text.size(), attributes);
    }
    return content;
}

TEST(RichTextDocument, RoundTripsThroughADocument) {
    const TTextAttributes italic10{false, true, 10};
    const TTextAttributes big{false, false, 18};
    const TRichText cases[] = {
        Runs({}),
        Runs({{"plain text", Plain}}),
        Runs({{"a ", Plain}, {"bold", Bold}, {" z", Plain}}),
        Runs({{"x", italic10}, {"y", big}, {"z", italic10}}),
        Runs({{"one\r\n", Plain}, {"two\r\n", Bold}, {"\r\n", big}, {"three", Plain}}),
        Runs({{"Grüße", Bold}, {" ok", italic10}}),
    };
    for (const TRichText& content : cases) {
        QTextDocument document;
        qt::ToDocument(content, document);
        EXPECT_EQ(document.toPlainText(), qt::ToQtText(content.Text));
        EXPECT_EQ(qt::FromDocument(document, 12), content);
    }
}

TEST(RichTextDocument, ReadsTheFormatsOfADocumentEditedInQt) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("ab"); // no point size: the default one
    QTextCharFormat boldBig;
    boldBig.setFontWeight(QFont::Bold);
    boldBig.setFontPointSize(14);
    cursor.insertText("cd", boldBig);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertBlock(QTextBlockFormat(), italic);
    cursor.insertText("é"); // takes the new block's format
    cursor.insertText(QString(QChar::LineSeparator) + "e", QTextCharFormat());
    const TTextAttributes def{false, false, 9};
    const TTextAttributes italic9{false, true, 9};
    EXPECT_EQ(qt::FromDocument(document, 9),
              Runs({{"ab", def}, {"cd", {true, false, 14}}, {"\r\né", italic9}, {"\r\ne", def}}));
}

class QtRich : public QtForm<qt::TQtCDBRichEdit> {
protected:
    void SetUp() override {
        Build("CREATE TABLE notes (id INTEGER, body RICHTEXT)",
              "INSERT INTO notes VALUES (1, 'plain start'), (2, 'second')", "body", coLZH5);
    }
    std::string Shown() const { return Widget->toPlainText().toStdString(); }
    QTextCharFormat FormatAt(int Position) const {
        QTextCursor cursor(Widget->document());
        cursor.setPosition(Position + 1); // the format of the character before
        return cursor.charFormat();
    }
    void CaretTo(int Position) {
        QTextCursor cursor = Widget->textCursor();
        cursor.setPosition(Position);
        Widget->setTextCursor(cursor);
    }
    std::string Value() { return Table->FieldByName("body").AsString(); }
};

TEST_F(QtRich, ShowsAStoredRichTextValueWithItsAttributes) {
    const TTextAttributes def = Widget->Control().DefAttributes();
    const TRichText content =
        Runs({{"plain ", def}, {"bold", {true, false, def.Size}}, {" big", {false, false, 20}}});
    Table->Open();
    Table->Edit();
    Widget->Control().CompressedField()->SetAsString(WriteRichText(content, "Arial"));
    Table->Post();
    Table->Next();
    Table->Prior();
    EXPECT_EQ(Shown(), "plain bold big");
    EXPECT_EQ(FormatAt(0).fontWeight(), QFont::Normal);
    EXPECT_EQ(FormatAt(6).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(6).fontPointSize(), def.Size);
    EXPECT_EQ(FormatAt(11).fontWeight(), QFont::Normal);
    EXPECT_EQ(FormatAt(11).fontPointSize(), 20);
    EXPECT_TRUE(Widget->isReadOnly());
}

TEST_F(QtRich, TypingKeepsTheCaretAndLeavingWritesTheFormattedValueAtOnce) {
    Table->Open();
    Focus(Widget);
    CaretTo(5);
    QTest::keyClicks(Widget, "X");
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Shown(), "plainX start");
    EXPECT_EQ(Widget->textCursor().position(), 6); // not reloaded when editing began

    QTextCursor selection = Widget->textCursor();
    selection.setPosition(7);
    selection.setPosition(12, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    selection.mergeCharFormat(bold);

    const TTextAttributes def = Widget->Control().DefAttributes();
    const std::string expected =
        WriteRichText(Runs({{"plainX ", def}, {"start", {true, false, def.Size}}}),
                      Widget->Control().Font().Name());
    EXPECT_EQ(Widget->Control().RichText(), expected);
    Focus(Other);
    EXPECT_EQ(Value(), expected); // in the record before any Post
    Table->Post();
    EXPECT_EQ(Stored(), Zorp->CompressString(expected, coLZH5));
    Table->Next();
    Table->Prior();
    EXPECT_EQ(FormatAt(8).fontWeight(), QFont::Bold);
}

TEST_F(QtRich, EscapeRestoresTheValue) {
    Table->Open();
    Focus(Widget);
    QTest::keyClicks(Widget, "xy");
    EXPECT_EQ(Shown(), "xyplain start");
    QTest::keyClick(Widget, Qt::Key_Escape);
    EXPECT_EQ(Shown(), "plain start");
    EXPECT_EQ(Widget->Control().Text(), "plain start");
}

TEST_F(QtRich, AutoDisplayOffShowsTheLabelUntilEnter) {
    Widget->Control().SetAutoDisplay(false);
    Table->Open();
    EXPECT_EQ(Shown(), "(body)");
    Focus(Widget);
    QTest::keyClicks(Widget, "ignored");
    EXPECT_EQ(Shown(), "(body)");
    EXPECT_EQ(Table->State(), dsBrowse);
    QTest::keyClick(Widget, Qt::Key_Return);
    EXPECT_EQ(Shown(), "plain start");
}

TEST_F(QtRich, AReadOnlyLinkRefusesEdits) {
    Widget->Control().SetReadOnly(true);
    Table->Open();
    Focus(Widget);
    QTest::keyClicks(Widget, "no");
    QTest::keyClick(Widget, Qt::Key_Delete);
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(Shown(), "plain start");
    EXPECT_TRUE(Widget->isReadOnly());
}

TEST_F(QtRich, PlainTextStoresPlainText) {
    Widget->Control().SetPlainText(true);
    Table->Open();
    Focus(Widget);
    QTest::keyClicks(Widget, ">");
    Focus(Other);
    EXPECT_EQ(Value(), ">plain start\r\n");
}

} // namespace
} // namespace zorp::test
