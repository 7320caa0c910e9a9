#pragma once

#include <Qt>

class QKeyEvent;

// Classic key codes: `KeyCode` is the Windows virtual-key code and `Shift` the mask
// 1 Shift, 2 Ctrl, 4 Alt — on every system.
namespace keys {

enum ShiftMask : int { ShiftMaskShift = 1, ShiftMaskCtrl = 2, ShiftMaskAlt = 4 };

enum VirtualKey : int {
    VK_Back = 8,
    VK_Tab = 9,
    VK_Return = 13,
    VK_Shift = 16,
    VK_Control = 17,
    VK_Menu = 18,
    VK_Escape = 27,
    VK_Space = 32,
    VK_Prior = 33,
    VK_Next = 34,
    VK_End = 35,
    VK_Home = 36,
    VK_Left = 37,
    VK_Up = 38,
    VK_Right = 39,
    VK_Down = 40,
    VK_Insert = 45,
    VK_Delete = 46,
    VK_F1 = 112,
    VK_F9 = 120,
    VK_F10 = 121,
    VK_F11 = 122,
    VK_F12 = 123,
    VK_OEM_1 = 186, // the colon / semicolon key
    VK_OEM_Plus = 187,
    VK_OEM_Comma = 188, // the comma key
    VK_OEM_Minus = 189,
    VK_OEM_Period = 190,
};

// The virtual-key code of a key event; a typed colon reports 186 and a typed comma 188 whatever the
// keyboard layout. 0 when the key has no classic code.
int virtualKey(const QKeyEvent& e);
int virtualKey(int qtKey, const QString& text);

// The Shift mask of a set of keyboard modifiers (on macOS the Command key counts as Ctrl, as Qt maps it).
int shiftMask(Qt::KeyboardModifiers m);

} // namespace keys
