#pragma once
// The thread's keyboard and mouse hooks: one application-wide event filter that sees each
// key and mouse event once, when Qt hands it to a top-level window and before any widget
// gets it, and turns it into a call of the installed hook. The hook may swallow the event.
//
// - Keyboard: every key press and release (auto-repeated presses too) with its virtual key,
//   the modifiers held and whether any other key is down (the keyboard state).
// - Mouse: presses, releases, double clicks and moves with the screen point and the widget
//   that gets the message: the capture owner, else the widget under the pointer.
// - Dragging across windows: Qt sends every move and the release of a held button to the
//   window that took the press. When no window holds the capture and the pointer is over
//   another window of this layer that takes dragged input (TWindow::TakesDraggedMouse),
//   the filter gives that window the move or the release instead, so that a press in one
//   menu and a release in another clicks there.
//
// - Modal loops: a local loop of its own (a bar or a menu being dragged) takes the input
//   first while it runs. Each such loop pushes its hook with a TModalLoopHook bracket; the
//   innermost loop's hook is offered every key and mouse message before the installed hook,
//   and what it swallows goes no further. The filter stays on the application while a loop
//   runs, with or without an installed hook.
//
// Nothing here knows bars or menus; the bar library installs its hook object with its
// first manager and removes it with the last.
#include "Keys.h"
#include "WinTypes.h"

class QWidget;

struct TKeyHookMessage {
    int Key = 0;  // virtual key; 0 for a key without one
    bool KeyUp = false;
    bool AutoRepeat = false;
    TShiftState Shift;
    // A key other than this one is held down.
    bool OtherKeysDown = false;
};

enum class TMouseHookKind { Move, ButtonDown, ButtonUp, DoubleClick };

struct TMouseHookMessage {
    TMouseHookKind Kind = TMouseHookKind::Move;
    // VK_LBUTTON, VK_RBUTTON or VK_MBUTTON; 0 for a move.
    int Button = 0;
    TPoint Screen;
    // The widget that gets the message (after re-targeting); may be none.
    QWidget* Window = nullptr;
};

class TInputHook {
public:
    virtual ~TInputHook() = default;
    // True swallows the key: no widget sees it.
    virtual bool KeyboardHook(const TKeyHookMessage& /*message*/) { return false; }
    // True swallows the mouse message.
    virtual bool MouseHook(const TMouseHookMessage& /*message*/) { return false; }
    // The application gained or lost the activation (another program came to the front):
    // keys held or half-pressed before are not this application's any more.
    virtual void ActivationChanged(bool /*active*/) {}
};

// Installs the hook (the filter goes on the application); nullptr removes it. One hook at
// a time: installing replaces the previous one.
void SetInputHook(TInputHook* hook);
TInputHook* InputHook();
// Offers the input to hook first for as long as the bracket lives. Brackets nest; leaving
// one takes back only its own hook, even out of order.
class TModalLoopHook {
public:
    explicit TModalLoopHook(TInputHook& hook);
    ~TModalLoopHook();
    TModalLoopHook(const TModalLoopHook&) = delete;
    TModalLoopHook& operator=(const TModalLoopHook&) = delete;

private:
    TInputHook& hook_;
};
// A modal loop's hook takes the input now.
bool InModalLoop();
// The keyboard state as the filter saw it: the key is held down.
bool IsKeyDown(int vk);
// Forgets every held key (the application lost the keyboard).
void ClearKeyboardState();
// The application's activation changed: a loss forgets the keyboard state; the hook is told
// either way. Called by the filter when Qt reports it.
void InputActivationChanged(bool active);
