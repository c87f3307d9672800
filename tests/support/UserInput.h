// A user at the keyboard and the mouse, for tests of controls. PressKey
// sends one key stroke to a control the way the window system delivers it:
// WM_KEYDOWN with the virtual key, then WM_CHAR with the character the
// stroke produces (if any, see fw::KeyStrokeChar), then WM_KEYUP; while they
// run, fw::KeyboardShiftState answers the stroke's shift state. The
// character is sent even when a KeyDown handler swallowed the key, since it
// was produced before the key was handled.
//
// A disabled or hidden control, like a real one, gets no input: the
// helpers then send nothing. The form overloads deliver to the form's
// active control (nothing when there is none).
#pragma once

#include "framework/controls/Messages.h"

#include <cstdint>
#include <string>

namespace zorp::fw {
class TControl;
class TCustomForm;
class TWinControl;
} // namespace zorp::fw

namespace zorp::test {

void PressKey(fw::TWinControl& Control, uint16_t Key, fw::TShiftState Shift = 0);
// Types each character of Text: printable ASCII as the key stroke that
// produces it (with Shift where needed), line breaks ("\r\n", "\n" or
// "\r") as VK_RETURN, and any other byte as a WM_CHAR of its own.
void TypeText(fw::TWinControl& Control, const std::string& Text);

void PressKey(fw::TCustomForm& Form, uint16_t Key, fw::TShiftState Shift = 0);
void TypeText(fw::TCustomForm& Form, const std::string& Text);

// Mouse: a click is a button-down and a button-up at (X, Y); a double
// click is down, up, double-click, up. Client coordinates.
void ClickControl(fw::TControl& Control, int16_t X = 1, int16_t Y = 1, fw::TShiftState Shift = 0);
void DoubleClickControl(fw::TControl& Control, int16_t X = 1, int16_t Y = 1);

} // namespace zorp::test
