// Messages of the controls layer. A control receives every input and every
// request as a TMessage (a number, two parameters and a result) through
// TControl::Perform, and dispatches it by number to a virtual handler (see
// Control.h). The numbers are those of the window system the framework
// comes from, so code written against them reads the same here.
//
// Parameters that carry pointers: WM_PAINT and WM_ERASEBKGND take the
// device context as a TCanvas* in WParam (0 for the control's own window
// canvas); WM_SETTEXT takes a NUL-terminated const char* in LParam;
// CM_GETDATALINK answers the data link's address in Result. Mouse messages
// pack the client coordinates into LParam (MakeLParam) and carry the shift
// state (TShiftState) in WParam. Key messages carry the virtual key code
// (WM_KEYDOWN, WM_KEYUP) or the character (WM_CHAR) in WParam; the shift
// state of a key message is the keyboard's (KeyboardShiftState, Keyboard.h).
#pragma once

#include "../base/Export.h"

#include <cstdint>

namespace zorp::fw {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct ZORP_API TMessage {
    uint32_t Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Window messages.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_SETTEXT = 0x000C;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_CUT = 0x0300;
inline constexpr uint32_t WM_COPY = 0x0301;
inline constexpr uint32_t WM_PASTE = 0x0302;
inline constexpr uint32_t WM_CLEAR = 0x0303;

// The framework's control messages.
inline constexpr uint32_t CM_BASE = 0xB000;
inline constexpr uint32_t CM_ACTIVATE = CM_BASE + 0x00;
inline constexpr uint32_t CM_COLORCHANGED = CM_BASE + 0x0B;
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 0x0E;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 0x12;
inline constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 0x13;
inline constexpr uint32_t CM_ENTER = CM_BASE + 0x1A;
inline constexpr uint32_t CM_EXIT = CM_BASE + 0x1B;
inline constexpr uint32_t CM_GETDATALINK = CM_BASE + 0x2D;

static_assert(CM_ENTER == 0xB01A && CM_EXIT == 0xB01B && CM_GETDATALINK == 0xB02D &&
              CM_TEXTCHANGED == 0xB012 && CM_FONTCHANGED == 0xB00E);

// WM_SIZE kinds (WParam).
inline constexpr WPARAM SIZE_RESTORED = 0;

// Virtual key codes (WM_KEYDOWN / WM_KEYUP WParam). Letters and digits are
// their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
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

// Shift state of keyboard and mouse messages.
using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssDouble = 0x10;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Redraw flags of TWinControl::RedrawWindow.
inline constexpr uint32_t RDW_INVALIDATE = 0x0001;
inline constexpr uint32_t RDW_ERASE = 0x0004;
inline constexpr uint32_t RDW_FRAME = 0x0400;

// Window creation parameters (TWinControl::CreateParams).
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr uint32_t CS_VREDRAW = 0x0001;
inline constexpr uint32_t CS_HREDRAW = 0x0002;

// Mouse coordinates packed as the low and high 16 bits of LParam.
constexpr LPARAM MakeLParam(int16_t X, int16_t Y) {
    return static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(X)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(Y)) << 16));
}
constexpr int16_t LParamX(LPARAM LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(LParam & 0xFFFF));
}
constexpr int16_t LParamY(LPARAM LParam) {
    return static_cast<int16_t>(static_cast<uint16_t>((LParam >> 16) & 0xFFFF));
}

} // namespace zorp::fw
