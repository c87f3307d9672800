// Memo: lines over the text, typing at the caret, Backspace and Delete,
// selection, MaxLength and the memo's read-only state, and cut, copy and
// paste through the clipboard messages.
#include "framework/controls/Memo.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Forms.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using namespace zorp::test;

struct MemoFixture : ::testing::Test {
    TForm Form{nullptr};
    TMemo* Memo = new TMemo(&Form);
    int Changes = 0;

    MemoFixture() {
        Memo->SetParent(&Form);
        Memo->OnChange = [this](TCustomMemo&) { ++Changes; };
        Clipboard().Clear();
    }
};

TEST_F(MemoFixture, LinesAndTextAreOneContent) {
    Memo->Lines().Add("first");
    Memo->Lines().Add("second");
    EXPECT_EQ(Memo->Text(), "first\r\nsecond\r\n");
    EXPECT_EQ(Changes, 2);
    Memo->SetText("a\r\nb");
    EXPECT_EQ(Memo->Lines().Count(), 2);
    EXPECT_EQ(Memo->Lines().Get(1), "b");
    Memo->Lines().Add("c"); // the last line gets its break first
    EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\n");
    Memo->Lines().Put(0, "A");
    Memo->Lines().Delete(1);
    Memo->Lines().Insert(0, "zero");
    EXPECT_EQ(Memo->Text(), "zero\r\nA\r\nc\r\n");
    EXPECT_THROW(Memo->Lines().Get(3), EListError);
}

TEST_F(MemoFixture, SettingLinesIsOneChange) {
    Memo->Lines().SetText("x\ny\nz");
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Memo->Text(), "x\r\ny\r\nz");
    TMemoryStream stream;
    stream.WriteBuffer("p\r\nq\r\n", 6);
    stream.SetPosition(0);
    Memo->Lines().LoadFromStream(stream);
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Memo->Lines().Count(), 2);
    Memo->SetText(Memo->Text()); // the same text changes nothing
    EXPECT_EQ(Changes, 2);
}

TEST_F(MemoFixture, TypingInsertsAtTheCaret) {
    Memo->SetText("ac");
    Memo->SetSelStart(1);
    TypeText(*Memo, "b");
    EXPECT_EQ(Memo->Text(), "abc");
    EXPECT_EQ(Memo->SelStart(), 2);
    EXPECT_TRUE(Memo->Modified());
    PressKey(*Memo, VK_END);
    TypeText(*Memo, "\nd");
    EXPECT_EQ(Memo->Text(), "abc\r\nd");
    PressKey(*Memo, VK_BACK);
    PressKey(*Memo, VK_BACK); // the line break as one
    EXPECT_EQ(Memo->Text(), "abc");
    PressKey(*Memo, VK_HOME);
    PressKey(*Memo, VK_DELETE);
    EXPECT_EQ(Memo->Text(), "bc");
    EXPECT_EQ(Changes, 1 + 1 + 2 + 2 + 1);
}

TEST_F(MemoFixture, ShiftAndArrowsSelect) {
    Memo->SetText("hello world");
    PressKey(*Memo, VK_END, ssCtrl);
    for (int i = 0; i < 5; ++i)
        PressKey(*Memo, VK_LEFT, ssShift);
    EXPECT_EQ(Memo->SelText(), "world");
    TypeText(*Memo, "there");
    EXPECT_EQ(Memo->Text(), "hello there");
    Memo->SetSelStart(0);
    Memo->SetSelLength(100);
    EXPECT_EQ(Memo->SelLength(), 11);
}

TEST_F(MemoFixture, ReadOnlyRefusesEveryUserChange) {
    Memo->SetText("keep");
    Memo->SetReadOnly(true);
    Memo->SelectAll();
    TypeText(*Memo, "x");
    PressKey(*Memo, VK_DELETE);
    PressKey(*Memo, VK_BACK);
    PressKey(*Memo, 'X', ssCtrl);
    Clipboard().SetAsText("pasted");
    PressKey(*Memo, VK_INSERT, ssShift);
    EXPECT_EQ(Memo->Text(), "keep");
    PressKey(*Memo, 'C', ssCtrl); // copying is allowed
    EXPECT_EQ(Clipboard().AsText(), "keep");
    EXPECT_EQ(Changes, 1);
}

TEST_F(MemoFixture, MaxLengthCapsTypingAndPasting) {
    Memo->SetMaxLength(5);
    TypeText(*Memo, "abcdefg");
    EXPECT_EQ(Memo->Text(), "abcde");
    Memo->SetSelStart(1);
    Memo->SetSelLength(2);
    Clipboard().SetAsText("1234");
    Memo->PasteFromClipboard();
    EXPECT_EQ(Memo->Text(), "a12de");
    Memo->SetText("longer than five"); // the program is not limited
    EXPECT_EQ(Memo->Text().size(), 16u);
    Memo->SetMaxLength(17);
    Memo->SetSelStart(16);
    PressKey(*Memo, VK_RETURN); // a line break does not fit half
    EXPECT_EQ(Memo->Text().size(), 16u);
}

TEST_F(MemoFixture, CutCopyAndPasteMoveTextThroughTheClipboard) {
    Memo->SetText("one two");
    Memo->SetSelStart(4);
    Memo->SetSelLength(3);
    PressKey(*Memo, 'X', ssCtrl);
    EXPECT_EQ(Memo->Text(), "one ");
    EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard().AsText(), "two");
    Memo->SetSelStart(0);
    PressKey(*Memo, 'V', ssCtrl);
    EXPECT_EQ(Memo->Text(), "twoone ");
    Memo->SelectAll();
    PressKey(*Memo, VK_INSERT, ssCtrl);
    EXPECT_EQ(Clipboard().AsText(), "twoone ");
    PressKey(*Memo, VK_DELETE, ssShift);
    EXPECT_EQ(Memo->Text(), "");
    Clipboard().Clear();
    PressKey(*Memo, VK_INSERT, ssShift);
    EXPECT_EQ(Memo->Text(), "");
}

TEST_F(MemoFixture, TextBeyondTheLimitRaisesAndKeepsTheText) {
    Memo->SetText("old");
    Memo->SetTextLimit(8);
    EXPECT_THROW(Memo->SetText("123456789"), EInvalidOperation);
    EXPECT_EQ(Memo->Text(), "old");
}

TEST_F(MemoFixture, AClickFocusesAndPlacesTheCaret) {
    Form.Show();
    Memo->SetText("abc\r\ndef");
    // Cells are 6 pixels wide and 10 high, two pixels in from the edges.
    ClickControl(*Memo, 2 + 2 * 6, 2 + 10 + 3);
    EXPECT_TRUE(Memo->Focused());
    EXPECT_EQ(Memo->SelStart(), 7);
    DoubleClickControl(*Memo, 3, 3);
    EXPECT_EQ(Memo->SelText(), "abc");
}

} // namespace
} // namespace zorp::fw
