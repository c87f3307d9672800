#include "support/UserInput.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Keyboard.h"
#include "framework/controls/WinControl.h"

#include <array>

namespace zorp::test {

using namespace zorp::fw;

namespace {

bool AcceptsInput(const TControl& Control) {
    for (const TControl* c = &Control; c != nullptr; c = c->Parent())
        if (!c->Enabled() || (!c->Visible() && c->Parent() != nullptr))
            return false;
    return true;
}

struct TStroke {
    uint16_t Key = 0;
    TShiftState Shift = 0;
};

// The stroke that types each printable ASCII character: the inverse of
// KeyStrokeChar over unshifted and shifted keys (Key 0: none).
const std::array<TStroke, 128>& Strokes() {
    static const std::array<TStroke, 128> strokes = [] {
        std::array<TStroke, 128> table{};
        for (const TShiftState shift : {TShiftState(0), TShiftState(ssShift)})
            for (uint16_t key = 1; key < 256; ++key) {
                const auto ch = static_cast<unsigned char>(KeyStrokeChar(key, shift));
                if (ch >= ' ' && ch < 127 && table[ch].Key == 0)
                    table[ch] = {key, shift};
            }
        return table;
    }();
    return strokes;
}

} // namespace

void PressKey(TWinControl& Control, uint16_t Key, TShiftState Shift) {
    if (!AcceptsInput(Control))
        return;
    TKeyboardShiftScope scope(Shift);
    Control.Perform(WM_KEYDOWN, Key);
    if (const char ch = KeyStrokeChar(Key, Shift); ch != 0 && AcceptsInput(Control))
        Control.Perform(WM_CHAR, static_cast<unsigned char>(ch));
    if (AcceptsInput(Control))
        Control.Perform(WM_KEYUP, Key);
}

void TypeText(TWinControl& Control, const std::string& Text) {
    for (size_t i = 0; i < Text.size(); ++i) {
        const char ch = Text[i];
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
            PressKey(Control, VK_RETURN);
        } else if (ch == '\t') {
            PressKey(Control, VK_TAB);
        } else if (u < 128 && Strokes()[u].Key != 0) {
            PressKey(Control, Strokes()[u].Key, Strokes()[u].Shift);
        } else if (AcceptsInput(Control)) {
            TKeyboardShiftScope scope(0);
            Control.Perform(WM_CHAR, u);
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

} // namespace zorp::test
