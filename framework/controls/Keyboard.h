// The keyboard behind key messages. KeyboardShiftState answers the shift
// state of the key message being handled; whoever delivers key messages to
// controls sets it for the time of one stroke with TKeyboardShiftScope.
//
// Characters of strokes: letters give their lower-case character, with
// Shift the upper-case one, with Ctrl the control code (Ctrl+C 3, Ctrl+V
// 22, Ctrl+X 24); digits and space give themselves; VK_BACK 8, VK_TAB 9,
// VK_RETURN 13 (with Ctrl 10), VK_ESCAPE 27. Alt strokes and other keys
// give no character.
#pragma once

#include "../base/Export.h"
#include "Messages.h"

#include <cstdint>

namespace zorp::fw {

// The shift state of the key message being handled.
ZORP_API TShiftState KeyboardShiftState();

// Sets the shift state KeyboardShiftState answers while it exists, and puts
// the one before back when it goes.
class ZORP_API TKeyboardShiftScope {
public:
    explicit TKeyboardShiftScope(TShiftState Shift);
    ~TKeyboardShiftScope();
    TKeyboardShiftScope(const TKeyboardShiftScope&) = delete;
    TKeyboardShiftScope& operator=(const TKeyboardShiftScope&) = delete;

private:
    TShiftState FSaved;
};

// The character a stroke produces, or 0.
ZORP_API char KeyStrokeChar(uint16_t Key, TShiftState Shift);

} // namespace zorp::fw
