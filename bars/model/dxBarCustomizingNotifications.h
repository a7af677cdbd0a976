#pragma once
// The customizing window as the model sees it: the routines that tell it of changes, and
// whether one is installed.
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
    virtual void StyleChanged() {}
    virtual void HelpButtonChanged() {}
    virtual void BarChanged(TdxBar* /*bar*/) {}
    virtual void ItemsChanged() {}
    virtual void SelectItem(TdxBarItem* /*item*/) {}
    virtual void ItemDestroyed(TdxBarItem* /*item*/) {}
    virtual void OptionsChanged() {}
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
