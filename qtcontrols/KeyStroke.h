// A Qt key event as the headless controls' key rules see it: a virtual key,
// a shift state and the character the stroke types.
#pragma once

#include "../framework/controls/Messages.h"
#include "Export.h"

#include <cstdint>

class QKeyEvent;

namespace zorp::qt {

/// One key stroke in the headless controls' terms.
struct ZORPQT_API TKeyStroke {
    /// The virtual key (VK_DELETE, 'V', ...), or 0 for a key they have no code for.
    uint16_t Key = 0;
    /// ssShift, ssCtrl and ssAlt as held.
    fw::TShiftState Shift = 0;
    /// The character the stroke types (Ctrl+V 22, Enter 13, Escape 27, the first byte of a
    /// typed UTF-8 character), or 0 for none.
    char Char = 0;
};

/// Translates a Qt key press into a stroke.
ZORPQT_API TKeyStroke TranslateKey(const QKeyEvent& Event);

} // namespace zorp::qt
