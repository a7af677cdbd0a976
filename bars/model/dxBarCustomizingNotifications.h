#pragma once
// The customizing window as the model sees it: the routines that tell it of changes, and
// whether one is installed.
#include "WinTypes.h"

class QPoint;
class TCustomForm;
class TdxBar;
class TdxBarGroup;
class TdxBarItem;
class TdxBarManager;

// The customizing window's notification routines.
class TdxBarCustomizingNotifications {
public:
    virtual ~TdxBarCustomizingNotifications() = default;
    // True while a customizing window is open.
    virtual bool Exists() const { return false; }
    // Opens the window for manager (customizing mode began) and closes it (mode ended).
    virtual void Open(TdxBarManager* /*manager*/) {}
    virtual void Close(TdxBarManager* /*manager*/) {}
    // The open window as a form; none while no window is open (or for a window that is no
    // form). Its windows are no drop target and no "other form" of the bars' owner.
    virtual TCustomForm* Form() const { return nullptr; }
    // A mouse button went down on window (a widget of any top-level window of the program):
    // a press on a form the open window disabled, or on its bar windows, brings the open
    // window to the front.
    virtual void MousePressed(TNativeWindow* /*window*/) {}
    // The open window became the active window (active), or stopped being it; other is the
    // window on the other side (none: no window of the program).
    virtual void WindowActivated(bool /*active*/, TNativeWindow* /*other*/) {}
    virtual void StyleChanged() {}
    virtual void HelpButtonChanged() {}
    virtual void BarChanged(TdxBar* /*bar*/) {}
    virtual void ItemsChanged() {}
    // item's category and line are selected; force: even when its category is the selected one.
    virtual void SelectItem(TdxBarItem* /*item*/, bool /*force*/) {}
    virtual void ItemDestroyed(TdxBarItem* /*item*/) {}
    virtual void OptionsChanged() {}
    // Design time, an item dragged to screen (item: none when a link is dragged): over the
    // sub-menu editor its menu shows; a new item over the window's categories list makes the
    // list's selection follow the pointer, and answers true with the cursor to show (the drag
    // then looks for no bar).
    virtual bool DesignDragOver(TdxBarItem* /*item*/, const QPoint& /*screen*/, int& /*cursor*/) { return false; }
    // The design-time drag of item ended (dropped: by the button's release); true when the drop
    // went to the categories list, which then gave the item the category chosen.
    virtual bool DesignDragEnd(TdxBarItem* /*item*/, bool /*dropped*/) { return false; }
    virtual void ItemRenamed(TdxBarItem* /*item*/) {}
    virtual void GroupRenamed(TdxBarGroup* /*group*/) {}
    virtual void GroupItemRenamed(TdxBarItem* /*item*/) {}
};

// The installed notifications (a do-nothing instance when none is installed).
TdxBarCustomizingNotifications& dxBarCustomizingForm();
// Installs the customizing window's notifications; nullptr uninstalls them.
void dxBarSetCustomizingForm(TdxBarCustomizingNotifications* form);
// A customizing window is installed: only then do the bars offer customizing to the user,
// since only the window can end it.
bool dxBarCustomizingFormInstalled();
