#include "framework/controls/Keyboard.h"

#include <cctype>

namespace zorp::fw {

namespace {

TShiftState CurrentShift = 0;

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

TKeyboardShiftScope::TKeyboardShiftScope(TShiftState Shift) : FSaved(CurrentShift) {
    CurrentShift = Shift;
}

TKeyboardShiftScope::~TKeyboardShiftScope() {
    CurrentShift = FSaved;
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

} // namespace zorp::fw
