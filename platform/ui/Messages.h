// Window messages: the numbers, the message record and the virtual key codes of the platform.
//
// A control receives messages in its WndProc (Controls.h). SendMessage and Perform deliver at
// once; PostMessage queues for the application's message loop (Forms.h). The system messages
// keep their usual numbers; the control notifications (CM_*) are the platform's own and are
// only ever exchanged between platform classes. WM_USER and above belong to applications.
#pragma once

#include <cstdint>

namespace kv {

// Window handles are integers handed out on demand; 0 is "no window".
using HWND = std::intptr_t;
using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using Word = std::uint16_t;

// One message as a control's WndProc sees it. Result is what SendMessage answers.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// System messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;  // LParam: left in the low 16 bits, top in the high 16 bits
constexpr UINT WM_SIZE = 0x0005;  // WParam: SIZE_*; LParam: width low, height high
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_NEXTDLGCTL = 0x0028;  // WParam 0: next control; 1: previous
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_USER = 0x0400;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

// Answers to WM_GETDLGCODE: which keys a control keeps for itself instead of letting the form
// use them for dialog navigation (Tab, arrows, Enter, Esc).
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// Control notifications exchanged between the platform's classes.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_ENTER = CM_BASE + 2;
constexpr UINT CM_EXIT = CM_BASE + 3;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 4;  // to the form; LParam: the new TWinControl*
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 5;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 6;  // WParam: the new visibility
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 7;
constexpr UINT CM_FONTCHANGED = CM_BASE + 8;  // the control's own font changed
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 9;
constexpr UINT CM_COLORCHANGED = CM_BASE + 10;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 11;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 12;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 13;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 14;
constexpr UINT CM_DIALOGKEY = CM_BASE + 15;  // WParam: key; LParam: shift state bits
constexpr UINT CM_DIALOGCHAR = CM_BASE + 16;
constexpr UINT CM_CHILDKEY = CM_BASE + 17;        // WParam: key; LParam: the TWinControl*
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 18;  // WParam: key; nonzero: the control keeps it
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_RELEASE = CM_BASE + 21;        // posted to a form by Release: free it
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 22;  // WParam: the TControl*; LParam: inserted
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 23;
constexpr UINT CM_CANCELMODE = CM_BASE + 24;
constexpr UINT CM_HINTSHOW = CM_BASE + 25;

// Virtual key codes (the letters and digits are their upper-case ASCII codes: 'A', '0').
constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;  // Alt
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;  // Page Up
constexpr Word VK_NEXT = 0x22;   // Page Down
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_EXECUTE = 0x2B;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;

// Packs two 16-bit values into an LPARAM the way WM_MOVE and WM_SIZE carry them.
constexpr LPARAM MakeLParam(int low, int high) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(low & 0xFFFF));
}
// The signed low and high 16-bit halves of a packed value (positions may be negative).
constexpr int LoWordSigned(LPARAM value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}
constexpr int HiWordSigned(LPARAM value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}

}  // namespace kv
