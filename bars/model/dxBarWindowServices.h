#pragma once
// The windows library as the model sees it: the thread hooks and the hint window shared by
// all managers, a bar's window, the drag loops, what item links ask of the bar window showing
// them, and the windows, loops and painters the model hands on without touching them. The
// windows library implements the services and installs them at start-up; until then a
// do-nothing instance answers, so the model runs headless.
#include "Graphics.h"
#include "Keys.h"
#include "WinTypes.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QEvent;
class QFont;
class TCustomdxBarControl;
class TPersistent;
class TdxBar;
class TdxBarCustomCombo;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarPopupMenu;
class TdxBarPopupMenuLinks;
class TdxDockControl;

// The list that drops down below a string combo (TdxBarCustomCombo). The windows library
// makes it, owned by the combo; the combo fills, drops and closes it through this.
class TdxBarDropDownList {
public:
    virtual ~TdxBarDropDownList() = default;
    // The list's own object (for guarded pointers) and its window.
    virtual QObject* ListObject() = 0;
    virtual TNativeWindow* ListWidget() const = 0;
    // Takes a copy of the combo's entries, selects index and sizes itself for the combo's
    // live link.
    virtual void Prepare(int index) = 0;
    // Shows the list at the preferred screen point, kept inside the work area, without
    // activation; while the left button is still down the list tracks the pointer so that
    // a drag and a release choose an entry.
    virtual void Drop(QPoint preferred, QSize linkSize, bool vertical) = 0;
    virtual void CloseList() = 0;
    virtual bool ListVisible() const = 0;
    virtual void SelectIndex(int index) = 0;
    // A key the combo's editor passes on while the list is open.
    virtual void ListKeyDown(int key, TShiftState shift) = 0;
};

// A local event loop the model waits in (a popup menu's Popup).
class TdxBarModalWait {
public:
    virtual ~TdxBarModalWait() = default;
    // Returns once Stop is called (also from inside the loop) or the application quits.
    virtual void Run() = 0;
    virtual void Stop() = 0;
};

// What changed for a bar window (or for every bar window of a manager).
enum class TdxBarWindowChange {
    Caption,       // the bar's caption
    Layout,        // re-lay out and repaint
    Frame,         // recompute the non-client frame
    Font,          // font-changed message
    Style,         // the manager's style changed
    Repaint,       // repaint only
    Brushes,       // rebuild the brushes (image-list background colour)
    CloseButton,   // close or help button changed on the main menu bar
    DockingStyle,  // the window's dock turned to another side: the window turns with it
    Lock,          // LockUpdate(True) on a bar window
    Unlock,        // LockUpdate(False) on a bar window
};

class TdxBarWindowServices {
public:
    virtual ~TdxBarWindowServices() = default;

    // The three thread hooks (keyboard, mouse, call-window-procedure) and the hint window;
    // installed with the first manager, removed with the last.
    virtual void InstallHooks() {}
    virtual void RemoveHooks() {}
    // The manager's owner form reports its messages (activation, window state, close) to the
    // windows library.
    virtual void ManageOwnerForm(TdxBarManager* /*manager*/) {}
    virtual void CreateHintWindow() {}
    virtual void FreeHintWindow() {}

    // Creates the bar's window and shows it at the bar's placement: docked in
    // RealDockControl() at (DockedLeft, DockedTop), or floating at (FloatLeft, FloatTop).
    virtual void ShowBar(TdxBar* /*bar*/) {}
    // Tells the window it is about to be hidden, then frees it.
    virtual void HideBar(TdxBar* /*bar*/) {}
    virtual void BarWindowChanged(TdxBar* /*bar*/, TdxBarWindowChange /*change*/) {}
    // Every bar window of the manager (docked and floating, menus included).
    virtual void ManagerWindowsChanged(TdxBarManager* /*manager*/, TdxBarWindowChange /*change*/) {}
    // The modal drag of a bar window between dock areas and the floating state.
    virtual void DragBar(TdxBar* /*bar*/) {}
    // The modal drag of an item (or of one of its links) onto the manager's bars and menus
    // while customizing.
    virtual void DragItem(TdxBarManager* /*manager*/, TdxBarItem* /*item*/, TdxBarItemLink* /*link*/) {}
    // Lays the dock's rows of bar windows out and sizes the dock to them.
    virtual void UpdateDock(TdxDockControl* /*dock*/) {}
    // The dock is going: its rows are forgotten.
    virtual void DockDestroyed(TdxDockControl* /*dock*/) {}
    // Asks the active bar window of the manager, if any, to close all its menus.
    virtual void CloseActiveMenus(TdxBarManager* /*manager*/) {}
    // While customizing, the selection went from a control of left to one of entered (none):
    // the menus opened from left close, unless entered is one of them.
    virtual void SelectionLeftWindow(TCustomdxBarControl* /*left*/, TCustomdxBarControl* /*entered*/) {}

    // Shows the popup menu's links in a menu window at (x, y); closedUp runs once that window
    // has closed. False when no window was shown.
    virtual bool ShowPopupMenu(TdxBarPopupMenu* /*menu*/, int /*x*/, int /*y*/, std::function<void()> /*closedUp*/)
    {
        return false;
    }
    // Closes the popup menu's window, if it has one.
    virtual void ClosePopupMenu(TdxBarPopupMenu* /*menu*/) {}
    // The one hint window of the thread: shown at a screen point for a manager, hidden.
    virtual void ActivateHint(const TPoint& /*at*/, const QString& /*text*/, TdxBarManager* /*manager*/) {}
    virtual void HideHint() {}
    virtual bool HintVisible() const { return false; }
    // The drop-down list of a string combo, owned by the combo; none headless.
    virtual TdxBarDropDownList* CreateDropDownList(TdxBarCustomCombo* /*combo*/) { return nullptr; }
    // The list of the manager's toolbars at a screen point (a right click on a dock).
    virtual void ShowToolbarsPopup(TdxBarManager* /*manager*/, const TPoint& /*screen*/) {}
    // The links of a popup menu (a drop-down button's menu); none without the popup menus.
    virtual TdxBarItemLinks* PopupMenuItemLinks(TdxBarPopupMenu* /*menu*/) const { return nullptr; }

    // --- what item links need from the bar window that shows them
    // The window is in the library-wide live list and has its window handle.
    virtual bool IsBarWindowLive(TCustomdxBarControl* /*window*/) const { return false; }
    // The window is in the active chain (menu or keyboard mode).
    virtual bool IsBarWindowActive(TCustomdxBarControl* /*window*/) const { return false; }
    // The control whose item rectangle in the window holds a screen point; none elsewhere.
    virtual TdxBarItemControl* BarWindowControlAt(TCustomdxBarControl* /*window*/, const TPoint& /*screen*/) const
    {
        return nullptr;
    }
    // The window is in customizing state.
    virtual bool IsBarWindowCustomizing(TCustomdxBarControl* /*window*/) const { return false; }
    virtual TdxBarItemControl* BarWindowSelectedControl(TCustomdxBarControl* /*window*/) const { return nullptr; }
    // The window's selected control becomes none.
    virtual void DeselectBarWindowControl(TCustomdxBarControl* /*window*/) {}
    // Re-lays the window out now.
    virtual void RelayoutBarWindow(TCustomdxBarControl* /*window*/) {}
    // Asks the window to re-lay itself out later (a posted request).
    virtual void PostBarWindowRelayout(TCustomdxBarControl* /*window*/) {}
    virtual QRect BarWindowClientRect(TCustomdxBarControl* /*window*/) const { return {}; }
    // widget lies inside the window (is it or one of its descendants).
    virtual bool IsInsideBarWindow(TCustomdxBarControl* /*window*/, const TNativeWindow* /*widget*/) const
    {
        return false;
    }
    // The links of the bar window that opened window (its parent bar window); none for a
    // toolbar or a window without a parent.
    virtual TdxBarItemLinks* ParentBarWindowLinks(TCustomdxBarControl* /*window*/) const { return nullptr; }
    // The item of the button whose drop-down opened popupMenu (a TdxBarPopupMenu); none
    // when the menu was not dropped down from a button.
    virtual TdxBarItem* PopupMenuDropDownItem(TPersistent* /*popupMenu*/) const { return nullptr; }
    // Handles a change of links owned by a popup menu or one of the library's own popups;
    // false for owners the windows library does not handle (the manager's Changed runs).
    virtual bool HandleLinksChanged(TdxBarItemLinks* /*links*/) { return false; }

    // --- windows and painters the model hands on without touching them
    // Whoever holds the mouse capture lets it go.
    virtual void ReleaseMouseCapture() {}
    // Runs a local event loop until Stop (or until the application quits); none headless.
    virtual std::unique_ptr<TdxBarModalWait> CreateModalWait() { return nullptr; }
    // Shows a window a combo's handler supplied at the preferred screen point, kept inside
    // the work area there, without activation; hides it.
    virtual void ShowDropDownWindow(TNativeWindow* /*window*/, QPoint /*preferred*/, QSize /*linkSize*/,
                                    bool /*vertical*/)
    {}
    virtual void HideDropDownWindow(TNativeWindow* /*window*/) {}
    // Paints one entry of a string combo with font: ownerDraw when there is one, else the
    // standard entry (the highlight when selected, text at left + 2, top + 2 in a flat text
    // box, a focus frame when focused). The painter's state is put back afterwards.
    virtual void DrawComboEntry(TCanvas& /*p*/, const QFont& /*font*/, const QString& /*text*/, const TRect& /*rect*/,
                                unsigned /*state*/, bool /*flatInterior*/, const std::function<void()>& /*ownerDraw*/)
    {}
    // A dock window's updates are switched off (and on again) around a batch of changes.
    virtual void SetDockRedraw(TdxDockControl* /*dock*/, bool /*value*/) {}
    // An event of a dock's window: true when the services took it (a right press outside
    // customizing shows the list of the manager's toolbars).
    virtual bool DockWindowEvent(TdxDockControl* /*dock*/, QEvent* /*event*/) { return false; }
    // A context menu asked for on window wnd at a screen point ((-1, -1): from the keyboard,
    // at the caret): the first of the manager's popup menu links for a control holding wnd
    // that allows it shows its menu. True when a link allowed it.
    virtual bool ShowLinkedPopupMenu(TdxBarPopupMenuLinks* /*links*/, TNativeWindow* /*wnd*/, const TPoint& /*screen*/)
    {
        return false;
    }
};

// The installed services (a do-nothing instance when none is installed).
TdxBarWindowServices& dxBarWindowServices();
// Installs the services; nullptr goes back to the do-nothing instance.
void dxBarSetWindowServices(TdxBarWindowServices* services);
