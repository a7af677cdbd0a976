#pragma once
// The bar library's keyboard and mouse hooks, shared by every manager of the program:
// installed with the first manager, removed with the last.
//
// Keyboard: the active chain of bar windows (an open menu, a toolbar in menu mode) gets
// every key first; Alt alone and F10 put the main menu bar into menu mode; any other key
// goes to the shortcut dispatch of the active form's manager: the main menu bar first, then
// every visible bar, and with Alt held the captions' accelerators. Keys of windows that are
// not forms with a manager (message boxes, the find dialog) pass untouched.
//
// The head of the active chain takes its keys through its KeyDown and KeyUp handlers: a menu
// window overrides them for its own navigation.
//
// Mouse: a press anywhere outside the active chain closes it; a right-button release over a
// control opens its popup-menu link.
#include "InputHooks.h"

#include <functional>

class QWidget;
class TdxBarManager;

class TdxBarHooks : public TInputHook {
public:
    bool KeyboardHook(const TKeyHookMessage& message) override;
    bool MouseHook(const TMouseHookMessage& message) override;
    // Another program took the activation: an Alt pressed before it is forgotten, so that
    // its release on coming back does not enter menu mode.
    void ActivationChanged(bool active) override;

private:
    bool altPressed_ = false;
    bool swallowKeyUp_ = false;
    int swallowedKey_ = 0;
    bool mouseBusy_ = false;
};

// The manager whose form is the active window (or, for a form without one that allows it,
// the main form's); none for any other window.
TdxBarManager* dxBarKeyboardManager(QWidget* activeWindow);

// The shortcut dispatch of a manager: the item with the shortcut of key and shift on the main
// menu bar, then on every visible bar, is clicked; with Alt held, a caption's accelerator
// selects its link (and clicks it when it is the only one). True when the key was used.
bool dxBarDispatchShortCut(TdxBarManager* manager, int key, TShiftState shift);

// Opens the popup-menu link of the control that owns window at a screen point ((-1, -1)
// from the keyboard); answers whether a menu opened. Installed by the popup menus.
using TdxBarPopupMenuLinkHandler = std::function<bool(TdxBarManager* manager, QWidget* window, const TPoint& screen)>;
void dxBarSetPopupMenuLinkHandler(TdxBarPopupMenuLinkHandler handler);
