#pragma once
// Virtual-key codes, shift states and shortcuts as the component library encodes them,
// with the mapping between Qt's key codes and virtual keys.
#include <QFlags>
#include <QtCore/qnamespace.h>
#include <QString>
#include <cstdint>

class QMouseEvent;

enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_PRINT = 0x2A,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD1,
    VK_NUMPAD2,
    VK_NUMPAD3,
    VK_NUMPAD4,
    VK_NUMPAD5,
    VK_NUMPAD6,
    VK_NUMPAD7,
    VK_NUMPAD8,
    VK_NUMPAD9,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2,
    VK_F3,
    VK_F4,
    VK_F5,
    VK_F6,
    VK_F7,
    VK_F8,
    VK_F9,
    VK_F10,
    VK_F11,
    VK_F12,
    VK_F13,
    VK_F14,
    VK_F15,
    VK_F16,
    VK_F17,
    VK_F18,
    VK_F19,
    VK_F20,
    VK_F21,
    VK_F22,
    VK_F23,
    VK_F24,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
};

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// A shortcut: the virtual key in the low byte, scShift/scCtrl/scAlt above it; 0 is none.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Key and modifiers as one shortcut; only ssShift, ssCtrl and ssAlt count.
TShortCut ShortCut(int key, TShiftState shift);
// Splits a shortcut into its virtual key and shift state.
void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift);
// "Ctrl+Shift+Z", "F5", "Ctrl+N"; empty for none or a key without a name.
QString ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText. Modifier and key names are matched without regard to
// case; unknown text gives 0.
TShortCut TextToShortCut(const QString& text);

// Qt key code (Qt::Key) to virtual key, 0 when the key has no virtual-key equivalent.
// With Qt::KeypadModifier, digits and operators give the numeric-pad keys.
int QtKeyToVK(int qtKey, Qt::KeyboardModifiers modifiers = {});
// Virtual key to Qt key code, 0 when unknown.
int VKToQtKey(int vk);
// Qt keyboard modifiers to a shift state (Shift, Ctrl, Alt).
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);
// A mouse event's shift state: its modifiers and the buttons held down.
TShiftState ShiftStateFromMouse(const QMouseEvent* event);
Qt::KeyboardModifiers QtModifiersFromShiftState(TShiftState shift);
