#include "framework/controls/Keyboard.h"

#include "framework/controls/Forms.h"
#include "framework/controls/WinControl.h"

#include <cctype>

namespace zorp::fw {

namespace {

TShiftState CurrentShift = 0;

// Sets the keyboard's shift state for the duration of one stroke.
class TShiftScope {
public:
    explicit TShiftScope(TShiftState Shift) : FSaved(CurrentShift) { CurrentShift = Shift; }
    ~TShiftScope() { CurrentShift = FSaved; }
    TShiftScope(const TShiftScope&) = delete;
    TShiftScope& operator=(const TShiftScope&) = delete;

private:
    TShiftState FSaved;
};

bool AcceptsInput(const TControl& Control) {
    for (const TControl* c = &Control; c != nullptr; c = c->Parent())
        if (!c->Enabled() || (!c->Visible() && c->Parent() != nullptr))
            return false;
    return true;
}

// The key and shift that type a printable ASCII character on a US layout.
bool StrokeOf(char Ch, uint16_t& Key, TShiftState& Shift) {
    static const char* const Plain = "`1234567890-=[]\\;',./";
    static const char* const Shifted = "~!@#$%^&*()_+{}|:\"<>?";
    static const uint16_t PlainKeys[] = {0xC0, '1',  '2',  '3',  '4',  '5',  '6',
                                         '7',  '8',  '9',  '0',  0xBD, 0xBB, 0xDB,
                                         0xDD, 0xDC, 0xBA, 0xDE, 0xBC, 0xBE, 0xBF};
    const auto u = static_cast<unsigned char>(Ch);
    Shift = 0;
    if (std::islower(u)) {
        Key = static_cast<uint16_t>(std::toupper(u));
        return true;
    }
    if (std::isupper(u)) {
        Key = u;
        Shift = ssShift;
        return true;
    }
    if (Ch == ' ') {
        Key = VK_SPACE;
        return true;
    }
    for (int i = 0; Plain[i] != '\0'; ++i) {
        if (Plain[i] == Ch) {
            Key = PlainKeys[i];
            return true;
        }
        if (Shifted[i] == Ch) {
            Key = PlainKeys[i];
            Shift = ssShift;
            return true;
        }
    }
    return false;
}

} // namespace

TShiftState KeyboardShiftState() {
    return CurrentShift;
}

char KeyStrokeChar(uint16_t Key, TShiftState Shift) {
    if (Shift & ssAlt)
        return 0;
    if (Key >= 'A' && Key <= 'Z') {
        if (Shift & ssCtrl)
            return static_cast<char>(Key - 'A' + 1);
        return static_cast<char>((Shift & ssShift) ? Key : Key - 'A' + 'a');
    }
    if (Shift & ssCtrl)
        return Key == VK_RETURN ? '\n' : 0;
    if (Key >= '0' && Key <= '9' && !(Shift & ssShift))
        return static_cast<char>(Key);
    switch (Key) {
    case VK_SPACE:
        return ' ';
    case VK_BACK:
        return '\b';
    case VK_TAB:
        return '\t';
    case VK_RETURN:
        return '\r';
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    // Punctuation keys.
    char ch = 0;
    for (int c = 33; c < 127 && ch == 0; ++c) {
        uint16_t key = 0;
        TShiftState shift = 0;
        if (!std::isalnum(c) && StrokeOf(static_cast<char>(c), key, shift) && key == Key &&
            shift == (Shift & ssShift))
            ch = static_cast<char>(c);
    }
    return ch;
}

void PressKey(TWinControl& Control, uint16_t Key, TShiftState Shift) {
    if (!AcceptsInput(Control))
        return;
    TShiftScope scope(Shift);
    Control.Perform(WM_KEYDOWN, Key);
    if (const char ch = KeyStrokeChar(Key, Shift); ch != 0 && AcceptsInput(Control))
        Control.Perform(WM_CHAR, static_cast<unsigned char>(ch));
    if (AcceptsInput(Control))
        Control.Perform(WM_KEYUP, Key);
}

void TypeText(TWinControl& Control, const std::string& Text) {
    for (size_t i = 0; i < Text.size(); ++i) {
        const char ch = Text[i];
        uint16_t key = 0;
        TShiftState shift = 0;
        if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
            PressKey(Control, VK_RETURN);
        } else if (ch == '\t') {
            PressKey(Control, VK_TAB);
        } else if (StrokeOf(ch, key, shift)) {
            PressKey(Control, key, shift);
        } else if (AcceptsInput(Control)) {
            TShiftScope scope(0);
            Control.Perform(WM_CHAR, static_cast<unsigned char>(ch));
        }
    }
}

void PressKey(TCustomForm& Form, uint16_t Key, TShiftState Shift) {
    if (TWinControl* active = Form.ActiveControl())
        PressKey(*active, Key, Shift);
}

void TypeText(TCustomForm& Form, const std::string& Text) {
    if (TWinControl* active = Form.ActiveControl())
        TypeText(*active, Text);
}

void ClickControl(TControl& Control, int16_t X, int16_t Y, TShiftState Shift) {
    if (!AcceptsInput(Control))
        return;
    Control.Perform(WM_LBUTTONDOWN, Shift, MakeLParam(X, Y));
    Control.Perform(WM_LBUTTONUP, Shift, MakeLParam(X, Y));
}

void DoubleClickControl(TControl& Control, int16_t X, int16_t Y) {
    if (!AcceptsInput(Control))
        return;
    Control.Perform(WM_LBUTTONDOWN, 0, MakeLParam(X, Y));
    Control.Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    Control.Perform(WM_LBUTTONDBLCLK, 0, MakeLParam(X, Y));
    Control.Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
}

} // namespace zorp::fw
