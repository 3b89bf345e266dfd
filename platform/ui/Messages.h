// The window system's messages, key codes and modifier sets. Controls receive Qt
// input translated into these, so code above the window layer reads like the
// desktop system it was written for.
#pragma once

#include <cstdint>

#include "platform/framework/Set.h"
#include "platform/gdi/WinTypes.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_INITMENU = 0x0116;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
inline constexpr UINT WM_PALETTECHANGED = 0x0311;
inline constexpr UINT WM_USER = 0x0400;

// Mouse message wParam bits.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// WM_ACTIVATE low word.
inline constexpr WORD WA_INACTIVE = 0;
inline constexpr WORD WA_ACTIVE = 1;
inline constexpr WORD WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WINDOWPOS flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Extended window styles.
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Virtual-key codes.
inline constexpr WORD VK_LBUTTON = 1;
inline constexpr WORD VK_RBUTTON = 2;
inline constexpr WORD VK_MBUTTON = 4;
inline constexpr WORD VK_BACK = 8;
inline constexpr WORD VK_TAB = 9;
inline constexpr WORD VK_RETURN = 13;
inline constexpr WORD VK_SHIFT = 16;
inline constexpr WORD VK_CONTROL = 17;
inline constexpr WORD VK_MENU = 18;
inline constexpr WORD VK_PAUSE = 19;
inline constexpr WORD VK_CAPITAL = 20;
inline constexpr WORD VK_ESCAPE = 27;
inline constexpr WORD VK_SPACE = 32;
inline constexpr WORD VK_PRIOR = 33;
inline constexpr WORD VK_NEXT = 34;
inline constexpr WORD VK_END = 35;
inline constexpr WORD VK_HOME = 36;
inline constexpr WORD VK_LEFT = 37;
inline constexpr WORD VK_UP = 38;
inline constexpr WORD VK_RIGHT = 39;
inline constexpr WORD VK_DOWN = 40;
inline constexpr WORD VK_INSERT = 45;
inline constexpr WORD VK_DELETE = 46;
inline constexpr WORD VK_F1 = 112;

struct TMessage {
  UINT Msg = WM_NULL;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

inline WORD LoWord(uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
// Mouse messages carry the client position as two signed 16-bit halves.
inline LPARAM MakePointParam(int32_t x, int32_t y) {
  return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                             static_cast<uint16_t>(x));
}
inline TPoint PointFromParam(LPARAM param) {
  return {static_cast<int16_t>(param & 0xFFFF), static_cast<int16_t>((param >> 16) & 0xFFFF)};
}

// Sent with WM_WINDOWPOSCHANGED; LParam points at it.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int32_t x = 0;
  int32_t y = 0;
  int32_t cx = 0;
  int32_t cy = 0;
  UINT flags = 0;
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;
