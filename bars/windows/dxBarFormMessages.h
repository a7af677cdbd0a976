#pragma once
// What the bars do with the messages of their managers' forms, as the platform's
// form-message hook reports them (FormMessages.h); the windows library installs it with the
// input hooks. Forms in design mode are left alone.
//
// - The form's activation shows its floating bars (unless the form is minimized); losing it
//   closes the manager's menus and hides them, except when the activation went to a window
//   of the program that is no form (a message box, the find dialog), or to the open
//   customizing window while the manager customizes. "No window of ours" (another program)
//   hides them too.
// - Minimizing the form hides them, restoring or maximizing shows them again; a close
//   request hides them, and a close the form refused brings them back.
// - A program's hiding of the form hides them.
// - While a manager customizes, activating a form the customizing window disabled activates
//   that window instead, and the window shows and hides with the served manager's form. The
//   window's own activation goes to the customizing window's notifications.
// - A change of the application's palette repaints every bar window with its brushes made
//   again; a change of its font gives the managers that follow the system's menu font
//   (UseSystemFont, or Scaled for its height) that font again, and their bars are measured
//   anew.
// - On an MDI frame: a change of the active child, or of a child's state, makes the frame's
//   manager update its MDI state (the system menu and the merged menu, dxBarManagerMDI.cpp);
//   the children's floating bars show for the active child only. The frame's activation
//   passes on to its active child's manager (its loss always, its gain unless the frame's
//   manager customizes).
// - A change of the work areas moves every floating bar (with a window or without) back
//   into the work area of the monitor nearest to it.
#include "FormMessages.h"
#include "WinTypes.h"

#include <functional>

class QWidget;
class TdxBarManager;

class TdxBarFormMessages : public TFormMessageListener {
public:
    void FormActivate(TCustomForm* form, bool active, QWidget* other) override;
    void FormWindowStateChanged(TCustomForm* form, TWindowState state) override;
    void FormShowChanged(TCustomForm* form, bool shown) override;
    void FormCloseRequest(TCustomForm* form) override;
    void FormCloseCancelled(TCustomForm* form) override;
    void MDIChildActivated(TCustomForm* frame) override;
    void MDIChildStateChanged(TCustomForm* frame, TCustomForm* child) override;
    void PaletteChanged() override;
    void FontChanged() override;
    void WorkAreaChanged() override;
};

// Installs the bars' listener of the form messages (the windows library does, with the
// input hooks); false removes it when it is the installed one.
void dxBarInstallFormMessages(bool install);

// The floating-bar update of the manager's form becoming active or inactive; other is the
// window on the other side (none: no window of the program). Not re-entered for a manager
// while it runs (dxBarInsideActivation). The customizing window runs it for its owner's
// manager when it is activated itself.
void dxBarUpdateFloatingBars(TdxBarManager* manager, bool active, QWidget* other);
bool dxBarInsideActivation(const TdxBarManager* manager);

// The form of the open customizing window (none while none is open), as the customizing
// window tells it: activating it is no "other form" for a manager that customizes, and the
// menus of its own bar windows close with the owner form's activation. An empty function
// (the default) knows no such window.
void dxBarSetCustomizingWindowFormFunction(std::function<TCustomForm*()> fn);

// Moves each floating bar of the manager into the work area of the monitor nearest to it:
// its window, or, for a bar without one, its float position.
void dxBarKeepFloatingBarsInWorkArea(TdxBarManager* manager);

// F1 that no shortcut took: the help context of the active bar window's selected control, or
// of the nearest menu up its chain whose owning control has one; without an active bar
// window, of the control under the cursor. Closes the open menus first, then passes a
// context found to Application->HelpContext. Answers whether a context was found (an open
// menu takes the key whatever it finds).
bool dxBarItemHelp(const TPoint& cursor);
