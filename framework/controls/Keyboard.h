// The keyboard behind key messages. KeyboardShiftState answers the shift
// state of the key message being handled; whoever delivers key messages to
// controls sets it for the time of one stroke with TKeyboardShiftScope.
#pragma once

#include "../base/Export.h"
#include "Messages.h"

#include <cstdint>

namespace zorp::fw {

/// The shift state of the key message being handled (0 outside a
/// TKeyboardShiftScope).
ZORP_API TShiftState KeyboardShiftState();

/// Sets the shift state KeyboardShiftState answers while it exists, and puts
/// the one before back when it goes.
class ZORP_API TKeyboardShiftScope {
public:
    /// Makes Shift the shift state KeyboardShiftState answers.
    explicit TKeyboardShiftScope(TShiftState Shift);
    /// Puts back the shift state that held before the scope began.
    ~TKeyboardShiftScope();
    /// Not copyable: each scope restores its state exactly once.
    /// @{
    TKeyboardShiftScope(const TKeyboardShiftScope&) = delete;
    TKeyboardShiftScope& operator=(const TKeyboardShiftScope&) = delete;
    /// @}

private:
    TShiftState FSaved;
};

/// The character a stroke of Key with Shift produces, or 0. Letters give
/// their lower-case character, with Shift the upper-case one, with Ctrl the
/// control code (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24); digits and space give
/// themselves; VK_BACK 8, VK_TAB 9, VK_RETURN 13 (with Ctrl 10), VK_ESCAPE
/// 27; the punctuation keys give their character on a US keyboard layout.
/// Alt strokes and other keys give no character.
ZORP_API char KeyStrokeChar(uint16_t Key, TShiftState Shift);

} // namespace zorp::fw
