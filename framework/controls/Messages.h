// Messages of the controls layer: the message record, the message numbers,
// and the key codes and flags that messages carry.
#pragma once

#include "../base/Export.h"

#include <cstdint>

namespace zorp::fw {

/// The type of a message's first parameter: an unsigned integer that can hold a pointer.
using WPARAM = uintptr_t;
/// The type of a message's second parameter: a signed integer that can hold a pointer.
using LPARAM = intptr_t;
/// The type of a message's result: a signed integer that can hold a pointer.
using LRESULT = intptr_t;

/// A message: a number, two parameters and a result. A control receives every
/// input and every request as one through TControl::Perform, and dispatches it
/// by number to a virtual handler (see TControl). The numbers are those of the
/// window system the framework comes from, so code written against them reads
/// the same here.
///
/// Parameters that carry pointers: WM_PAINT and WM_ERASEBKGND take the device
/// context as a TCanvas* in WParam (0 for the control's own window canvas);
/// WM_SETTEXT takes a NUL-terminated const char* in LParam; CM_GETDATALINK
/// answers the data link's address in Result. Mouse messages pack the client
/// coordinates into LParam (MakeLParam) and carry the shift state (TShiftState)
/// in WParam. Key messages carry the virtual key code (WM_KEYDOWN, WM_KEYUP) or
/// the character (WM_CHAR) in WParam; the shift state of a key message is the
/// keyboard's (KeyboardShiftState).
struct ZORP_API TMessage {
    /// The message number (a WM_ or CM_ constant).
    uint32_t Msg = 0;
    /// The first parameter; what it holds depends on the message.
    WPARAM WParam = 0;
    /// The second parameter; what it holds depends on the message.
    LPARAM LParam = 0;
    /// The answer of the handler; 0 unless a handler sets it.
    LRESULT Result = 0;
};

// Window messages.

/// No message; a control does nothing with it.
inline constexpr uint32_t WM_NULL = 0x0000;
/// The control's window was made.
inline constexpr uint32_t WM_CREATE = 0x0001;
/// The control's window is being destroyed (after those of its children).
inline constexpr uint32_t WM_DESTROY = 0x0002;
/// The window's size changed: WParam SIZE_RESTORED, LParam the new width in
/// its low 16 bits and the new height in the next 16.
inline constexpr uint32_t WM_SIZE = 0x0005;
/// The window got or lost the input focus. The framework does not send them;
/// a form moves the focus with CM_EXIT and CM_ENTER.
/// @{
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
/// @}
/// Sets the window's text: LParam a NUL-terminated const char*.
inline constexpr uint32_t WM_SETTEXT = 0x000C;
/// Paints the control's content into the device context in WParam (a
/// TCanvas*, or 0 for the window's own canvas).
inline constexpr uint32_t WM_PAINT = 0x000F;
/// Paints the control's background into the device context in WParam (a
/// TCanvas*, or 0 for the window's own canvas); Result 1 when it did.
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
/// The window's bounds changed (sent after WM_SIZE when the size changed).
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
/// A key went down or up: WParam the virtual key code.
/// @{
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
/// @}
/// A key stroke typed a character: WParam the character.
inline constexpr uint32_t WM_CHAR = 0x0102;
/// The mouse moved over the control: WParam the shift state, LParam the
/// client coordinates. No control of the framework handles it.
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
/// The left mouse button went down, went up or was double-clicked over the
/// control: WParam the shift state, LParam the client coordinates
/// (MakeLParam).
/// @{
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
/// @}
/// Moves the selection to the clipboard.
inline constexpr uint32_t WM_CUT = 0x0300;
/// Copies the selection to the clipboard.
inline constexpr uint32_t WM_COPY = 0x0301;
/// Replaces the selection by the clipboard's text.
inline constexpr uint32_t WM_PASTE = 0x0302;
/// Deletes the selection.
inline constexpr uint32_t WM_CLEAR = 0x0303;

// The framework's control messages.

/// The first number of the framework's control messages.
inline constexpr uint32_t CM_BASE = 0xB000;
/// A form was activated. The framework does not send it.
inline constexpr uint32_t CM_ACTIVATE = CM_BASE + 0x00;
/// The control's Color, Enabled, Font, Text or Visible changed (for Visible,
/// WParam 1 when it became visible).
/// @{
inline constexpr uint32_t CM_COLORCHANGED = CM_BASE + 0x0B;
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 0x0E;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 0x12;
inline constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 0x13;
/// @}
/// The control got the focus (CM_ENTER) or is losing it (CM_EXIT); a handler
/// of CM_EXIT that raises keeps the focus where it is.
/// @{
inline constexpr uint32_t CM_ENTER = CM_BASE + 0x1A;
inline constexpr uint32_t CM_EXIT = CM_BASE + 0x1B;
/// @}
/// Asks a data-aware control for its data link: Result its address, or 0.
inline constexpr uint32_t CM_GETDATALINK = CM_BASE + 0x2D;

static_assert(CM_ENTER == 0xB01A && CM_EXIT == 0xB01B && CM_GETDATALINK == 0xB02D &&
              CM_TEXTCHANGED == 0xB012 && CM_FONTCHANGED == 0xB00E);

/// The WM_SIZE kind (WParam) of a window resized without being minimized or
/// maximized; the only kind the framework sends.
inline constexpr WPARAM SIZE_RESTORED = 0;

// Virtual key codes (WM_KEYDOWN / WM_KEYUP WParam). Letters and digits are
// their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).

/// The virtual key code of the Backspace, Tab, Enter, Shift, Ctrl, Alt, Esc,
/// Space, Page Up, Page Down, End, Home, Left, Up, Right, Down, Insert or
/// Delete key (in that order). Letters and digits are their upper-case ASCII
/// codes ('A' = 0x41, '0' = 0x30).
/// @{
inline constexpr uint16_t VK_BACK = 0x08;
inline constexpr uint16_t VK_TAB = 0x09;
inline constexpr uint16_t VK_RETURN = 0x0D;
inline constexpr uint16_t VK_SHIFT = 0x10;
inline constexpr uint16_t VK_CONTROL = 0x11;
inline constexpr uint16_t VK_MENU = 0x12;
inline constexpr uint16_t VK_ESCAPE = 0x1B;
inline constexpr uint16_t VK_SPACE = 0x20;
inline constexpr uint16_t VK_PRIOR = 0x21;
inline constexpr uint16_t VK_NEXT = 0x22;
inline constexpr uint16_t VK_END = 0x23;
inline constexpr uint16_t VK_HOME = 0x24;
inline constexpr uint16_t VK_LEFT = 0x25;
inline constexpr uint16_t VK_UP = 0x26;
inline constexpr uint16_t VK_RIGHT = 0x27;
inline constexpr uint16_t VK_DOWN = 0x28;
inline constexpr uint16_t VK_INSERT = 0x2D;
inline constexpr uint16_t VK_DELETE = 0x2E;
/// @}

/// The shift state of keyboard and mouse messages: a set of the ss flags.
using TShiftState = uint8_t;
/// Shift, Alt or Ctrl was held down during the key or mouse event.
/// @{
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
/// @}
/// The left mouse button is down (mouse-down events of the left button carry it).
inline constexpr TShiftState ssLeft = 0x08;
/// The mouse-down event is the second press of a double click.
inline constexpr TShiftState ssDouble = 0x10;

/// The mouse button of a mouse event: left, right or middle. The framework's
/// messages only report the left one.
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Redraw flags of TWinControl::RedrawWindow.

/// Redraw flag: invalidate the window (it counts as an Invalidate).
inline constexpr uint32_t RDW_INVALIDATE = 0x0001;
/// Redraw flag: erase the background, or redraw the frame. RedrawWindow only
/// records them (LastRedrawFlags).
/// @{
inline constexpr uint32_t RDW_ERASE = 0x0004;
inline constexpr uint32_t RDW_FRAME = 0x0400;
/// @}

// Window creation parameters (TWinControl::CreateParams).

/// Window style: a thin border around the window.
inline constexpr uint32_t WS_BORDER = 0x00800000;
/// Extended window style: a sunken client edge around the window.
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
/// Window class style: redraw the whole window when its height (CS_VREDRAW)
/// or width (CS_HREDRAW) changes. New windows have both.
/// @{
inline constexpr uint32_t CS_VREDRAW = 0x0001;
inline constexpr uint32_t CS_HREDRAW = 0x0002;
/// @}

/// Packs mouse coordinates as the low (X) and high (Y) 16 bits of LParam.
constexpr LPARAM MakeLParam(int16_t X, int16_t Y) {
    return static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(X)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(Y)) << 16));
}
/// The X coordinate packed into LParam (its low 16 bits, signed).
constexpr int16_t LParamX(LPARAM LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(LParam & 0xFFFF));
}
/// The Y coordinate packed into LParam (its bits 16 to 31, signed).
constexpr int16_t LParamY(LPARAM LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>((LParam >> 16) & 0xFFFF));
}

} // namespace zorp::fw
