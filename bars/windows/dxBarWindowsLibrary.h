#pragma once
// The bar windows library as the item model sees it. The program creates one at start-up
// (after the bar library's own start-up) and frees it at the end: it hands its services to
// the model and gives the control classes their factories.
//
// Bar windows are docked in their docks' rows or float in the library's own z-order; a bar
// is dragged between them by one drag at a time (TdxBarDrag), with the mouse captured on the
// form's message window.
#include "DockRows.h"
#include "dxBarHooks.h"
#include "dxBarDropDownListBox.h"
#include "Window.h"
#include "dxBarServices.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>

class TdxBarControl;
class TdxBarDrag;

class TdxBarWindowsLibrary : public TdxBarWindowServices {
public:
    TdxBarWindowsLibrary();
    ~TdxBarWindowsLibrary() override;
    // The installed library, if the installed services are one.
    static TdxBarWindowsLibrary* Instance();
    TdxBarWindowsLibrary(const TdxBarWindowsLibrary&) = delete;
    TdxBarWindowsLibrary& operator=(const TdxBarWindowsLibrary&) = delete;

    // The keyboard and mouse hooks of all managers.
    void InstallHooks() override;
    void RemoveHooks() override;
    void ManageOwnerForm(TdxBarManager* manager) override;
    void BarWindowChanged(TdxBar* bar, TdxBarWindowChange change) override;
    void ManagerWindowsChanged(TdxBarManager* manager, TdxBarWindowChange change) override;
    void CloseActiveMenus(TdxBarManager* manager) override;
    void SelectionLeftWindow(TCustomdxBarControl* left, TCustomdxBarControl* entered) override;
    bool IsBarWindowLive(TCustomdxBarControl* window) const override;
    bool IsBarWindowCustomizing(TCustomdxBarControl* window) const override;
    TdxBarItemControl* BarWindowSelectedControl(TCustomdxBarControl* window) const override;
    void DeselectBarWindowControl(TCustomdxBarControl* window) override;
    void RelayoutBarWindow(TCustomdxBarControl* window) override;
    void PostBarWindowRelayout(TCustomdxBarControl* window) override;
    QRect BarWindowClientRect(TCustomdxBarControl* window) const override;
    bool IsInsideBarWindow(TCustomdxBarControl* window, const TNativeWindow* widget) const override;
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
    void ShowToolbarsPopup(TdxBarManager* manager, const TPoint& screen) override;
    bool HandleLinksChanged(TdxBarItemLinks* links) override;

    // What the model hands on (dxBarModelWindows.cpp).
    void ReleaseMouseCapture() override;
    std::unique_ptr<TdxBarModalWait> CreateModalWait() override;
    void ShowDropDownWindow(TNativeWindow* window, QPoint preferred, QSize linkSize, bool vertical) override;
    void HideDropDownWindow(TNativeWindow* window) override;
    void DrawComboEntry(TCanvas& p, const QFont& font, const QString& text, const TRect& rect, unsigned state,
                        bool flatInterior, const std::function<void()>& ownerDraw) override;
    void SetDockRedraw(TdxDockControl* dock, bool value) override;
    bool DockWindowEvent(TdxDockControl* dock, QEvent* event) override;
    bool ShowLinkedPopupMenu(TdxBarPopupMenuLinks* links, TNativeWindow* wnd, const TPoint& screen) override;

    // Docked bar windows and their docks' rows (dxBarDockLayout.cpp).
    void ShowBar(TdxBar* bar) override;
    void HideBar(TdxBar* bar) override;
    void UpdateDock(TdxDockControl* dock) override;
    void DockDestroyed(TdxDockControl* dock) override;
    // The rows of a dock (none for a dock without bar windows).
    const dockrows::TDockRows* DockRows(const TdxDockControl* dock) const;
    // Puts a docked window into its dock's rows at a screen point (the row and column the
    // point means; while dragging the grab point is allowed for) and lays the dock out.
    void DockBarAt(TdxBarControl* window, const TPoint& screen);
    // Takes the window out of its dock's rows and lays the dock out.
    void UndockBar(TdxBarControl* window);
    // Takes the window out of its row and puts it in again at the point.
    void MoveBarTo(TdxBarControl* window, const TPoint& screen);
    // Every column takes its window's position as the one it asks for.
    void StoreBarPositions(TdxDockControl* dock);
    // The thickness of each row of the dock as its windows stand now.
    std::vector<int> RowThicknesses(const TdxDockControl* dock) const;
    // The dock as the row geometry sees it.
    dockrows::TDock DockGeometry(const TdxDockControl* dock) const;
    // Replaces a dock's rows (a cancelled drag puts them back as they were).
    void SetDockRows(TdxDockControl* dock, const dockrows::TDockRows& rows);

    // Floating bar windows of a manager, bottom to top: the platform may not raise windows,
    // so the order is ours.
    QList<TdxBarControl*> FloatingZOrder(TdxBarManager* manager) const;
    void BringToFront(TdxBarControl* window);

    // The bar drag (dxBarDrag.cpp): the modal loop of one drag at a time.
    void DragBar(TdxBar* bar) override;
    // The drag in progress, if any.
    TdxBarDrag* CurrentDrag() const { return drag_; }
    // The item drag of customizing mode (dxBarItemDrag.cpp).
    void DragItem(TdxBarManager* manager, TdxBarItem* item, TdxBarItemLink* link) override;
    // The window the drag captures the mouse on: one per form, a child of it that never
    // moves to another parent.
    TWindow* MessageWindow(TdxBarManager* manager);

protected:
    // What a change asks of one live bar window.
    virtual void ApplyChange(TCustomdxBarControl* window, TdxBarWindowChange change);

private:
    TdxBarHooks hooks_;
    QPointer<TdxBarHintWindow> hintWindow_;
    friend class TdxBarDrag;
    QHash<const TdxDockControl*, dockrows::TDockRows> dockRows_;
    QList<QPointer<TdxBarControl>> floating_;
    QHash<TdxBarManager*, QPointer<TWindow>> messageWindows_;
    TdxBarDrag* drag_ = nullptr;
    // Docks being laid out (a dock's new size asks again).
    QSet<const TdxDockControl*> layingOut_;
};
