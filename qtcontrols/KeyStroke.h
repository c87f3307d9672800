// A Qt key event as the headless controls' key rules see it: a virtual key,
// a shift state and the character the stroke types.
#pragma once

#include "../framework/controls/Messages.h"
#include "Export.h"

#include <QFlags>
#include <Qt>
#include <cstdint>
#include <functional>

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
/// ssShift, ssCtrl and ssAlt for the Qt modifiers held.
ZORPQT_API fw::TShiftState ShiftState(Qt::KeyboardModifiers Modifiers);

/// A headless control's key handlers (protected there; a widget's subclass of its control
/// reaches them).
struct ZORPQT_API TKeyHandlers {
    /// The control's KeyDown: may act on the key and may swallow it (set it to 0).
    std::function<void(uint16_t& Key, fw::TShiftState Shift)> KeyDown;
    /// The control's KeyPress: may act on the character and may swallow it (set it to 0).
    std::function<void(char& Key)> KeyPress;
};

/// What became of a stroke in a control's key handlers.
struct ZORPQT_API TStrokeResult {
    /// KeyDown swallowed the key, or KeyPress the character.
    bool Swallowed = false;
    /// The character after KeyPress (0 without one).
    char Char = 0;
};

/// Runs Stroke through Handlers as the window system delivers a key, with its shift state
/// held: KeyDown, then (unless it swallowed the key) KeyPress with the character.
ZORPQT_API TStrokeResult RunStroke(const TKeyStroke& Stroke, const TKeyHandlers& Handlers);

} // namespace zorp::qt
