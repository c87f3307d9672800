// The keyboard as a user works it. PressKey sends one key stroke to a
// control the way the window system delivers it: WM_KEYDOWN with the
// virtual key, then WM_CHAR with the character the stroke produces (if
// any), then WM_KEYUP; while they run, KeyboardShiftState answers the
// stroke's shift state. The character is sent even when a KeyDown handler
// swallowed the key, since it was produced before the key was handled.
//
// Characters of strokes: letters give their lower-case character, with
// Shift the upper-case one, with Ctrl the control code (Ctrl+C 3, Ctrl+V
// 22, Ctrl+X 24); digits and space give themselves; VK_BACK 8, VK_TAB 9,
// VK_RETURN 13 (with Ctrl 10), VK_ESCAPE 27. Alt strokes and other keys
// give no character.
//
// A disabled or hidden control, like a real one, gets no input: the
// helpers then send nothing. The form overloads deliver to the form's
// active control (nothing when there is none).
#pragma once

#include "Messages.h"

#include <cstdint>
#include <string>

namespace zorp::fw {

class TControl;
class TCustomForm;
class TWinControl;

// The shift state of the key message being handled.
TShiftState KeyboardShiftState();

// The character a stroke produces, or 0.
char KeyStrokeChar(uint16_t Key, TShiftState Shift);

void PressKey(TWinControl& Control, uint16_t Key, TShiftState Shift = 0);
// Types each character of Text: printable ASCII as the key stroke that
// produces it (with Shift where needed), line breaks ("\r\n", "\n" or
// "\r") as VK_RETURN, and any other byte as a WM_CHAR of its own.
void TypeText(TWinControl& Control, const std::string& Text);

void PressKey(TCustomForm& Form, uint16_t Key, TShiftState Shift = 0);
void TypeText(TCustomForm& Form, const std::string& Text);

// Mouse: a click is a button-down and a button-up at (X, Y); a double
// click is down, up, double-click, up. Client coordinates.
void ClickControl(TControl& Control, int16_t X = 1, int16_t Y = 1, TShiftState Shift = 0);
void DoubleClickControl(TControl& Control, int16_t X = 1, int16_t Y = 1);

} // namespace zorp::fw
