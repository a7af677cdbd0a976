#pragma once
// What the manager and the bars need from the bar windows library beyond the item controls
// (dxBarWindowsInterface.h): the thread hooks and the hint window shared by all managers, a
// bar's window, the drag loop, and the item links of a popup menu. The installed services
// start as a null implementation that has no windows, so the model runs headless.
#include "dxBarTypes.h"

#include <QRect>

class TCustomdxBarControl;
class TPersistent;
class TdxBar;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarPopupMenu;

// What changed for a bar window (or for every bar window of a manager).
enum class TdxBarWindowChange {
    Caption,        // the bar's caption
    Layout,         // re-lay out and repaint
    Frame,          // recompute the non-client frame
    Font,           // font-changed message
    Style,          // the manager's style changed
    Repaint,        // repaint only
    Brushes,        // rebuild the brushes (image-list background colour)
    CloseButton,    // close or help button changed on the main menu bar
    Lock,           // LockUpdate(True) on a bar window
    Unlock,         // LockUpdate(False) on a bar window
};

class TdxBarWindowServices {
public:
    virtual ~TdxBarWindowServices() = default;

    // The three thread hooks (keyboard, mouse, call-window-procedure) and the hint window;
    // installed with the first manager, removed with the last.
    virtual void InstallHooks() {}
    virtual void RemoveHooks() {}
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
    // Asks the active bar window of the manager, if any, to close all its menus.
    virtual void CloseActiveMenus(TdxBarManager* /*manager*/) {}

    // The links of a popup menu (a drop-down button's menu); none without the popup menus.
    virtual TdxBarItemLinks* PopupMenuItemLinks(TdxBarPopupMenu* /*menu*/) const { return nullptr; }

    // --- what item links need from the bar window that shows them
    // The window is in the library-wide live list and has its window handle.
    virtual bool IsBarWindowLive(TCustomdxBarControl* /*window*/) const { return false; }
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
    // The links of the bar window that opened window (its parent bar window); none for a
    // toolbar or a window without a parent.
    virtual TdxBarItemLinks* ParentBarWindowLinks(TCustomdxBarControl* /*window*/) const { return nullptr; }
    // The item of the button whose drop-down opened popupMenu (a TdxBarPopupMenu); none
    // when the menu was not dropped down from a button.
    virtual TdxBarItem* PopupMenuDropDownItem(TPersistent* /*popupMenu*/) const { return nullptr; }
    // Handles a change of links owned by a popup menu or one of the library's own popups;
    // false for owners the windows library does not handle (the manager's Changed runs).
    virtual bool HandleLinksChanged(TdxBarItemLinks* /*links*/) { return false; }
};

// The installed services (a do-nothing instance when none is installed).
TdxBarWindowServices& dxBarWindowServices();
// Installs the services; nullptr goes back to the do-nothing instance.
void dxBarSetWindowServices(TdxBarWindowServices* services);
