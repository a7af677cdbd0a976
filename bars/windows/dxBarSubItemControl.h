#pragma once
// The item controls of sub items and container items. A sub item opens a menu window with
// its own links: from a toolbar on a click (or on hover while the toolbar is in drop mode),
// from a menu row after a 400 ms hover or at once on a click or the Right key. One pending
// open-or-close delay runs at a time, library-wide.
#include "dxBarServices.h"

#include <QPointer>

class TCustomdxBarSubItem;
class TdxBarSubMenuControl;

class TdxBarSubItemControl : public TdxBarItemControl {
public:
    static constexpr int HoverDelay = 400;

    explicit TdxBarSubItemControl(TdxBarItemLink* link);
    ~TdxBarSubItemControl() override;

    TCustomdxBarSubItem* SubItem() const;

    void GlyphChanged() override;
    bool CanClicked() const override { return false; }
    void ControlActivate(bool byMouse) override;
    void ControlInactivate(bool byMouse) override;
    void ControlClick(bool byMouse) override;
    void KeyDown(int key) override;
    bool WantsKey(int key) const override;
    int GetHeight() override;
    int GetWidth() override;
    bool HidesMenusOnClick() const override { return false; }
    bool IsExpandable() const override { return true; }
    bool HandlesDblClick() const override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;

    // The menu window of the item's links, none when it is closed.
    virtual TdxBarSubMenuControl* SubMenuControl() const;
    virtual void CreateSubMenuControl();
    virtual int GetDefaultHeight();
    virtual int GetDefaultWidth();
    virtual bool OpensSubMenu() const { return true; }

    // Opens the menu as a key or menu mode does: the first selectable link of the new menu
    // becomes its key-selected item.
    void DropDown();
    // Carried to the menu when it opens (the bar windows' business), then cleared.
    bool OneShotFlag = false;

private:
    // Opens the menu now (nothing when no menu window results).
    void Open();
    void CloseMenu();
    bool InMenuWindow() const;
};

// The container item control: its menu shows links generated from the contained items.
class TdxBarContainerItemControl : public TdxBarSubItemControl {
public:
    using TdxBarSubItemControl::TdxBarSubItemControl;
    void CreateSubMenuControl() override;
    QString GetCaption() const override;
    bool IsExpandable() const override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
};

// The pending open-or-close delay of sub items (none when no delay runs). Firing it runs
// the delayed activation or deactivation at once (tests; the timer does the same).
TdxBarSubItemControl* dxBarPendingSubItem();
bool dxBarPendingSubItemOpens();
void dxBarFirePendingSubItem();

// Registers the sub item and container item controls' factories.
void dxBarRegisterSubItemControls();
void dxBarUnregisterSubItemControls();
