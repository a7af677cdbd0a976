#pragma once
// The bar windows library as the item model sees it. The program creates one at start-up
// (after the bar library's own start-up) and frees it at the end: it hands its services to
// the model and gives the control classes their factories.
//
// Showing, hiding and dragging a bar's window belong to the toolbar window, which extends
// ShowBar, HideBar and DragBar here.
#include "DockRows.h"
#include "dxBarHooks.h"
#include "dxBarDropDownListBox.h"
#include "dxBarServices.h"

#include <QHash>
#include <QPointer>
#include <QSet>

class TdxBarWindowsLibrary : public TdxBarWindowServices {
public:
    TdxBarWindowsLibrary();
    ~TdxBarWindowsLibrary() override;
    TdxBarWindowsLibrary(const TdxBarWindowsLibrary&) = delete;
    TdxBarWindowsLibrary& operator=(const TdxBarWindowsLibrary&) = delete;

    // The keyboard and mouse hooks of all managers.
    void InstallHooks() override;
    void RemoveHooks() override;
    void BarWindowChanged(TdxBar* bar, TdxBarWindowChange change) override;
    void ManagerWindowsChanged(TdxBarManager* manager, TdxBarWindowChange change) override;
    void CloseActiveMenus(TdxBarManager* manager) override;
    bool IsBarWindowLive(TCustomdxBarControl* window) const override;
    bool IsBarWindowCustomizing(TCustomdxBarControl* window) const override;
    TdxBarItemControl* BarWindowSelectedControl(TCustomdxBarControl* window) const override;
    void DeselectBarWindowControl(TCustomdxBarControl* window) override;
    void RelayoutBarWindow(TCustomdxBarControl* window) override;
    void PostBarWindowRelayout(TCustomdxBarControl* window) override;
    QRect BarWindowClientRect(TCustomdxBarControl* window) const override;
    TdxBarItemLinks* ParentBarWindowLinks(TCustomdxBarControl* window) const override;
    bool IsBarWindowActive(TCustomdxBarControl* window) const override;
    TdxBarItemControl* BarWindowControlAt(TCustomdxBarControl* window, const TPoint& screen) const override;

    // The hint window and the combos' drop-down lists.
    void CreateHintWindow() override;
    void FreeHintWindow() override;
    void ActivateHint(const TPoint& at, const QString& text, TdxBarManager* manager) override;
    void HideHint() override;
    bool HintVisible() const override;
    TdxBarHintWindow* HintWindow() const { return hintWindow_; }
    TdxBarDropDownList* CreateDropDownList(TdxBarCustomCombo* combo) override;

    // Popup menus: a menu window without a parent over the popup menu's links.
    bool ShowPopupMenu(TdxBarPopupMenu* menu, int x, int y, std::function<void()> closedUp) override;
    void ClosePopupMenu(TdxBarPopupMenu* menu) override;
    TdxBarItemLinks* PopupMenuItemLinks(TdxBarPopupMenu* menu) const override;

    // Docked bar windows and their docks' rows (dxBarDockLayout.cpp).
    void ShowBar(TdxBar* bar) override;
    void HideBar(TdxBar* bar) override;
    void UpdateDock(TdxDockControl* dock) override;
    void DockDestroyed(TdxDockControl* dock) override;
    // The rows of a dock (none for a dock without bar windows).
    const dockrows::TDockRows* DockRows(const TdxDockControl* dock) const;

protected:
    // What a change asks of one live bar window.
    virtual void ApplyChange(TCustomdxBarControl* window, TdxBarWindowChange change);

private:
    TdxBarHooks hooks_;
    QPointer<TdxBarHintWindow> hintWindow_;
    QHash<const TdxDockControl*, dockrows::TDockRows> dockRows_;
    // Docks being laid out (a dock's new size asks again).
    QSet<const TdxDockControl*> layingOut_;
};
