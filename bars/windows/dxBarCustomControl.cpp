#include "dxBarCustomControl.h"

#include "dxBarQuickControl.h"
#include "dxBarSubItemControl.h"
#include "dxBarSubMenuControl.h"

#include "Scope.h"
#include "dxBarDockControls.h"
#include "dxBarDrawing.h"
#include "SysParams.h"
#include "dxBarItem.h"
#include "dxBarItemDrag.h"
#include "dxBarToolbarsPopup.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

// ---------------------------------------------------------------- library-wide state

namespace {

QList<QPointer<TCustomdxBarControl>> liveList;
QPointer<TCustomdxBarControl> activeHead;
bool activeChainCustomizing = false;
bool menusExpanded = false;

}  // namespace

void dxBarAddBarControl(TCustomdxBarControl* window)
{
    if (window && !dxBarIsBarControlAlive(window)) liveList.append(window);
}

void dxBarRemoveBarControl(TCustomdxBarControl* window)
{
    liveList.removeIf([window](const QPointer<TCustomdxBarControl>& p) { return p.isNull() || p == window; });
}

bool dxBarIsBarControlAlive(const TCustomdxBarControl* window)
{
    if (!window) return false;
    for (const QPointer<TCustomdxBarControl>& p : std::as_const(liveList))
        if (p == window) return true;
    return false;
}

QList<TCustomdxBarControl*> dxBarLiveBarControls()
{
    QList<TCustomdxBarControl*> out;
    for (const QPointer<TCustomdxBarControl>& p : std::as_const(liveList))
        if (p) out << p;
    return out;
}

TCustomdxBarControl* dxBarActiveBarControl()
{
    return activeHead;
}

bool dxBarActiveChainCustomizing()
{
    return activeChainCustomizing;
}

bool dxBarMenusExpanded()
{
    return menusExpanded;
}

void dxBarSetMenusExpanded(bool value)
{
    menusExpanded = value;
}

QHash<const TdxBarItemLink*, int> dxBarRecentRanks(const TdxBarItemLinks* links)
{
    QHash<const TdxBarItemLink*, int> ranks;
    if (!links) return ranks;
    for (TdxBarItemLink* link : links->RecentOrder())
        if (links->CanVisibleItems().contains(link)) ranks.insert(link, int(ranks.size()));
    return ranks;
}

TCustomdxBarControl* dxBarGetRootControl(TCustomdxBarControl* window)
{
    TCustomdxBarControl* w = window;
    // Bounded: a broken chain must not hang the program.
    for (int guard = 0; w && guard < 1000; ++guard) {
        if (w->BarManager() && w->BarManager()->IsDesigning()) break;
        if (!w->ParentBar()) break;
        w = w->ParentBar();
    }
    return w;
}

TCustomdxBarControl* dxBarGetRootToolbarControl(TCustomdxBarControl* window)
{
    TCustomdxBarControl* root = dxBarGetRootControl(window);
    return root && !root->IsMenu() ? root : nullptr;
}

TCustomdxBarControl* dxBarGetItemControlRoot(TdxBarItemControl* control)
{
    return control ? dxBarGetRootControl(control->Parent()) : nullptr;
}

TCustomdxBarControl* dxBarGetItemControlToolbar(TdxBarItemControl* control)
{
    return control ? dxBarGetRootToolbarControl(control->Parent()) : nullptr;
}

TCustomdxBarControl* dxBarFindControlOfWindow(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* bar = dynamic_cast<TCustomdxBarControl*>(TWindow::FromWidget(w))) return bar;
    return nullptr;
}

bool dxBarIsWindowChildOf(QWidget* widget, QWidget* ancestor)
{
    if (!widget || !ancestor) return false;
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        if (w == ancestor) return true;
    return false;
}

// ---------------------------------------------------------------- construction

TCustomdxBarControl::TCustomdxBarControl(TdxBarManager* manager, const TCreateParams& params)
    : TWindow(manager, params), manager_(manager)
{
    dxBarAddBarControl(this);
    SetDoubleClicks(!manager || manager->Style() != bmsStandard || manager->IsCustomizing());
    TCustomdxBarControl::UpdateFont();
    TCustomdxBarControl::CalcDrawingConsts();
}

TCustomdxBarControl::~TCustomdxBarControl()
{
    Destroying();
    BarControlDestroying();
}

void TCustomdxBarControl::BarControlDestroying()
{
    if (tornDown_) return;
    tornDown_ = true;
    QPointer<TCustomdxBarControl> self(this);
    if (IsToolbar())
        HideAll();
    else
        SetActive(false);
    if (!self) return;
    if (manager_ && manager_->SelectedControl() && manager_->SelectedControl()->Parent() == this)
        manager_->SetSelectedControl(nullptr);
    dxBarEndMouseTracking(this);
    markState_ = 0;
    BeforeDestroyHandle();
    DestroyControls();
    if (itemLinks_ && itemLinks_->BarControl() == this) itemLinks_->SetBarControl(nullptr);
    if (childMenu_ && childMenu_->ParentBar() == this) childMenu_->SetParentBar(nullptr);
    dxBarRemoveBarControl(this);
    DetachHandle();
}

void TCustomdxBarControl::BeforeDestroyHandle()
{
    if (!itemLinks_) return;
    for (int i = 0; i < itemLinks_->Count(); ++i)
        if (TdxBarItemLink* link = itemLinks_->Items(i))
            if (TdxBarItemControl* c = link->Control(); c && c->Parent() == this) c->BeforeDestroyParentHandle();
}

void TCustomdxBarControl::PlaceHostedWindows()
{
    if (!itemLinks_) return;
    QPointer<TCustomdxBarControl> self(this);
    // Guarded: placing a window may make Qt send events that change the links.
    QList<QPointer<TdxBarItemLink>> links;
    for (int i = 0; i < itemLinks_->Count(); ++i) links << itemLinks_->Items(i);
    for (const QPointer<TdxBarItemLink>& link : links) {
        if (!self) return;
        TdxBarItem* item = link ? link->Item() : nullptr;
        if (!item || !item->HostsWindow()) continue;
        TdxBarItemControl* c = link->Control();
        if (c && c->Parent() != this) c = nullptr;
        auto* host = dynamic_cast<TdxBarWindowHost*>(c);
        if (host && !link->ItemRect().isEmpty())
            host->PlaceHostedWindow();
        else
            item->ControlDestroyed(c);
    }
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* links)
{
    if (itemLinks_ == links) return;
    if (itemLinks_ && itemLinks_->BarControl() == this) {
        DestroyControls();
        itemLinks_->SetBarControl(nullptr);
    }
    itemLinks_ = links;
    if (links) links->SetBarControl(this);
}

TdxDockControl* TCustomdxBarControl::DockControl() const
{
    return dockControl_;
}

void TCustomdxBarControl::SetDockControl(TdxDockControl* dock)
{
    dockControl_ = dock;
}

bool TCustomdxBarControl::IsFlat() const
{
    return manager_ && manager_->IsFlat();
}

QFont TCustomdxBarControl::MenuFont() const
{
    if (!manager_ || !manager_->Font()) return font_;
    return dxBarCreateMenuFont(*manager_->Font(), manager_->UseSystemFont());
}

// ---------------------------------------------------------------- queries

bool TCustomdxBarControl::HasShadow() const
{
    return manager_ && manager_->Style() == bmsFlat && dockingStyle_ == dsNone;
}

TRect TCustomdxBarControl::WindowRectWithoutShadow() const
{
    TRect r = WindowRect();
    if (HasShadow()) {
        r.Right -= 2;
        r.Bottom -= 2;
    }
    return r;
}

bool TCustomdxBarControl::IsMouseOver() const
{
    QWidget* under = dxBarWindowFromPoint(QCursor::pos());
    return under && under == Handle();
}

bool TCustomdxBarControl::HasItemControl(TdxBarItemControl* control) const
{
    if (!control || !itemLinks_) return false;
    for (int i = 0; i < itemLinks_->Count(); ++i)
        if (itemLinks_->Items(i)->Control() == control) return true;
    return false;
}

TdxBarItemControl* TCustomdxBarControl::ItemControlAtPos(const TPoint& client) const
{
    if (!itemLinks_ || (IsCustomizing() && !CanCustomize())) return nullptr;
    for (TdxBarItemLink* link : itemLinks_->VisibleItems()) {
        TdxBarItemControl* control = link->Control();
        if (control && GetItemRect(control).Contains(client)) return control;
    }
    return nullptr;
}

bool TCustomdxBarControl::ClickSelected(int key)
{
    TdxBarItemControl* c = selectedControl_;
    if (!c || !c->GetEnabled() || !c->WantsKey(key)) return false;
    c->KeyDown(key);
    return true;
}

// ---------------------------------------------------------------- virtual operations

void TCustomdxBarControl::CreateControls()
{
    if (!itemLinks_) return;
    const QList<TdxBarItemLink*> links = itemLinks_->CanVisibleItems();
    for (TdxBarItemLink* link : links) link->CreateControl();
}

void TCustomdxBarControl::DestroyControls()
{
    if (!itemLinks_) return;
    TRestore destroying(destroyingControls_, true);
    for (int i = 0; i < itemLinks_->Count(); ++i) {
        TdxBarItemLink* link = itemLinks_->Items(i);
        if (link && link->Control() && link->Control()->Parent() == this) link->DestroyControl();
    }
}

void TCustomdxBarControl::CalcDrawingConsts()
{
    const QFontMetrics window(font_);
    itemHeight_ = window.height() + 6;
    groupHeight_ = std::max(4, itemHeight_ / 5);
    const QFontMetrics menu(MenuFont());
    menuItemHeight_ = menu.height() + 6 + (IsFlat() ? 1 : 0);
    digitWidth_ = 2 * menu.horizontalAdvance(u'0') - 1;
}

bool TCustomdxBarControl::CanCustomize() const
{
    return manager_ && manager_->IsDesigning();
}

TRect TCustomdxBarControl::GetItemRect(TdxBarItemControl* control) const
{
    if (!control || !control->ItemLink()) return {};
    return TRect::FromQRect(control->ItemLink()->ItemRect());
}

bool TCustomdxBarControl::IsCustomizing() const
{
    return manager_ && manager_->IsCustomizing();
}

QRegion TCustomdxBarControl::GetItemRegion(TdxBarItemControl* control) const
{
    return QRegion(GetItemRectEx(control, true).ToQRect());
}

QBrush TCustomdxBarControl::GetToolbarBrush() const
{
    return IsFlat() ? QBrush(ColorToQColor(dxBarFlatColors().Toolbar)) : SysBrush(COLOR_BTNFACE);
}

QBrush TCustomdxBarControl::GetFlatBackgroundBrush() const
{
    return IsFlat() ? QBrush(ColorToQColor(dxBarFlatColors().Down)) : dxBarPatternBrush();
}

QBrush TCustomdxBarControl::GetFlatMenuBrush() const
{
    return IsFlat() ? QBrush(ColorToQColor(dxBarFlatColors().DownSelected)) : SysBrush(COLOR_BTNFACE);
}

QBrush TCustomdxBarControl::GetSelectedBrush() const
{
    return IsFlat() ? QBrush(ColorToQColor(dxBarFlatColors().Selected)) : SysBrush(COLOR_HIGHLIGHT);
}

bool TCustomdxBarControl::IsChildOf(const TCustomdxBarControl* window) const
{
    int guard = 0;
    for (const TCustomdxBarControl* w = window ? window->ParentBar() : nullptr; w && guard < 1000;
         w = w->ParentBar(), ++guard)
        if (w == this) return true;
    return false;
}

TdxBarItemControl* TCustomdxBarControl::ItemAtPosEx(const TPoint& client, bool& outside, bool& before,
                                                    bool& vertical) const
{
    outside = before = false;
    vertical = IsVertical() || IsMenu();
    if (!itemLinks_) return nullptr;
    for (TdxBarItemLink* link : itemLinks_->VisibleItems()) {
        TdxBarItemControl* control = link->Control();
        if (!control || !control->CanCustomize()) continue;
        if (!GetItemRegion(control).contains(client)) continue;
        TRect r = GetItemRect(control);
        outside = !r.Contains(client);
        if (outside) {
            r = control->LayoutRect;
            if (client.y() < r.Top) vertical = true;
        }
        before = vertical ? client.y() < (r.Top + r.Bottom) / 2 : client.x() < (r.Left + r.Right) / 2;
        return control;
    }
    return nullptr;
}

bool TCustomdxBarControl::IgnoreMouseMove(const TPoint& client) const
{
    return IsCustomizing() || ClientToScreen(client) == lastMouse_;
}

void TCustomdxBarControl::DrawItem(QPainter& /*p*/, TdxBarItemControl* /*control*/)
{
    itemBrush_ = GetToolbarBrush();
}

void TCustomdxBarControl::RepaintItem(TdxBarItemControl* control)
{
    if (destroyingControls_) return;
    if (control && control->Item() && !control->Item()->IsDestroying()) InvalidateRect(GetItemRect(control));
    if (selectedControl_ && selectedControl_ != control) InvalidateRect(GetItemRect(selectedControl_));
}

void TCustomdxBarControl::SetDockingStyle(TdxBarDockingStyle style)
{
    if (style == dockingStyle_) return;
    dockingStyle_ = style;
    // The font follows the orientation.
    UpdateFont();
    CalcDrawingConsts();
}

void TCustomdxBarControl::UpdateFont()
{
    if (manager_ && manager_->Font()) font_ = manager_->Font()->ToQFont();
}

void TCustomdxBarControl::SetActive(bool value)
{
    if (value == active_) return;
    QPointer<TCustomdxBarControl> self(this);
    if (manager_) manager_->UpdateHint(false, {});
    if (!self) return;
    if (value) {
        if (!activeHead) {
            // A new chain: its menus start in recent-items mode again.
            activeChainCustomizing = IsCustomizing();
            menusExpanded = false;
        }
        nextActive_ = activeHead;
        activeHead = this;
        active_ = true;
        if (!IsCustomizing() && itemLinks_) itemLinks_->UpdateActions();
        return;
    }
    if (IsCustomizing())
        selectedControl_ = nullptr;
    else
        SetKeySelectedItem(nullptr);
    if (!self) return;
    active_ = false;
    if (activeHead == this) {
        activeHead = nextActive_;
    } else {
        int guard = 0;
        for (TCustomdxBarControl* w = activeHead; w && guard < 1000; w = w->nextActive_, ++guard)
            if (w->nextActive_ == this) {
                w->nextActive_ = nextActive_;
                break;
            }
    }
    nextActive_ = nullptr;
    if (activeHead && (!dxBarIsBarControlAlive(activeHead) || !activeHead->active_)) activeHead = nullptr;
    if (!activeHead) menusExpanded = false;
}

void TCustomdxBarControl::SetKeySelectedItem(TdxBarItemControl* control)
{
    if (control == selectedControl_) return;
    QPointer<TCustomdxBarControl> self(this);
    if (selectedControl_ && selectedControl_->IsActive()) selectedControl_->ControlInactivate(true);
    if (self) SetSelectedItem(control);
}

void TCustomdxBarControl::SetMouseSelectedItem(TdxBarItemControl* control)
{
    if (control == selectedControl_) return;
    if (selectedControl_ && selectedControl_->HasEditor() && selectedControl_->EditorFocused()) return;
    QPointer<TCustomdxBarControl> self(this);
    // The old selection may keep its menu open a moment; a hover opens after a delay.
    if (selectedControl_ && selectedControl_->IsActive()) selectedControl_->ControlInactivate(false);
    if (!self) return;
    SetSelectedItem(control);
    if (self && selectedControl_) selectedControl_->ControlActivate(false);
}

void TCustomdxBarControl::SetSelectedItem(TdxBarItemControl* control)
{
    if (control == selectedControl_) return;
    // Another window taking the pointer closes an idle quick-customization drop-down soon.
    if (TdxBarQuickControl* quick = dxBarQuickControl(); quick && quick != this && control && !quick->IsActive())
        dxBarStartQuickCloseTimer();
    QPointer<TCustomdxBarControl> self(this);
    QPointer<TdxBarItemControl> old = selectedControl_;
    selectedControl_ = control;
    if (manager_) manager_->SetSelectedControl(control);
    if (!self) return;
    RepaintItem(old);
    lastMouse_ = QCursor::pos();
    if (!selectedControl_) SetCursorShape(crDefault);
    UpdateHint();
}

void TCustomdxBarControl::UpdateHint()
{
    TdxBarItemControl* c = selectedControl_;
    const bool showDisabled = manager_ && manager_->property("ShowHintForDisabledItems").toBool();
    hint_ = c && (c->GetEnabled() || showDisabled) ? c->GetHint().section(u'|', -1) : QString();
    // A hot mark keeps its own hint while the selection goes.
    if (manager_ && (c || IsMenu() || markState_ == 0)) manager_->UpdateHint(true, {});
}

void TCustomdxBarControl::HideAll()
{
    QPointer<TCustomdxBarControl> self(this);
    QPointer<TCustomdxBarControl> parent = parentBar_;
    SetActive(false);
    if (self && parent && dxBarIsBarControlAlive(parent)) parent->HideAll();
}

void TCustomdxBarControl::CloseSubMenus()
{
    QPointer<TdxBarSubMenuControl> menu = qobject_cast<TdxBarSubMenuControl*>(childMenu_.data());
    if (!menu || !dxBarIsBarControlAlive(menu) || menu->Closing()) return;
    // Through the sub item that opened it, so that the item closes up and repaints.
    if (TdxBarSubItemControl* owner = menu->OwnerSubItemControl(); owner && owner->Parent() == this)
        owner->ControlInactivate(true);
    if (menu && !menu->Closing()) menu->Close();
}

void TCustomdxBarControl::PostRepaintBar()
{
    PostCall([this] { RepaintBar(); });
}

void TCustomdxBarControl::DblClickItem(TdxBarItemControl* control)
{
    if (!control || (manager_ && manager_->IsDesigning())) return;
    if (!control->IsExpandable() || control->DblClickWhileExpandable()) control->DblClick();
}

// ---------------------------------------------------------------- messages

void TCustomdxBarControl::NCCalcSize(TRect& rect)
{
    if (HasShadow()) {
        rect.Right -= 2;
        rect.Bottom -= 2;
    }
}

int TCustomdxBarControl::NCHitTest(const TPoint& screen)
{
    const int hit = TWindow::NCHitTest(screen);
    if (hit != HTCLIENT) dxBarEndMouseTracking(this);
    return hit;
}

void TCustomdxBarControl::NCPaint(QPainter& p)
{
    if (!HasShadow()) return;
    const QBrush shadow(ColorToQColor(dxBarShadowColor));
    FillRect(p, {Width() - 2, 2, Width(), Height()}, shadow);
    FillRect(p, {2, Height() - 2, Width(), Height()}, shadow);
}

void TCustomdxBarControl::Paint(QPainter& p)
{
    if (!itemLinks_ || itemLinks_->VisibleItemCount() == 0) FillRect(p, ClientRect(), GetToolbarBrush());
}

void TCustomdxBarControl::Size(int /*clientWidth*/, int /*clientHeight*/)
{
    if (!dragging_) UpdateRegion();
}

void TCustomdxBarControl::UpdateRegion()
{
    if (!HasShadow()) {
        SetWindowRgn(QRegion());
        return;
    }
    const int w = Width(), h = Height();
    SetWindowRgn(QRegion(0, 0, w, h) - QRegion(w - 2, 0, 2, 2) - QRegion(0, h - 2, 2, 2));
}

void TCustomdxBarControl::LButtonDown(const TPoint& client, TShiftState /*shift*/)
{
    if (ignoreClick_ || !itemLinks_ || itemLinks_->VisibleItemCount() == 0) return;
    QPointer<TCustomdxBarControl> self(this);
    QPointer<TdxBarItemControl> control = ClientContains(client) ? ItemControlAtPos(client) : nullptr;
    if (IsCustomizing()) {
        if (control && !control->CanCustomize()) return;
        if (control && control == selectedControl_) {
            control->IsActive() ? control->ControlInactivate(true) : control->ControlActivate(true);
            if (!self) return;
            if (manager_) manager_->SetSelectedControl(control);
            if (control) RepaintItem(control);
        }
        if (self) SetMouseSelectedItem(control);
        if (!self || !control || !manager_) return;
        // The press may become a drag of the control's link.
        dragStart_ = client;
        manager_->SetDraggedItem(control->Item());
        manager_->SetDraggedLink(control->ItemLink());
        dragPending_ = true;
        SetCapture();
        return;
    }
    if (control && (!control->GetEnabled() || !control->IsSelectable())) control = nullptr;
    if (!control) return;
    SetKeySelectedItem(control);
    if (!self || !control) return;
    control->ControlClick(true);
    if (!self || !control || !HasItemControl(control)) return;
    if (IsToolbar() && selectedControl_ && selectedControl_->CapturesMouseOnPress()) {
        pressedControl_ = selectedControl_;
        pressedInside_ = true;
        SetCapture();
        RepaintItem(pressedControl_);
    }
}

void TCustomdxBarControl::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    if (destroyingControls_) return;
    QPointer<TCustomdxBarControl> self(this);
    if (dragPending_ && dxBarDragDistancePassed(dragStart_, client)) {
        StartItemDrag();
        return;
    }
    if (pressedControl_) {
        const bool inside = ClientContains(client) && ItemControlAtPos(client) == pressedControl_;
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            RepaintItem(pressedControl_);
        }
    }
    if (!ClientContains(client) || IgnoreMouseMove(client)) return;
    lastMouse_ = ClientToScreen(client);
    if (selectedControl_ && selectedControl_->HasEditor() && selectedControl_->EditorFocused()) return;
    if (!dxBarIsMouseTracked(this)) dxBarBeginMouseTracking(this);
    TdxBarItemControl* control = ItemControlAtPos(client);
    if (control && !control->CanSelect()) control = nullptr;
    if (pressedControl_) return;
    if (!control && IsToolbar() && active_) return;
    if (!control && selectedControl_ && selectedControl_->IsExpandable() && selectedControl_->IsActive()) return;
    if (self) SetMouseSelectedItem(control);
}

void TCustomdxBarControl::LButtonUp(const TPoint& client, TShiftState /*shift*/)
{
    if (ignoreClick_) {
        ignoreClick_ = false;
        return;
    }
    if (dragPending_) {
        EndDragPending();
        ReleaseCapture();
        return;
    }
    QPointer<TCustomdxBarControl> self(this);
    const bool hadPressed = pressedControl_;
    if (hadPressed) {
        pressedControl_ = nullptr;
        ReleaseCapture();
        if (!self) return;
    }
    if (ClientContains(client) && active_ && !IsCustomizing()) {
        QPointer<TdxBarItemControl> control = ItemControlAtPos(client);
        if (control && control->IsSelectable()) {
            if (control->GetEnabled() && control == selectedControl_)
                control->ControlUnclick(true);
            else if (!control->GetEnabled() && control != selectedControl_ && IsToolbar())
                HideAll();
        }
    }
    if (hadPressed && self) HideAll();
}

void TCustomdxBarControl::LButtonDblClk(const TPoint& client, TShiftState shift)
{
    TdxBarItemControl* control = ClientContains(client) ? ItemControlAtPos(client) : nullptr;
    if (!control || control != selectedControl_) return;
    if (control->HandlesDblClick())
        DblClickItem(control);
    else
        LButtonDown(client, shift);
}

void TCustomdxBarControl::RButtonDown(const TPoint& client, TShiftState /*shift*/)
{
    if (!IsCustomizing()) return;
    QPointer<TCustomdxBarControl> self(this);
    if (selectedControl_ && selectedControl_->IsActive()) selectedControl_->ControlInactivate(true);
    if (!self) return;
    QPointer<TdxBarItemControl> control = ClientContains(client) ? ItemControlAtPos(client) : nullptr;
    if (!control) return;
    if (control == selectedControl_) {
        if (manager_) manager_->SetSelectedControl(control);
        if (self && control) RepaintItem(control);
    }
    if (self && control) SetKeySelectedItem(control);
    if (self && control) dxBarShowCustomizingPopup(manager_, control, ClientToScreen(client));
}

void TCustomdxBarControl::MouseLeave()
{
    if (markState_ == 1) SetMarkState(0);
    if (childMenu_ || IsCustomizing()) return;
    if (selectedControl_ && selectedControl_->IsDroppedDown()) return;
    SetMouseSelectedItem(nullptr);
}

void TCustomdxBarControl::CaptureChanged()
{
    if (dragPending_) EndDragPending();
    pressedControl_ = nullptr;
    pressedInside_ = false;
}

void TCustomdxBarControl::EndDragPending()
{
    dragPending_ = false;
    if (!manager_) return;
    manager_->SetDraggedItem(nullptr);
    manager_->SetDraggedLink(nullptr);
}

void TCustomdxBarControl::StartItemDrag()
{
    // Pending ends first, so that giving up the capture keeps what the manager drags.
    dragPending_ = false;
    ReleaseCapture();
    QPointer<TdxBarManager> manager = manager_;
    TdxBarItem* item = manager ? manager->DraggedItem() : nullptr;
    TdxBarItemLink* link = manager ? manager->DraggedLink() : nullptr;
    if (!item) return;
    if (link && link->Control() && link->Control()->IsActive()) link->Control()->ControlInactivate(true);
    if (!manager) return;
    dxBarSetItemDragStart(ClientToScreen(dragStart_));
    manager->DragItem(item, link);
}

void TCustomdxBarControl::KeySelectLink(TdxBarItemLink* link)
{
    if (link && link->Control()) SetKeySelectedItem(link->Control());
}

void TCustomdxBarControl::KeyDown(int& key, TShiftState shift)
{
    if (!dxBarActiveBarControl() || !itemLinks_) return;
    QPointer<TCustomdxBarControl> self(this);
    int k = key;
    if (IsMenu()) {
        if (k == VK_LEFT || k == VK_RIGHT) return;
        if (k == VK_UP) k = VK_LEFT;
        if (k == VK_DOWN) k = VK_RIGHT;
    }
    const bool tab = k == VK_TAB;
    if (tab) k = (shift & ssShift) ? VK_LEFT : VK_RIGHT;
    TdxBarItemLink* selectedLink = selectedControl_ ? selectedControl_->ItemLink() : nullptr;
    switch (k) {
    case VK_END: KeySelectLink(itemLinks_->Last()); return;
    case VK_HOME: KeySelectLink(itemLinks_->First()); return;
    case VK_LEFT:
    case VK_RIGHT: {
        TdxBarItemLink* link = !selectedLink  ? itemLinks_->First()
                               : k == VK_LEFT ? itemLinks_->Prev(selectedLink)
                                              : itemLinks_->Next(selectedLink);
        KeySelectLink(link);
        if (self && tab && selectedControl_ && selectedControl_->HasEditor()) selectedControl_->Click(false);
        return;
    }
    case VK_RETURN:
        if (selectedControl_ && !ClickSelected(k)) selectedControl_->Click(false);
        return;
    case VK_F10:
        if (manager_ && manager_->property("UseF10ForMenu").toBool()) {
            key = 0;
            HideAll();
        }
        return;
    default: break;
    }
    if (ClickSelected(k)) return;
    const bool letterOrDigit = (k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9');
    if (letterOrDigit) SelectByAccelerator(k, shift);
}

void TCustomdxBarControl::SelectByAccelerator(int key, TShiftState shift)
{
    TdxBarItemLink* start = selectedControl_ ? selectedControl_->ItemLink() : nullptr;
    QPointer<TdxBarItemLink> found = itemLinks_->FindByAccelerator(key, shift, start);
    if (!found || !found->Item() || !found->Item()->Enabled()) return;
    TdxBarItemLink* again = itemLinks_->FindByAccelerator(key, shift, found);
    const bool unique = again == found;
    QPointer<TCustomdxBarControl> self(this);
    // A menu showing only its recent links opens out when the match lies among the others.
    auto hidden = [this](TdxBarItemLink* link) { return link && !itemLinks_->VisibleItems().contains(link); };
    if (IsMenu() && MarkExists() && (hidden(found) || (!unique && hidden(again)))) {
        SetMarkState(2);
        if (!self || !found) return;
    }
    KeySelectLink(found);
    if (!self || !unique) return;
    int enter = VK_RETURN;
    KeyDown(enter, {});
}
