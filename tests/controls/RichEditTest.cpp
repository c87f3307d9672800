// Rich edit: RTF written and read back with attributes, hand-written RTF
// with destinations and unknown control words, escapes, and the line list
// moving RTF or plain text through streams.
#include "framework/controls/RichEdit.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Forms.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using namespace zorp::test;

TEST(RichText, RoundTripKeepsTextAndAttributes) {
    TRichText text;
    text.Text = "ab{c}\\ \xE9\r\nx\ty";
    for (size_t i = 0; i < text.Text.size(); ++i)
        text.Attributes.push_back(
            TTextAttributes{i % 2 == 0, i % 3 == 0, static_cast<int32_t>(8 + i)});
    // Both bytes of the line break share their attributes, as typed ones do.
    text.Attributes[9] = text.Attributes[8];
    const std::string rtf = WriteRichText(text, "Zorp Sans");
    EXPECT_TRUE(IsRichText(rtf));
    EXPECT_NE(rtf.find("\\'e9"), std::string::npos);
    EXPECT_NE(rtf.find("\\{"), std::string::npos);
    EXPECT_NE(rtf.find("\\}"), std::string::npos);
    EXPECT_NE(rtf.find("\\\\"), std::string::npos);
    const TRichText back = ReadRichText(rtf, TTextAttributes{false, false, 30});
    EXPECT_EQ(back.Text, text.Text);
    EXPECT_EQ(back.Attributes, text.Attributes);
}

TEST(RichText, HandWrittenRtfSkipsWhatItDoesNotKnow) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                            "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Someone;}"
                            "\\viewkind4\\uc1\\pard\\f0\\fs20 Plain \\b bold\\b0 , {\\i it}\\par\n"
                            "\\cf1\\fs32 Big \\'e9\\u8364?\\plain\\par"
                            "{\\*\\unknowndest hidden {nested}} end\\~!}trailing";
    const TRichText text = ReadRichText(rtf, TTextAttributes{false, false, 9});
    EXPECT_EQ(text.Text, "Plain bold, it\r\nBig \xE9?\r\n end !");
    EXPECT_EQ(text.Attributes[0], (TTextAttributes{false, false, 10}));
    EXPECT_EQ(text.Attributes[6], (TTextAttributes{true, false, 10}));     // "b" of bold
    EXPECT_EQ(text.Attributes[10], (TTextAttributes{false, false, 10}));   // ","
    EXPECT_EQ(text.Attributes[12], (TTextAttributes{false, true, 10}));    // "i"
    EXPECT_EQ(text.Attributes[14], (TTextAttributes{false, false, 10}));   // break after the group
    EXPECT_EQ(text.Attributes[16], (TTextAttributes{false, false, 16}));   // "B"
    EXPECT_EQ(text.Attributes.back(), (TTextAttributes{false, false, 9})); // after \plain
}

TEST(RichText, DamagedRtfEndsWithoutReadingPastTheData) {
    const TRichText text = ReadRichText("{\\rtf1 abc\\'4", TTextAttributes{});
    EXPECT_EQ(text.Text.substr(0, 3), "abc");
    EXPECT_EQ(text.Attributes.size(), text.Text.size());
    EXPECT_EQ(ReadRichText("{\\rtf1 \\b", TTextAttributes{}).Text, "");
}

TEST(RichEdit, LinesSaveAndLoadRtfUnlessPlainText) {
    TRichEdit edit(nullptr);
    edit.SetText("hello\r\nworld");
    edit.SetSelStart(0);
    edit.SetSelLength(5);
    edit.SetSelAttributes(TTextAttributes{true, false, 14});
    TMemoryStream stream;
    edit.Lines().SaveToStream(stream);
    const std::string rtf = stream.DataString();
    EXPECT_TRUE(IsRichText(rtf));
    EXPECT_NE(rtf.find("\\b\\i0\\fs28 hello"), std::string::npos);

    TRichEdit other(nullptr);
    stream.SetPosition(0);
    other.Lines().LoadFromStream(stream);
    EXPECT_EQ(other.Text(), "hello\r\nworld");
    EXPECT_TRUE(other.AttributesAt(4).Bold);
    EXPECT_FALSE(other.AttributesAt(8).Bold);

    other.SetPlainText(true);
    TMemoryStream plain;
    other.Lines().SaveToStream(plain);
    EXPECT_EQ(plain.DataString(), "hello\r\nworld\r\n");
    plain.SetPosition(0);
    TRichEdit third(nullptr);
    third.SetPlainText(true);
    third.SetText("x");
    third.Lines().LoadFromStream(plain);
    EXPECT_EQ(third.Text(), "hello\r\nworld\r\n");
}

TEST(RichEdit, PlainDataLoadsAsTextWhenRtfIsExpected) {
    TRichEdit edit(nullptr);
    TMemoryStream stream;
    stream.WriteBuffer("not {\\rtf at the start", 22);
    stream.SetPosition(0);
    edit.Lines().LoadFromStream(stream);
    EXPECT_EQ(edit.Text(), "not {\\rtf at the start");
}

TEST(RichEdit, TypedTextContinuesTheAttributesBeforeIt) {
    TForm form(nullptr);
    TRichEdit* edit = new TRichEdit(&form);
    int changes = 0;
    edit->OnChange = [&](TCustomMemo&) { ++changes; };
    edit->SetRichText("{\\rtf1 {\\b AB}CD}");
    EXPECT_EQ(changes, 1);
    edit->SetSelStart(2);
    TypeText(*edit, "x");
    EXPECT_TRUE(edit->AttributesAt(2).Bold);
    edit->SetSelStart(5);
    edit->SetSelAttributes(TTextAttributes{false, true, 20});
    TypeText(*edit, "y");
    EXPECT_TRUE(edit->AttributesAt(5).Italic);
    EXPECT_EQ(edit->Text(), "ABxCDy");
    // Same text, other formatting: only the attributes change.
    edit->SetRichText("{\\rtf1 \\i ABxCDy}");
    EXPECT_TRUE(edit->AttributesAt(0).Italic);
    EXPECT_EQ(changes, 4);
}

TEST(RichEdit, ContentIsSetWithoutRtfAndNeedsAttributesForEveryByte) {
    TRichEdit edit(nullptr);
    const TRichText content{"ab\r\nc", {{true, false, 9}, {false, true, 14}, {}, {}, {}}};
    edit.SetContent(content);
    EXPECT_EQ(edit.Content(), content);
    EXPECT_EQ(ReadRichText(edit.RichText(), edit.DefAttributes()), content);
    EXPECT_THROW(edit.SetContent(TRichText{"ab", {{}}}), EInvalidOperation);
    EXPECT_EQ(edit.Content(), content);
}

TEST(RichEdit, TextBeyondTheLimitRunsOutOfResources) {
    TRichEdit edit(nullptr);
    edit.SetTextLimit(4);
    EXPECT_THROW(edit.SetText("12345"), EOutOfResources);
}

} // namespace
} // namespace zorp::fw
