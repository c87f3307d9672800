// Controls: dispatch of messages by number to overridable handlers, focus
// moves between the controls of a form with CM_EXIT before CM_ENTER, and
// the keyboard pipeline where handlers may swallow keys and characters.
#include "framework/base/BasicAction.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Keyboard.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorp::fw {
namespace {

using namespace zorp::test;

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// Records the messages that reach its handlers and what the edit would do
// by default.
class Probe : public TWinControl {
public:
    explicit Probe(TComponent* AOwner, const std::string& Tag = "")
        : TWinControl(AOwner), FTag(Tag) {}
    std::string Typed;
    int Cuts = 0;
    intptr_t DataLink = 0;
    bool SwallowDelete = false;
    bool FailExit = false;

protected:
    void WMCut(TMessage& Message) override {
        ++Cuts;
        TWinControl::WMCut(Message);
    }
    void CMGetDataLink(TMessage& Message) override { Message.Result = DataLink; }
    void CMEnter(TMessage& Message) override {
        Log().push_back("enter " + FTag);
        TWinControl::CMEnter(Message);
    }
    void CMExit(TMessage& Message) override {
        Log().push_back("exit " + FTag);
        if (FailExit) {
            SetFocus(); // takes the focus back, then refuses
            throw EInvalidOperation("stay");
        }
        TWinControl::CMExit(Message);
    }
    void KeyDown(uint16_t& Key, TShiftState Shift) override {
        TWinControl::KeyDown(Key, Shift);
        if (SwallowDelete && Key == VK_DELETE)
            Key = 0;
    }
    void DefaultHandler(TMessage& Message) override {
        if (Message.Msg == WM_CHAR)
            Typed += static_cast<char>(Message.WParam);
        if (Message.Msg == WM_KEYDOWN)
            Typed += "<" + std::to_string(Message.WParam) + ">";
        TWinControl::DefaultHandler(Message);
    }

private:
    std::string FTag;
};

TEST(ControlMessages, MessagesReachTheirHandlersByNumber) {
    TForm form(nullptr);
    Probe* probe = new Probe(&form);
    probe->DataLink = 0x1234;
    EXPECT_EQ(probe->Perform(0xB02D), 0x1234); // CM_GETDATALINK
    probe->Perform(0x0300);                    // WM_CUT
    EXPECT_EQ(probe->Cuts, 1);
    EXPECT_EQ(probe->Perform(0x7777), 0); // unknown numbers reach DefaultHandler
}

TEST(ControlMessages, TextColourAndFontChangesInvalidate) {
    TForm form(nullptr);
    TWinControl* control = new TWinControl(&form);
    const int before = control->InvalidateCount();
    control->SetText("x");
    control->SetText("x"); // unchanged: no message
    control->SetColor(clRed);
    control->Font().SetSize(20);
    EXPECT_EQ(control->InvalidateCount(), before + 3);
}

TEST(ControlMessages, ParentColourIsFollowed) {
    TForm form(nullptr);
    TWinControl* control = new TWinControl(&form);
    control->SetParent(&form);
    control->SetParentColor(true);
    form.SetColor(clLime);
    EXPECT_EQ(control->Color(), clLime);
    control->SetColor(clRed);
    EXPECT_FALSE(control->ParentColor());
    EXPECT_EQ(control->Color(), clRed);
}

TEST(ControlMessages, ClickAndDoubleClickFireTheirEvents) {
    TForm form(nullptr);
    TWinControl* control = new TWinControl(&form);
    control->SetBounds(0, 0, 20, 20);
    int clicks = 0;
    int doubles = 0;
    control->OnClick = [&](TControl&) { ++clicks; };
    control->OnDblClick = [&](TControl&) { ++doubles; };
    ClickControl(*control, 3, 3);
    EXPECT_EQ(clicks, 1);
    DoubleClickControl(*control, 3, 3);
    EXPECT_EQ(doubles, 1);
    control->Perform(WM_LBUTTONDOWN, 0, MakeLParam(3, 3));
    control->Perform(WM_LBUTTONUP, 0, MakeLParam(40, 3)); // released outside
    EXPECT_EQ(clicks, 2);
}

TEST(ControlMessages, FocusMovesSendExitBeforeEnter) {
    Log().clear();
    TForm form(nullptr);
    Probe* a = new Probe(&form, "a");
    Probe* b = new Probe(&form, "b");
    a->SetParent(&form);
    b->SetParent(&form);
    EXPECT_FALSE(a->CanFocus()); // the form is not shown yet
    form.Show();
    EXPECT_TRUE(a->HandleAllocated());
    std::vector<std::string> events;
    a->OnExit = [&](TWinControl&) { events.push_back("OnExit a"); };
    b->OnEnter = [&](TWinControl&) { events.push_back("OnEnter b"); };
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(form.ActiveControl(), a);
    b->SetFocus();
    EXPECT_EQ(Log(), (std::vector<std::string>{"enter a", "exit a", "enter b"}));
    EXPECT_EQ(events, (std::vector<std::string>{"OnExit a", "OnEnter b"}));
    EXPECT_TRUE(b->Focused());
    EXPECT_FALSE(a->Focused());
    b->SetFocus(); // already there: no messages
    EXPECT_EQ(Log().size(), 3u);
}

TEST(ControlMessages, AnExitHandlerThatRaisesKeepsTheFocus) {
    Log().clear();
    TForm form(nullptr);
    Probe* a = new Probe(&form, "a");
    Probe* b = new Probe(&form, "b");
    a->SetParent(&form);
    b->SetParent(&form);
    form.Show();
    a->SetFocus();
    a->FailExit = true;
    EXPECT_THROW(b->SetFocus(), EInvalidOperation);
    EXPECT_EQ(form.ActiveControl(), a);
    EXPECT_EQ(Log(), (std::vector<std::string>{"enter a", "exit a"}));
}

TEST(ControlMessages, HiddenOrDisabledControlsCannotTakeTheFocus) {
    TForm form(nullptr);
    Probe* a = new Probe(&form);
    a->SetParent(&form);
    form.Show();
    a->SetEnabled(false);
    EXPECT_THROW(a->SetFocus(), EInvalidOperation);
    a->SetEnabled(true);
    a->SetVisible(false);
    EXPECT_FALSE(a->CanFocus());
    Probe loose(nullptr);
    EXPECT_THROW(loose.SetFocus(), EInvalidOperation);
}

TEST(ControlMessages, FreeingTheActiveControlClearsIt) {
    TForm form(nullptr);
    Probe* a = new Probe(&form);
    a->SetParent(&form);
    form.Show();
    a->SetFocus();
    delete a;
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_EQ(form.ControlCount(), 0);
}

TEST(ControlMessages, KeyStrokesRunKeyDownThenCharThenKeyUp) {
    TForm form(nullptr);
    Probe* a = new Probe(&form);
    std::vector<std::string> seen;
    a->OnKeyDown = [&](TWinControl&, uint16_t& Key, TShiftState Shift) {
        seen.push_back("down " + std::to_string(Key) + "/" + std::to_string(Shift));
    };
    a->OnKeyPress = [&](TWinControl&, char& Key) { seen.push_back(std::string("press ") + Key); };
    a->OnKeyUp = [&](TWinControl&, uint16_t& Key, TShiftState) {
        seen.push_back("up " + std::to_string(Key));
    };
    PressKey(*a, 'Q', ssShift);
    EXPECT_EQ(seen, (std::vector<std::string>{"down 81/1", "press Q", "up 81"}));
    EXPECT_EQ(a->Typed, "<81>Q");
}

TEST(ControlMessages, HandlersSwallowKeysAndCharacters) {
    TForm form(nullptr);
    Probe* a = new Probe(&form);
    a->OnKeyPress = [](TWinControl&, char& Key) {
        if (Key == 'x')
            Key = 0;
        else if (Key == 'a')
            Key = 'b';
    };
    TypeText(*a, "xay");
    EXPECT_EQ(a->Typed, "<88><65>b<89>y");
    a->Typed.clear();
    a->SwallowDelete = true;
    PressKey(*a, VK_DELETE);
    EXPECT_EQ(a->Typed, "");
    a->SetEnabled(false);
    TypeText(*a, "z");
    EXPECT_EQ(a->Typed, "");
}

// Each printable character is typed with the one stroke that produces it,
// under the shift state the keyboard reports meanwhile and restores after.
TEST(ControlMessages, EveryPrintableCharacterIsTypedByItsStroke) {
    TForm form(nullptr);
    Probe* a = new Probe(&form);
    std::string text;
    for (char c = ' '; c < 127; ++c)
        text += c;
    std::string stroked, pressed;
    a->OnKeyDown = [&](TWinControl&, uint16_t& Key, TShiftState Shift) {
        EXPECT_EQ(Shift, KeyboardShiftState());
        stroked += KeyStrokeChar(Key, Shift);
    };
    a->OnKeyPress = [&](TWinControl&, char& Key) { pressed += Key; };
    TypeText(*a, text);
    EXPECT_EQ(stroked, text);
    EXPECT_EQ(pressed, text);
    EXPECT_EQ(KeyboardShiftState(), 0);
}

TEST(ControlMessages, StrokesProduceTheirCharacters) {
    EXPECT_EQ(KeyStrokeChar('V', ssCtrl), 22);
    EXPECT_EQ(KeyStrokeChar('X', ssCtrl), 24);
    EXPECT_EQ(KeyStrokeChar('C', ssCtrl), 3);
    EXPECT_EQ(KeyStrokeChar('a' - 32, 0), 'a');
    EXPECT_EQ(KeyStrokeChar(VK_RETURN, 0), '\r');
    EXPECT_EQ(KeyStrokeChar(VK_ESCAPE, 0), 27);
    EXPECT_EQ(KeyStrokeChar(VK_INSERT, ssShift), 0);
    EXPECT_EQ(KeyStrokeChar(VK_DELETE, 0), 0);
    EXPECT_EQ(KeyStrokeChar('1', ssShift), '!');
}

TEST(ControlMessages, WindowsAreMadeOnDemandAndRecreated) {
    TForm form(nullptr);
    TWinControl* a = new TWinControl(&form);
    a->SetParent(&form);
    EXPECT_FALSE(a->HandleAllocated());
    form.Show();
    EXPECT_EQ(a->HandleCreateCount(), 1);
    a->SetCtl3D(false);
    EXPECT_EQ(a->HandleCreateCount(), 2);
    EXPECT_EQ(a->WindowParams().WinClassName, "TWinControl");
}

class SizeProbe : public TWinControl {
public:
    using TWinControl::TWinControl;
    int Sizes = 0;

protected:
    void WMSize(TMessage& Message) override {
        ++Sizes;
        TWinControl::WMSize(Message);
    }
};

TEST(ControlMessages, ResizingAWindowSendsWmSize) {
    TForm form(nullptr);
    SizeProbe* a = new SizeProbe(&form);
    a->SetParent(&form);
    a->SetWidth(10); // no window yet
    form.Show();
    a->SetLeft(5); // moved, not resized
    a->SetHeight(30);
    EXPECT_EQ(a->Sizes, 1);
}

class TargetAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    TObject* Target = nullptr;
    int Executed = 0;
    bool HandlesTarget(TObject* Candidate) override { return Candidate == Target; }
    void ExecuteTarget(TObject*) override { ++Executed; }
};

TEST(ControlMessages, ActionsRunOnControlsThatTheyHandle) {
    TForm form(nullptr);
    TWinControl* a = new TWinControl(&form);
    TargetAction action(nullptr);
    EXPECT_FALSE(a->ExecuteAction(&action));
    action.Target = a;
    EXPECT_TRUE(a->ExecuteAction(&action));
    EXPECT_EQ(action.Executed, 1);
}

TEST(ControlMessages, GetParentFormFindsTheTopForm) {
    TForm form(nullptr);
    TWinControl* panel = new TWinControl(&form);
    TWinControl* inner = new TWinControl(&form);
    panel->SetParent(&form);
    inner->SetParent(panel);
    EXPECT_EQ(GetParentForm(inner), &form);
    EXPECT_EQ(GetParentForm(&form), &form);
    inner->SetParent(nullptr);
    EXPECT_EQ(GetParentForm(inner), nullptr);
    EXPECT_THROW(panel->SetParent(panel), EComponentError);
}

} // namespace
} // namespace zorp::fw
