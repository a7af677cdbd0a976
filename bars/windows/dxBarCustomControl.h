#pragma once
// TCustomdxBarControl: the window class of everything that shows a list of item links
// (toolbars, menus and the library's popups). It owns one item control per can-visible
// link, routes mouse and keyboard input to them, keeps the selected (hot) control, takes
// part in the chain of active bar windows (menu or keyboard mode) and draws the flat
// look's shadow. It never lays items out: the toolbar and menu windows do.
//
// What a toolbar or menu window provides (virtuals of this class):
// - layout: RepaintBar (rebuild controls with DestroyControls/CreateControls, place them
//   by writing each link's ItemRect, repaint); BeginGroupSize; CanAlignItems;
//   GetItemRect/GetItemRectEx when the rectangle is not the link's ItemRect;
// - painting: Paint (the window's own parts, then DrawItem for every visible control whose
//   rectangle meets the painter's clip); DrawItem (call the base first for the item brush,
//   then control->Draw(p, rect, paint type 0 horizontal / 1 menu / 2 rotated vertical));
//   RepaintItem invalidates a control's rectangle, so a change repaints only that item;
// - frame: NCCalcSize/NCPaint/NCHitTest (call the base for the shadow), UseSystemFrame;
// - UpdateFont, SetMarkState, MarkExists, IsDropDownWindow, IsVertical, IsMenu;
// - brushes: GetToolbarBrush and the three after it (flat look or standard).
// Item controls size themselves (GetWidth, GetHeight, GetWidthForBar, GetHeightForBar) from
// the window's ItemHeight, GroupHeight and DigitWidth (CalcDrawingConsts) and the manager.
//
// Destruction: the most-derived destructor calls Destroying() and then
// BarControlDestroying() before anything else, so the teardown (HideAll, leaving the
// active chain, forgetting the selection) runs with every override still in place.
#include "Window.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarServices.h"
#include "dxBarTypes.h"

#include <QBrush>
#include <QHash>
#include <QFont>
#include <QPointer>

class TdxBarItemLinks;
class TdxBarManager;
class TdxDockControl;

// An item control that shows a window of its own inside the bar window (a control hosted by
// a container item, whose item answers HostsWindow). The bar window asks it to place that
// window once its layout has written the link rectangles, and never while painting.
class TdxBarWindowHost {
public:
    // The link's rectangle in the bar window is known and not empty.
    virtual void PlaceHostedWindow() = 0;

protected:
    ~TdxBarWindowHost() = default;
};

class TCustomdxBarControl : public TWindow {
    Q_OBJECT
public:
    // Owned by the manager; registers in the live list. Invisible until shown.
    TCustomdxBarControl(TdxBarManager* manager, const TCreateParams& params);
    ~TCustomdxBarControl() override;

    TdxBarManager* BarManager() const { return manager_; }
    TdxBarItemLinks* ItemLinks() const { return itemLinks_; }
    // The links shown; the links learn this window as theirs.
    void SetItemLinks(TdxBarItemLinks* links);

    // --- state
    TdxBarItemControl* SelectedControl() const { return selectedControl_; }
    // The selection becomes none without any notice (a disabled or freed control).
    void ClearSelectedControl() { selectedControl_ = nullptr; }
    TdxBarItemControl* PressedControl() const { return pressedControl_; }
    bool PressedInside() const { return pressedInside_; }
    bool DestroyingControls() const { return destroyingControls_; }
    TdxDockControl* DockControl() const;
    void SetDockControl(TdxDockControl* dock);
    TdxBarDockingStyle DockingStyle() const { return dockingStyle_; }
    bool IgnoreClick() const { return ignoreClick_; }
    void SetIgnoreClick(bool value) { ignoreClick_ = value; }
    bool IsActive() const { return active_; }
    // A customizing press on an item waits for the pointer to move far enough to drag it.
    bool DragPending() const { return dragPending_; }
    int MarkState() const { return markState_; }
    bool Dragging() const { return dragging_; }
    void SetDragging(bool value) { dragging_ = value; }
    // The window a menu window was opened from.
    TCustomdxBarControl* ParentBar() const { return parentBar_; }
    void SetParentBar(TCustomdxBarControl* value) { parentBar_ = value; }
    TCustomdxBarControl* ChildMenu() const { return childMenu_; }
    void SetChildMenu(TCustomdxBarControl* value) { childMenu_ = value; }
    TCustomdxBarControl* NextActive() const { return nextActive_; }
    int ItemHeight() const { return itemHeight_; }
    int MenuItemHeight() const { return menuItemHeight_; }
    int GroupHeight() const { return groupHeight_; }
    int CheckSize() const { return checkSize_; }
    void SetCheckSize(int value) { checkSize_ = value; }
    int DigitWidth() const { return digitWidth_; }
    // The window's font (UpdateFont sets it).
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    // The drawing font of menus (the manager's, see dxBarCreateMenuFont).
    QFont MenuFont() const;
    // The brush of the item being painted (DrawItem).
    const QBrush& ItemBrush() const { return itemBrush_; }
    bool IsFlat() const;

    // --- queries
    // Flat look and floating (or a menu).
    bool HasShadow() const;
    // The window rectangle on the screen without the shadow.
    TRect WindowRectWithoutShadow() const;
    bool IsMouseOver() const;
    // The next move at the last handled point is handled again.
    void ForgetLastMousePos() { lastMouse_ = TPoint(-1, -1); }
    // A press-drag-release may end here: menus and windows of the active chain.
    bool TakesDraggedMouse() const override { return IsMenu() || active_; }
    bool HasItemControl(TdxBarItemControl* control) const;
    // The control of the first visible link whose item rectangle holds the client point.
    TdxBarItemControl* ItemControlAtPos(const TPoint& client) const;
    // Passes the key to the enabled selected control that wants it; answers whether it did.
    bool ClickSelected(int key);
    // A toolbar (not a menu or popup window).
    virtual bool IsToolbar() const { return false; }
    // A menu window (TdxBarSubMenuControl and the library's menus).
    virtual bool IsMenu() const { return false; }
    // A vertical toolbar, and one whose bar rotates its captions.
    virtual bool IsVertical() const { return false; }
    virtual bool IsRotated() const { return false; }
    // A toolbar's drop mode: hovering a sub item opens its menu at once.
    virtual bool DropDownMode() const { return false; }
    virtual void SetDropDownMode(bool /*value*/) {}
    // The mouse button went down on this window and is still down (toolbars).
    virtual bool MouseIsDown() const { return pressedControl_ != nullptr; }

    // --- virtual operations, in their historical order
    virtual void CreateControls();
    // Frees every control whose parent is this window.
    virtual void DestroyControls();
    virtual void CalcDrawingConsts();
    virtual bool CanAlignItems() const { return false; }
    virtual bool UseSystemFrame() const { return true; }
    virtual bool CanCustomize() const;
    virtual int BeginGroupSize() const { return 0; }
    virtual TRect GetItemRect(TdxBarItemControl* control) const;
    virtual bool IsCustomizing() const;
    virtual TRect GetItemRectEx(TdxBarItemControl* control, bool /*extended*/) const { return GetItemRect(control); }
    virtual QRegion GetItemRegion(TdxBarItemControl* control) const;
    virtual QBrush GetToolbarBrush() const;
    // A down (checked) button's face.
    virtual QBrush GetFlatBackgroundBrush() const;
    // A down button under the mouse.
    virtual QBrush GetFlatMenuBrush() const;
    virtual QBrush GetSelectedBrush() const;
    virtual bool IsDropDownWindow() const { return false; }
    // Reached by walking up the parent-window chain from window (window itself excluded).
    virtual bool IsChildOf(const TCustomdxBarControl* window) const;
    virtual TdxBarItemControl* ItemAtPosEx(const TPoint& client, bool& outside, bool& before, bool& vertical) const;
    virtual bool MarkExists() const { return false; }
    virtual bool IgnoreMouseMove(const TPoint& client) const;
    // Sets the item brush; descendants paint the control.
    virtual void DrawItem(QPainter& p, TdxBarItemControl* control);
    // Repaints the control's rectangle and the selected control's.
    virtual void RepaintItem(TdxBarItemControl* control);
    virtual void SetDockingStyle(TdxBarDockingStyle style);
    // Takes the manager's font.
    virtual void UpdateFont();
    virtual void SetActive(bool value);
    virtual void SetKeySelectedItem(TdxBarItemControl* control);
    virtual void SetMarkState(int state) { markState_ = state; }
    virtual void SetMouseSelectedItem(TdxBarItemControl* control);
    virtual void SetSelectedItem(TdxBarItemControl* control);
    virtual void HideAll();
    // The sub menu opened from this window closes, with every menu opened from it (while
    // customizing, HideAll leaves menus open).
    void CloseSubMenus();
    // Rebuilds the controls, lays out and repaints; nothing in the base.
    virtual void RepaintBar() {}
    // Runs RepaintBar after the current message.
    void PostRepaintBar();
    virtual void DblClickItem(TdxBarItemControl* control);
    // The window's hint text follows the selection.
    const QString& Hint() const { return hint_; }

    // --- messages
    void NCCalcSize(TRect& rect) override;
    int NCHitTest(const TPoint& screen) override;
    void NCPaint(QPainter& p) override;
    // Erases with the toolbar brush when no link is visible.
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void LButtonDblClk(const TPoint& client, TShiftState shift) override;
    // While customizing, the customizing popup of the link under the point opens there.
    void RButtonDown(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void MouseLeave() override;
    void KeyDown(int& key, TShiftState shift) override;
    void Size(int clientWidth, int clientHeight) override;
    void CaptureChanged() override;

protected:
    // The teardown that may call overrides; the most-derived destructor runs it first.
    void BarControlDestroying();
    // Every control of this window hears that the window's handle is about to go (or to be
    // swapped for another), so that windows it hosts leave it first.
    void BeforeDestroyHandle();
    // After the layout wrote the link rectangles: each shown link of an item that hosts a
    // window places it (TdxBarWindowHost); each link of such an item that this window does
    // not show tells the item (ControlDestroyed).
    void PlaceHostedWindows();
    // The window region of the flat look (or none).
    void UpdateRegion();
    // Called by the keyboard handler to select a link's control by key.
    void KeySelectLink(TdxBarItemLink* link);
    // The hint of the selected control (the manager's hint window is the hints' business).
    virtual void UpdateHint();

private:
    bool ClientContains(const TPoint& client) const { return ClientRect().Contains(client); }
    // Ends a pending customizing press; the manager forgets what it was to drag.
    void EndDragPending();
    // The pointer left the press's drag rectangle: the item drag starts.
    void StartItemDrag();
    void SelectByAccelerator(int key, TShiftState shift);

    QPointer<TdxBarManager> manager_;
    QPointer<TdxBarItemLinks> itemLinks_;
    QBrush itemBrush_;
    QPointer<TCustomdxBarControl> childMenu_;
    QPointer<TdxBarItemControl> pressedControl_;
    bool destroyingControls_ = false;
    QPointer<TdxDockControl> dockControl_;
    TdxBarDockingStyle dockingStyle_ = dsNone;
    bool ignoreClick_ = false;
    bool dragPending_ = false;
    TPoint dragStart_;
    bool active_ = false;
    int markState_ = 0;
    bool pressedInside_ = false;
    bool dragging_ = false;
    QPointer<TCustomdxBarControl> parentBar_;
    QPointer<TCustomdxBarControl> nextActive_;
    QPointer<TdxBarItemControl> selectedControl_;
    int itemHeight_ = 0;
    int menuItemHeight_ = 0;
    int groupHeight_ = 4;
    int checkSize_ = 0;
    int digitWidth_ = 0;
    TPoint lastMouse_{-1, -1};
    QFont font_;
    QString hint_;
    bool tornDown_ = false;
};

// ---------------------------------------------------------------- library-wide state

// The live list: every bar window from construction until its teardown begins.
void dxBarAddBarControl(TCustomdxBarControl* window);
void dxBarRemoveBarControl(TCustomdxBarControl* window);
// Not null and in the live list. Hold a QPointer across calls that may free the window:
// a freed window's pointer becomes null, whatever is later built at its address.
bool dxBarIsBarControlAlive(const TCustomdxBarControl* window);
QList<TCustomdxBarControl*> dxBarLiveBarControls();
// The head of the active chain, and whether the chain began in customizing mode.
TCustomdxBarControl* dxBarActiveBarControl();
bool dxBarActiveChainCustomizing();
// Some menu of the active chain was expanded: every menu of the chain shows all its links.
// Cleared whenever a chain starts or empties.
bool dxBarMenusExpanded();
void dxBarSetMenusExpanded(bool value);
// Each can-visible link's place in the links' recent order, counting only can-visible links
// (0 = most recently used).
QHash<const TdxBarItemLink*, int> dxBarRecentRanks(const TdxBarItemLinks* links);
// Up the parent windows to the root of a menu chain.
TCustomdxBarControl* dxBarGetRootControl(TCustomdxBarControl* window);
// The root when it is not a menu window.
TCustomdxBarControl* dxBarGetRootToolbarControl(TCustomdxBarControl* window);
TCustomdxBarControl* dxBarGetItemControlRoot(TdxBarItemControl* control);
TCustomdxBarControl* dxBarGetItemControlToolbar(TdxBarItemControl* control);
// The bar window a widget belongs to, or that of its nearest ancestor that has one.
TCustomdxBarControl* dxBarFindControlOfWindow(QWidget* widget);
// The ancestor is among the widget's parents (the widget itself does not count).
bool dxBarIsWindowChildOf(QWidget* widget, QWidget* ancestor);
