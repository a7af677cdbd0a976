#pragma once
// The messages of the program's forms that the bar library follows, reported to one
// listener as plain calls, so that the library never sees a QEvent.
//
// Per managed form (ManageForm):
// - activation: the form's window became the active window, or stopped being it, with the
//   window on the other side: the one that was active before, or the one that is active now
//   (a top-level widget of this program; nullptr for none, as when another program took the
//   activation). Followed from Qt's focus window and the application's state.
// - window state: minimized, maximized or restored (wsNormal).
// - show and hide made by the program (not the window system's own, as when minimizing).
// - close requests of the window system (the close button): FormCloseRequest comes before
//   the form's Close runs, FormCloseCancelled after it when the form stayed open.
// - MDI: a frame's active child changed (another child, none, or a child freed), or one of
//   its children was minimized, maximized or restored. Both are reported on the frame; the
//   children themselves need not be managed.
// A freed form leaves the hook by itself.
//
// Application-wide: the application's palette or font changed, or a screen's work area (its
// available geometry or geometry) changed, or a screen came or went.
//
// Every call is guarded: an exception from the listener goes to the application's handler.
#include "ControlTypes.h"

class QWidget;
class TCustomForm;

class TFormMessageListener {
public:
    virtual ~TFormMessageListener() = default;
    virtual void FormActivate(TCustomForm* /*form*/, bool /*active*/, QWidget* /*other*/) {}
    virtual void FormWindowStateChanged(TCustomForm* /*form*/, TWindowState /*state*/) {}
    virtual void FormShowChanged(TCustomForm* /*form*/, bool /*shown*/) {}
    virtual void FormCloseRequest(TCustomForm* /*form*/) {}
    virtual void FormCloseCancelled(TCustomForm* /*form*/) {}
    virtual void MDIChildActivated(TCustomForm* /*frame*/) {}
    virtual void MDIChildStateChanged(TCustomForm* /*frame*/, TCustomForm* /*child*/) {}
    virtual void PaletteChanged() {}
    virtual void FontChanged() {}
    virtual void WorkAreaChanged() {}
};

// Installs the listener; nullptr removes it. One at a time: installing replaces the previous.
void SetFormMessageListener(TFormMessageListener* listener);
TFormMessageListener* FormMessageListener();
// Reports the form's messages from now on; managing a form twice manages it once.
void ManageForm(TCustomForm* form);
void UnmanageForm(TCustomForm* form);
bool IsFormManaged(const TCustomForm* form);
