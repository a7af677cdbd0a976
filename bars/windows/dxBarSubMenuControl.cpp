// The menu window: layout through MenuLayout, recent items and expansion, scrolling,
// placement, painting, the opening animation and the keys of an open menu.
#include "dxBarSubMenuControl.h"

#include "Scope.h"
#include "dxBarBar.h"
#include "dxBarDetachDrag.h"
#include "dxBarDrawing.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarStrs.h"
#include "dxBarSubItemControl.h"
#include "Forms.h"
#include "Painting.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QRandomGenerator>

using namespace menulayout;

namespace {

QPointer<TdxBarSubMenuControl> animatingMenu;

TCreateParams MenuParams(TdxBarManager* manager)
{
    TCreateParams params;
    params.Popup = true;
    params.Menu = true;
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    params.Owner = form ? form->Handle() : nullptr;
    return params;
}

}  // namespace

TdxBarSubMenuControl* dxBarActiveMenu()
{
    return qobject_cast<TdxBarSubMenuControl*>(dxBarActiveBarControl());
}

bool dxBarMenuChainActive()
{
    return dxBarActiveMenu() != nullptr;
}

TdxBarSubMenuControl* dxBarAnimatingMenu()
{
    return animatingMenu;
}

TColor dxBarRecentItemsColor()
{
    return dxBarOffsetSysColor(COLOR_BTNFACE, 20, 20, 20);
}

// ---------------------------------------------------------------- construction

TdxBarSubMenuControl::TdxBarSubMenuControl(TdxBarManager* manager) : TCustomdxBarControl(manager, MenuParams(manager))
{
    TdxBarSubMenuControl::UpdateFont();
    TdxBarSubMenuControl::CalcDrawingConsts();
}

TdxBarSubMenuControl::~TdxBarSubMenuControl()
{
    Destroying();
    closing_ = true;
    if (Animating()) FinishAnimation();
    KillTimer(ScrollTimer);
    KillDelayTimer();
    if (auto* child = qobject_cast<TdxBarSubMenuControl*>(ChildMenu())) child->Close();
    if (TCustomdxBarControl* parent = ParentBar(); parent && parent->ChildMenu() == this) parent->SetChildMenu(nullptr);
    std::function<void()> closeUp = std::move(OnCloseUp);
    OnCloseUp = nullptr;
    BarControlDestroying();
    if (closeUp) closeUp();
}

TdxBarSubItemControl* TdxBarSubMenuControl::OwnerSubItemControl() const
{
    return ownerSubItem_;
}

void TdxBarSubMenuControl::SetOwnerSubItemControl(TdxBarSubItemControl* control)
{
    ownerSubItem_ = control;
}

void TdxBarSubMenuControl::SetPosition(int left, int top)
{
    savedLeft_ = left;
    savedTop_ = top;
}

void TdxBarSubMenuControl::SetOwnerSize(int width, int height)
{
    ownerWidth_ = std::max(0, width);
    ownerHeight_ = std::max(0, height);
}

// ---------------------------------------------------------------- values

void TdxBarSubMenuControl::CalcDrawingConsts()
{
    TCustomdxBarControl::CalcDrawingConsts();
    const QFontMetrics fm(Font());
    int h = fm.height() + 1;
    if (((h - 6) / 2) % 2 != 0) h = 2 * ((h - 6) / 2) + 4;
    expandButtonHeight_ = h;
    SetCheckSize(IsFlat() ? 20 : 19);
}

bool TdxBarSubMenuControl::CanCustomize() const
{
    if (TCustomdxBarControl::CanCustomize()) return true;
    TPersistent* owner = ItemLinks() ? ItemLinks()->OwnerObject() : nullptr;
    if (auto* sub = qobject_cast<TdxBarSubItem*>(owner)) return sub->AllowCustomizing();
    return owner && owner->inherits("TdxBarPopupMenu");
}

void TdxBarSubMenuControl::UpdateFont()
{
    if (auto* parent = qobject_cast<TdxBarSubMenuControl*>(ParentBar())) {
        SetFont(parent->Font());
        return;
    }
    auto* popup = ItemLinks() ? qobject_cast<TdxBarPopupMenu*>(ItemLinks()->OwnerObject()) : nullptr;
    if (popup && popup->UseOwnFont() && popup->Font()) {
        SetFont(popup->Font()->ToQFont());
        return;
    }
    SetFont(MenuFont());
}

bool TdxBarSubMenuControl::InRecentItemsMode() const
{
    TdxBarManager* manager = BarManager();
    return manager && manager->MenusShowRecentItemsFirstActive() && ItemLinks() && ItemLinks()->UsesRecentItems();
}

bool TdxBarSubMenuControl::MarkExists() const
{
    TdxBarItemLinks* links = ItemLinks();
    return InRecentItemsMode() && links && links->VisibleItemCount() < links->CanVisibleItemCount();
}

bool TdxBarSubMenuControl::HasDetachBar() const
{
    TdxBarItemControl* owner = ownerSubItem_;
    auto* sub = owner ? qobject_cast<TCustomdxBarSubItem*>(owner->Item()) : nullptr;
    return sub && sub->property("Detachable").toBool();
}

TRect TdxBarSubMenuControl::DetachBarRect() const
{
    if (!HasDetachBar()) return {};
    // The window rectangle at (0, 0) inset by the frame, 7 px high, in client coordinates.
    const int inset = IsFlat() ? 2 : 3;
    const TRect client = ClientBounds();
    return TRect(inset - client.Left, inset - client.Top, Width() - inset - client.Left - (HasShadow() ? 2 : 0),
                 inset + 7 - client.Top);
}

QBrush TdxBarSubMenuControl::GetToolbarBrush() const
{
    if (paintingRow_) return rowBrush_;
    return IsFlat() ? SysBrush(COLOR_WINDOW) : SysBrush(COLOR_BTNFACE);
}

// ---------------------------------------------------------------- layout

std::vector<TRow> TdxBarSubMenuControl::LayoutRows() const
{
    std::vector<TRow> rows;
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return rows;
    const QHash<const TdxBarItemLink*, int> ranks = dxBarRecentRanks(links);
    for (TdxBarItemLink* link : links->VisibleItems()) {
        TRow row;
        if (TdxBarItemControl* c = link->Control()) {
            row.Width = c->GetWidthForBar();
            row.Height = c->GetHeightForBar();
        }
        row.BeginGroup = link->BeginGroup();
        row.RecentRank = ranks.value(link, int(ranks.size()));
        rows.push_back(row);
    }
    return rows;
}

TMenu TdxBarSubMenuControl::LayoutMenu() const
{
    TMenu m;
    m.Flat = IsFlat();
    m.SideStrip = sideStrip_;
    m.DetachBar = HasDetachBar();
    m.DetachBarHeight = DetachBarHeight();
    m.ClientWidth = ClientRect().Width();
    m.ClientHeight = ClientRect().Height();
    m.MenuItemHeight = MenuItemHeight();
    m.BeginGroupSize = BeginGroupSize();
    m.MarkExists = MarkExists();
    m.TopIndex = topIndex_;
    m.Shading = InRecentItemsMode() && dxBarMenusExpanded();
    m.RecentCount = ItemLinks() ? ItemLinks()->RecentItemCount() : -1;
    return m;
}

void TdxBarSubMenuControl::CalcLayout()
{
    places_.clear();
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return;
    links->EmptyItemRects();
    if (rows_.size() != size_t(links->VisibleItemCount())) rows_ = LayoutRows();
    const TResult r = Layout(LayoutMenu(), rows_, false);
    const QList<TdxBarItemLink*> visible = links->VisibleItems();
    for (int i = 0; i < visible.size() && size_t(i) < r.Places.size(); ++i) {
        const TPlace& place = r.Places[size_t(i)];
        visible[i]->SetItemRect(place.Rect.IsEmpty() ? QRect() : place.Rect.ToQRect());
        if (TdxBarItemControl* c = visible[i]->Control()) {
            places_.insert(c, place);
            c->LayoutBeginGroup = place.Separator;
        }
    }
    shown_ = r.Shown;
    PlaceHostedWindows();
}

bool TdxBarSubMenuControl::CanScrollDown() const
{
    const int count = ItemLinks() ? ItemLinks()->VisibleItemCount() : 0;
    return shown_ < count - topIndex_;
}

void TdxBarSubMenuControl::SetTopIndex(int index)
{
    const int count = ItemLinks() ? ItemLinks()->VisibleItemCount() : 0;
    index = std::clamp(index, 0, std::max(0, count - 1));
    if (index == topIndex_) return;
    topIndex_ = index;
    CalcLayout();
    Invalidate();
}

TRect TdxBarSubMenuControl::ExpandButtonRect() const
{
    return ExpandBand(LayoutMenu());
}

TRect TdxBarSubMenuControl::UpArrowRect() const
{
    if (!CanScrollUp() || !ItemLinks() || topIndex_ >= ItemLinks()->VisibleItemCount()) return {};
    return TRect::FromQRect(ItemLinks()->VisibleItems().at(topIndex_)->ItemRect());
}

TRect TdxBarSubMenuControl::DownArrowRect() const
{
    if (!CanScrollDown() || shown_ == 0) return {};
    TdxBarItemLink* last = ItemLinks()->VisibleItems().at(topIndex_ + shown_ - 1);
    TRect r = GetItemRectEx(last->Control(), true);
    r.Bottom = ClientRect().Height() - 2 - (MarkExists() ? MenuItemHeight() : 0);
    return r;
}

TRect TdxBarSubMenuControl::GetItemRectEx(TdxBarItemControl* control, bool extended) const
{
    if (!control || !control->ItemLink()) return {};
    TRect r = TRect::FromQRect(control->ItemLink()->ItemRect());
    if (r.IsEmpty()) return r;
    const TPlace place = places_.value(control);
    if (place.Boundary && !IsFlat()) r.Top -= 1;
    if (extended && place.Separator) r.Top -= BeginGroupSize();
    return r;
}

bool TdxBarSubMenuControl::CursorIn(const TRect& r) const
{
    return !r.IsEmpty() && r.Contains(ScreenToClient(QCursor::pos()));
}

TdxBarItemControl* TdxBarSubMenuControl::ItemAtPosEx(const TPoint& client, bool& outside, bool& before,
                                                     bool& vertical) const
{
    if (CursorIn(UpArrowRect()) || CursorIn(DownArrowRect()) || CursorIn(ExpandButtonRect())) {
        outside = before = false;
        vertical = true;
        return nullptr;
    }
    return TCustomdxBarControl::ItemAtPosEx(client, outside, before, vertical);
}

// ---------------------------------------------------------------- recent items

void TdxBarSubMenuControl::ApplyRecentLimit()
{
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return;
    int limit = -1;
    if (InRecentItemsMode() && !dxBarMenusExpanded()) {
        // 0 means no link reached the threshold: every link counts as recent.
        const int count = links->RecentItemCount();
        limit = count > 0 ? count : -1;
    }
    links->SetRecentItemLimit(limit);
}

void TdxBarSubMenuControl::RebuildControls()
{
    {
        TRestore locked(locked_, true);
        DestroyControls();
        CreateControls();
    }
    // The rows' sizes stay as measured until the controls are rebuilt.
    rows_ = LayoutRows();
}

void TdxBarSubMenuControl::CreateControls()
{
    ExpandContainers();
    TCustomdxBarControl::CreateControls();
}

void TdxBarSubMenuControl::DestroyControls()
{
    TCustomdxBarControl::DestroyControls();
    CollapseContainers();
}

void TdxBarSubMenuControl::ExpandContainers()
{
    TdxBarItemLinks* links = ItemLinks();
    if (!links || !containers_.empty() || IsCustomizing()) return;
    // Only the menu's own links expand, not the links a container puts in.
    const QList<TdxBarItemLink*> shown = links->CanVisibleItems();
    const QList<QPointer<TdxBarItemLink>> own(shown.cbegin(), shown.cend());
    QPointer<TdxBarSubMenuControl> self(this);
    QPointer<TdxBarItemLinks> guardedLinks(links);
    for (const QPointer<TdxBarItemLink>& link : own) {
        auto* item = link ? qobject_cast<TCustomdxBarContainerItem*>(link->Item()) : nullptr;
        if (!item || link->Links() != links) continue;
        TContainerExpansion expansion;
        expansion.Item = item;
        if (item->ReplaceOwnLink()) {
            expansion.Replaced = link;
            link->SetReplacedInMenu(true);
        }
        const QList<TCollectionItem*> before = links->ItemList();
        // Recorded before the container runs: its data event may change anything.
        containers_.push_back(expansion);
        item->AddListedItemLinks(links, link->Index() + 1, link, !shownOnce_);
        if (!self || !guardedLinks) return;
        for (TCollectionItem* ci : links->ItemList())
            if (!before.contains(ci)) containers_.back().Listed << qobject_cast<TdxBarItemLink*>(ci);
    }
}

void TdxBarSubMenuControl::CollapseContainers()
{
    // Exactly the links an expansion put in go again, whatever the container holds by now.
    while (!containers_.empty()) {
        TContainerExpansion expansion = std::move(containers_.back());
        containers_.pop_back();
        for (const QPointer<TdxBarItemLink>& listed : expansion.Listed) delete listed.data();
        if (expansion.Replaced) expansion.Replaced->SetReplacedInMenu(false);
        // A closing menu leaves the container to make its entries afresh next time.
        if (closing_ && expansion.Item) expansion.Item->SetClearPending();
    }
}

void TdxBarSubMenuControl::PlaceWindow()
{
    const TMenu m = LayoutMenu();
    const std::vector<TRow>& rows = rows_;
    TMenu measuring = m;
    measuring.TopIndex = 0;
    const TResult measured = Layout(measuring, rows, true);
    TPlacement p;
    p.WorkArea = dxBarGetWorkArea({savedLeft_, savedTop_});
    p.Left = savedLeft_;
    p.Top = savedTop_;
    p.Width = measured.Width;
    p.Height = measured.Height;
    p.OwnerWidth = ownerWidth_;
    p.OwnerHeight = ownerHeight_;
    p.PreferRight = preferRight_;
    p.PreferDown = preferDown_;
    // A scrolling menu keeps its two arrow rows and at least one row between them.
    int rowsExtent = 0;
    for (int i = 0; i < measured.Shown; ++i) rowsExtent = measured.Places[size_t(i)].Rect.Bottom;
    const int frame = measured.Height - rowsExtent;
    p.MinScrollHeight = frame + 3 * (MenuItemHeight() + (IsFlat() ? 2 : 0)) + BeginGroupSize();
    const TPlaced placed = Place(p);
    growLeft_ = (!preferRight_ && !placed.FlippedH) || (preferRight_ && placed.FlippedH);
    growUp_ = (!preferDown_ && !placed.FlippedV) || (preferDown_ && placed.FlippedV);
    SetWindowPos(placed.Bounds);
    topIndex_ = LowestTopIndex(LayoutMenu(), rows) < topIndex_ ? LowestTopIndex(LayoutMenu(), rows) : topIndex_;
    CalcLayout();
}

// ---------------------------------------------------------------- life

void TdxBarSubMenuControl::Show()
{
    if (closing_) return;
    QPointer<TdxBarSubMenuControl> self(this);
    if (OnPopup) OnPopup();
    if (!self || closing_) return;
    UpdateFont();
    CalcDrawingConsts();
    SetActive(true);
    if (!self) return;
    ApplyRecentLimit();
    topIndex_ = 0;
    RebuildControls();
    PlaceWindow();
    shownOnce_ = true;
    if (!self) return;
    dxBarPlaySound(0);
    TdxBarManager* manager = ParentBar() && ParentBar()->BarManager() ? ParentBar()->BarManager() : BarManager();
    const TdxBarMenuAnimations kind = manager ? manager->MenuAnimations() : maNone;
    const bool animated =
        animate_ && kind != maNone && ItemLinks() && ItemLinks()->VisibleItemCount() > 0 && !IsCustomizing();
    if (animated) {
        StartAnimation(growLeft_, growUp_);
    } else {
        animate_ = false;
        SetWindowPos(BoundsRect(), SWP_SHOWWINDOW);
        Invalidate();
    }
}

void TdxBarSubMenuControl::Close()
{
    if (closing_) return;
    closing_ = true;
    delete this;
}

void TdxBarSubMenuControl::HideAll()
{
    TCustomdxBarControl* parent = ParentBar();
    // A top menu (a popup menu's) has no parent: it closes itself.
    if (parent && dxBarIsBarControlAlive(parent))
        TCustomdxBarControl::HideAll();
    else
        Close();
}

void TdxBarSubMenuControl::RepaintBar()
{
    if (closing_ || locked_ || !shownOnce_) return;
    QPointer<TdxBarSubMenuControl> self(this);
    QPointer<TdxBarItemLink> selected = SelectedControl() ? SelectedControl()->ItemLink() : nullptr;
    if (IsCustomizing()) ClearSelectedControl();
    ApplyRecentLimit();
    RebuildControls();
    if (!self) return;
    PlaceWindow();
    Invalidate();
    if (selected && selected->Control() && selected->Control()->Parent() == this)
        SetKeySelectedItem(selected->Control());
}

void TdxBarSubMenuControl::SetActive(bool value)
{
    QPointer<TdxBarSubMenuControl> self(this);
    TCustomdxBarControl::SetActive(value);
    if (!self || !value) return;
    TdxBarManager* manager = BarManager();
    if (InRecentItemsMode() && !dxBarMenusExpanded() && manager && manager->ShowFullMenusAfterDelay())
        StartDelayTimer(ExpandDelay, 1);
}

void TdxBarSubMenuControl::StartDelayTimer(int elapse, int kind)
{
    KillDelayTimer();
    SetTimer(kind + 2, elapse);
}

void TdxBarSubMenuControl::KillDelayTimer()
{
    KillTimer(DelayTimerHot);
    KillTimer(DelayTimerExpand);
}

void TdxBarSubMenuControl::SetSelectedItem(TdxBarItemControl* control)
{
    if (control == SelectedControl()) return;
    QPointer<TdxBarSubMenuControl> self(this);
    if (MarkState() != 1) KillDelayTimer();
    TCustomdxBarControl::SetSelectedItem(control);
    if (!self || closing_) return;
    TdxBarItemLink* link = control ? control->ItemLink() : nullptr;
    const int index = link && ItemLinks() ? int(ItemLinks()->VisibleItems().indexOf(link)) : -1;
    // Only a row under an arrow or out of sight moves the top index.
    const bool hidden = (topIndex_ > 0 && index <= topIndex_) || (CanScrollDown() && index >= topIndex_ + shown_ - 1);
    if (index >= 0 && hidden) {
        const int top = TopIndexFor(LayoutMenu(), rows_, index);
        if (top != topIndex_) SetTopIndex(top);
    }
    TdxBarManager* manager = BarManager();
    if (IsActive() && InRecentItemsMode() && !dxBarMenusExpanded() && manager && manager->ShowFullMenusAfterDelay() &&
        MarkState() != 1)
        StartDelayTimer(ExpandDelay, 0);
}

void TdxBarSubMenuControl::SetMarkState(int state)
{
    if (IsCustomizing() || !InRecentItemsMode()) return;
    if (state == 1 && SelectedControl() && SelectedControl()->HasEditor() && SelectedControl()->EditorFocused())
        state = 0;
    if (state == MarkState()) return;
    TCustomdxBarControl::SetMarkState(state);
    if (state == 2) {
        ExpandMenu();
        return;
    }
    InvalidateRect(ExpandButtonRect());
    TdxBarManager* manager = BarManager();
    if (!manager) return;
    if (manager->ShowFullMenusAfterDelay()) {
        KillDelayTimer();
        if (state == 1 && CursorIn(ExpandButtonRect())) StartDelayTimer(HotExpandDelay, 1);
    } else if (state == 1) {
        manager->UpdateHint(true, dxBarStr(dxSBAR_EXPAND));
    } else {
        manager->UpdateHint(false, {});
    }
}

void TdxBarSubMenuControl::ExpandMenu()
{
    if (!MarkExists() || closing_) return;
    QPointer<TdxBarSubMenuControl> self(this);
    dxBarSetMenusExpanded(true);
    KillDelayTimer();
    TCustomdxBarControl::SetMarkState(0);
    SetKeySelectedItem(nullptr);
    if (!self) return;
    ApplyRecentLimit();
    RebuildControls();
    topIndex_ = 0;
    WaitForAnimation();
    PlaceWindow();
    animate_ = true;
    TdxBarManager* manager = BarManager();
    if (manager && manager->MenuAnimations() != maNone && !IsCustomizing())
        StartAnimation(growLeft_, growUp_);
    else
        Invalidate();
}

// ---------------------------------------------------------------- animation

bool TdxBarSubMenuControl::Animating() const
{
    return animatingMenu == this;
}

void TdxBarSubMenuControl::StartAnimation(bool /*flippedH*/, bool /*flippedV*/)
{
    // One animation at a time: a running one first completes.
    if (TdxBarSubMenuControl* running = animatingMenu; running && running != this) running->WaitForAnimation();
    TdxBarManager* manager = BarManager();
    TdxBarMenuAnimations kind = manager ? manager->MenuAnimations() : maNone;
    if (kind == maRandom) kind = QRandomGenerator::global()->bounded(100) >= 50 ? maSlide : maUnfold;
    const TRect client = ClientRect();
    frames_ = Frames(kind == maUnfold ? TAnimation::Unfold : TAnimation::Slide, client.Width(), client.Height());
    finalBounds_ = BoundsRect();
    nonClient_ = QSize(finalBounds_.Width() - client.Width(), finalBounds_.Height() - client.Height());
    prepared_ = QImage(std::max(1, client.Width()), std::max(1, client.Height()), QImage::Format_RGB32);
    {
        QPainter p(&prepared_);
        Paint(p);
    }
    frame_ = 0;
    animatingMenu = this;
    if (frames_.Count() == 0) {
        FinishAnimation();
        return;
    }
    ShowFrame(1);
    SetTimer(AnimationTimer, 15);
}

void TdxBarSubMenuControl::ShowFrame(int k)
{
    frame_ = k;
    SetWindowPos(FrameBounds(finalBounds_, FrameSize(frames_, k), nonClient_, growLeft_, growUp_), SWP_SHOWWINDOW);
    Invalidate();
}

void TdxBarSubMenuControl::FinishAnimation()
{
    KillTimer(AnimationTimer);
    frame_ = frames_.Count();
    if (animatingMenu == this) animatingMenu = nullptr;
    prepared_ = QImage();
    animate_ = false;
    if (closing_) return;
    SetWindowPos(finalBounds_, SWP_SHOWWINDOW);
    CalcLayout();
    Invalidate();
}

void TdxBarSubMenuControl::WaitForAnimation()
{
    if (Animating()) FinishAnimation();
}

// ---------------------------------------------------------------- painting

void TdxBarSubMenuControl::NCCalcSize(TRect& rect)
{
    TCustomdxBarControl::NCCalcSize(rect);
    rect = rect.Inflated(-1, -1);
    if (HasDetachBar()) rect.Top += DetachBarHeight();
}

int TdxBarSubMenuControl::NCHitTest(const TPoint& screen)
{
    if (HasDetachBar() && DetachBarRect().Contains(ScreenToClient(screen))) return HTCLIENT;
    return TCustomdxBarControl::NCHitTest(screen);
}

void TdxBarSubMenuControl::NCPaint(QPainter& p)
{
    TCustomdxBarControl::NCPaint(p);
    TRect w(0, 0, Width() - (HasShadow() ? 2 : 0), Height() - (HasShadow() ? 2 : 0));
    if (IsFlat()) {
        FrameRect(p, w, SysBrush(COLOR_BTNTEXT));
    } else {
        FillRect(p, {w.Left, w.Top, w.Right, w.Top + 1}, SysBrush(COLOR_BTNFACE));
        FillRect(p, {w.Left, w.Top, w.Left + 1, w.Bottom}, SysBrush(COLOR_BTNFACE));
        DrawEdge(p, w, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
    }
    if (!HasDetachBar()) return;
    const TRect client = ClientBounds();
    const TRect band(client.Left, 1, client.Right, client.Top);
    FillRect(p, band, IsFlat() ? SysBrush(COLOR_WINDOW) : SysBrush(COLOR_BTNFACE));
    TRect bar = DetachBarRect().Offset(client.Left, client.Top);
    if (IsFlat()) {
        FillRect(p, bar, detachHot_ ? GetSelectedBrush() : GetFlatMenuBrush());
        const int mid = (bar.Left + bar.Right) / 2;
        for (int y = bar.Top + 1; y < bar.Bottom - 1; y += 2)
            DrawLine(p, {mid - 16, y}, {mid + 17, y}, SysColor(detachHot_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNSHADOW));
    } else {
        FillRect(p, bar, SysBrush(detachHot_ ? COLOR_HIGHLIGHT : COLOR_ACTIVECAPTION));
    }
}

void TdxBarSubMenuControl::Paint(QPainter& p)
{
    if (closing_) return;
    // The rows measured their text in the menu's font: they draw it in the same.
    p.setFont(Font());
    const TRect client = ClientRect();
    if (Animating() && !prepared_.isNull()) {
        const int x = growLeft_ ? 0 : client.Width() - prepared_.width();
        const int y = growUp_ ? 0 : client.Height() - prepared_.height();
        p.drawImage(x, y, prepared_);
        return;
    }
    const QBrush background = GetToolbarBrush();
    FillRect(p, client, background);
    if (IsFlat()) {
        FrameRect(p, client, SysBrush(COLOR_WINDOW));
    } else {
        TRect edge = client;
        if (HasDetachBar()) edge.Top -= 2;
        DrawEdge(p, edge, BDR_RAISEDINNER, BF_RECT);
        FrameRect(p, client.Inflated(-1, -1), background);
    }
    TdxBarItemLinks* links = ItemLinks();
    if (links && links->VisibleItemCount() > 0) {
        const TRect up = UpArrowRect(), down = DownArrowRect();
        // Only the rows in the painted area (a hover repaints two rows).
        TRect clip = client;
        if (QPaintEngine* engine = p.paintEngine(); engine && !engine->systemClip().isEmpty()) {
            const QRect area = engine->systemClip().boundingRect();
            clip = TRect::FromQRect(area).Offset(-ClientBounds().Left, -ClientBounds().Top).Intersected(client);
        }
        for (int i = topIndex_; i < topIndex_ + shown_ && i < links->VisibleItemCount(); ++i) {
            TdxBarItemControl* c = links->VisibleItems().at(i)->Control();
            if (!c || !GetItemRectEx(c, true).Intersects(clip)) continue;
            if (i == topIndex_ && !up.IsEmpty()) continue;
            if (i == topIndex_ + shown_ - 1 && !down.IsEmpty()) continue;
            DrawItem(p, c);
        }
        if (!up.IsEmpty()) PaintArrowRow(p, up, true);
        if (!down.IsEmpty()) PaintArrowRow(p, down, false);
        PaintExpandBand(p);
    }
    if (sideStrip_ > 0) {
        const TRect strip(IsFlat() ? 1 : 2, IsFlat() ? 1 : 2, sideStrip_ + (IsFlat() ? 1 : 2),
                          client.Height() - (IsFlat() ? 1 : 2));
        if (OnPaintBar)
            OnPaintBar(p, strip);
        else
            FillRect(p, strip, SysBrush(COLOR_BTNSHADOW));
    }
}

void TdxBarSubMenuControl::PaintArrowRow(QPainter& p, const TRect& r, bool up)
{
    FillRect(p, r, GetToolbarBrush());
    if (!up && !IsFlat()) DrawLine(p, {r.Left, r.Top}, {r.Right, r.Top}, SysColor(COLOR_BTNSHADOW));
    const int size = std::max(2, MenuItemHeight() / 3);
    const int cx = (r.Left + sideStrip_ * 0 + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    QList<TPoint> points;
    if (up)
        points = {{cx - size, cy + size / 2}, {cx + size, cy + size / 2}, {cx, cy - size / 2}};
    else
        points = {{cx - size, cy - size / 2}, {cx + size, cy - size / 2}, {cx, cy + size / 2}};
    FillPolygon(p, points, SysColor(COLOR_BTNTEXT));
}

void TdxBarSubMenuControl::PaintExpandBand(QPainter& p)
{
    const TRect band = ExpandButtonRect();
    if (band.IsEmpty()) return;
    FillRect(p, band, GetToolbarBrush());
    const int h = expandButtonHeight_;
    TRect button(band.Left + (band.Width() - 2 * h) / 2, band.Bottom - h, band.Left + (band.Width() + 2 * h) / 2,
                 band.Bottom);
    if (MarkState() != 0) {
        FillRect(p, button, QBrush(ColorToQColor(dxBarRecentItemsColor())));
        DrawEdge(p, button, MarkState() == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    // Two V strokes pointing down.
    const int chevron = std::max(2, (h - 6) / 2);
    const int cx = (button.Left + button.Right) / 2, cy = (button.Top + button.Bottom) / 2 - chevron / 2;
    const QColor ink = SysColor(COLOR_BTNTEXT);
    for (int v = 0; v < 2; ++v)
        for (int w = 0; w < 2; ++w) {
            const int y = cy + v * 4 + w;
            DrawLine(p, {cx - chevron, y - chevron / 2}, {cx, y + chevron / 2}, ink);
            DrawLine(p, {cx, y + chevron / 2}, {cx + chevron + 1, y - chevron / 2 - 1}, ink);
        }
}

void TdxBarSubMenuControl::DrawItem(QPainter& p, TdxBarItemControl* control)
{
    if (closing_ || !control || !control->Item()) return;
    TCustomdxBarControl::DrawItem(p, control);
    const TRect r = TRect::FromQRect(control->ItemLink()->ItemRect());
    if (r.IsEmpty()) return;
    const TPlace place = places_.value(control);
    rowBrush_ = place.NotRecent ? QBrush(ColorToQColor(dxBarRecentItemsColor()))
                                : (IsFlat() ? SysBrush(COLOR_WINDOW) : SysBrush(COLOR_BTNFACE));
    paintingRow_ = true;
    const int n = sideStrip_ == 0 ? 1 : 0;
    if (place.Separator) PaintSeparator(p, control, r);
    if (!IsFlat()) {
        if (place.Boundary) {
            const int y = r.Top - 1 - (place.Separator && !place.NotRecent ? BeginGroupSize() : 0);
            DrawLine(p, {r.Left - n, y}, {r.Right + 1, y},
                     SysColor(place.NotRecent ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
        }
        if (place.NotRecent) {
            FillRect(p, {r.Left - n, r.Top, r.Left, r.Bottom}, rowBrush_);
            FillRect(p, {r.Right, r.Top, r.Right + 2, r.Bottom}, rowBrush_);
        }
    }
    control->Draw(p, r, dxBarPaintMenu);
    paintingRow_ = false;
}

void TdxBarSubMenuControl::PaintSeparator(QPainter& p, TdxBarItemControl* control, const TRect& r)
{
    TRect s(r.Left, r.Top - BeginGroupSize(), r.Right, r.Top);
    const int indent = BarManager() ? BarManager()->MenuSeparatorIndent() : 0;
    if (IsFlat()) {
        const int x = s.Left + control->GetCaptionOffset();
        FillRect(p, {s.Left, s.Top, x, s.Bottom}, QBrush(ColorToQColor(dxBarFlatColors().Toolbar)));
        FillRect(p, {x, s.Top, s.Right, s.Bottom}, rowBrush_);
        const int y = (s.Top + s.Bottom) / 2;
        DrawLine(p, {x + indent, y}, {s.Right + 1, y}, SysColor(COLOR_BTNSHADOW));
        return;
    }
    FillRect(p, s, rowBrush_);
    s = TRect(s.Left + indent, s.Top + 4, s.Right - indent, s.Bottom - 4);
    DrawEdge(p, s, EDGE_ETCHED, BF_TOP);
}

// ---------------------------------------------------------------- mouse

void TdxBarSubMenuControl::LButtonDown(const TPoint& client, TShiftState shift)
{
    if (TimerActive(ScrollTimer)) return;
    QPointer<TdxBarSubMenuControl> self(this);
    WaitForAnimation();
    if (HasDetachBar() && DetachBarRect().Contains(client)) {
        DragDetach();
        return;
    }
    const TRect band = ExpandButtonRect();
    if (!band.IsEmpty() && band.Contains(client)) {
        if (MarkState() == 1 || MarkState() == 2) {
            SetMarkState(2);
        } else {
            SetMouseSelectedItem(nullptr);
            if (self) SetMarkState(1);
        }
        return;
    }
    if (UpArrowRect().Contains(client) || DownArrowRect().Contains(client)) return;
    TCustomdxBarControl::LButtonDown(client, shift);
}

void TdxBarSubMenuControl::MouseMove(const TPoint& client, TShiftState shift)
{
    if (closing_) return;
    QPointer<TdxBarSubMenuControl> self(this);
    WaitForAnimation();
    // Coming back from the parent's other rows keeps this menu's owner selected there.
    TCustomdxBarControl* parent = ParentBar();
    TdxBarItemControl* owner = ownerSubItem_.data();
    if (parent && dxBarIsBarControlAlive(parent) && owner && parent->IsActive() && parent->SelectedControl() != owner &&
        owner->Parent() == parent)
        parent->SetMouseSelectedItem(owner);
    if (!self || closing_) return;
    if (HasDetachBar()) SetDetachBarHot(DetachBarRect().Contains(client));
    if (!self) return;
    const TRect band = ExpandButtonRect();
    if (!band.IsEmpty()) {
        if (band.Contains(client)) {
            if (MarkState() == 0) SetMarkState(1);
        } else if (MarkState() == 1) {
            SetMarkState(0);
        }
        if (!self) return;
    }
    const bool onArrow = UpArrowRect().Contains(client) || DownArrowRect().Contains(client);
    if (onArrow) {
        const TPoint screen = ClientToScreen(client);
        if (!TimerActive(ScrollTimer) && screen != lastScrollCursor_) SetTimer(ScrollTimer, ScrollInterval);
        lastScrollCursor_ = screen;
        return;
    }
    KillTimer(ScrollTimer);
    if (!band.IsEmpty() && band.Contains(client)) return;
    TCustomdxBarControl::MouseMove(client, shift);
}

void TdxBarSubMenuControl::MouseLeave()
{
    QPointer<TdxBarSubMenuControl> self(this);
    SetDetachBarHot(false);
    if (self) TCustomdxBarControl::MouseLeave();
}

void TdxBarSubMenuControl::SetDetachBarHot(bool hot)
{
    if (hot == detachHot_) return;
    detachHot_ = hot;
    InvalidateFrame();
    // The hint tells what the bar does; it goes again when the bar cools with no row taking over.
    TdxBarManager* manager = BarManager();
    if (!manager) return;
    if (hot)
        manager->UpdateHint(true, dxBarStr(dxSBAR_DRAGTOMAKEMENUFLOAT));
    else if (!SelectedControl())
        manager->UpdateHint(false, {});
}

void TdxBarSubMenuControl::Timer(int id)
{
    QPointer<TdxBarSubMenuControl> self(this);
    switch (id) {
    case ScrollTimer: {
        if (CursorIn(UpArrowRect()) && CanScrollUp()) {
            SetTopIndex(topIndex_ - 1);
        } else if (CursorIn(DownArrowRect()) && CanScrollDown()) {
            SetTopIndex(topIndex_ + 1);
        } else {
            KillTimer(ScrollTimer);
            lastScrollCursor_ = {-1, -1};
            const TPoint at = ScreenToClient(QCursor::pos());
            PostCall([this, at] { MouseMove(at, {}); });
        }
        return;
    }
    case DelayTimerHot:
        KillDelayTimer();
        if (!ChildMenu()) SetMarkState(1);
        return;
    case DelayTimerExpand:
        KillDelayTimer();
        SetMarkState(2);
        return;
    case AnimationTimer:
        // The tick after the last frame shows the finished menu.
        if (frame_ >= frames_.Count()) {
            FinishAnimation();
            return;
        }
        ShowFrame(frame_ + 1);
        return;
    default: return;
    }
}

// ---------------------------------------------------------------- keys

void TdxBarSubMenuControl::KeyDown(int& key, TShiftState shift)
{
    if (closing_) return;
    QPointer<TdxBarSubMenuControl> self(this);
    WaitForAnimation();
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return;
    if (key == VK_DOWN && (shift & ssCtrl)) {
        if (MarkExists()) SetMarkState(2);
        return;
    }
    const bool forward = key == VK_DOWN || (key == VK_TAB && !(shift & ssShift));
    TdxBarItemControl* selected = SelectedControl();
    if (forward && MarkExists() && selected && selected->ItemLink() && selected->ItemLink() == links->Last()) {
        // The first link that the shortened menu hid becomes the selection.
        QList<TdxBarItemLink*> hidden;
        for (TdxBarItemLink* link : links->CanVisibleItems())
            if (!links->VisibleItems().contains(link)) hidden << link;
        QList<QPointer<TdxBarItemLink>> guarded(hidden.begin(), hidden.end());
        SetMarkState(2);
        if (!self) return;
        for (const QPointer<TdxBarItemLink>& link : guarded)
            if (link && link->Control() && link->Control()->IsSelectable()) {
                SetKeySelectedItem(link->Control());
                break;
            }
        return;
    }
    if (MenuKey(key)) return;
    if (!self) return;
    TCustomdxBarControl::KeyDown(key, shift);
}

bool TdxBarSubMenuControl::MenuKey(int key)
{
    QPointer<TdxBarSubMenuControl> self(this);
    TCustomdxBarControl* parent = ParentBar();
    if (parent && !dxBarIsBarControlAlive(parent)) parent = nullptr;
    switch (key) {
    case VK_ESCAPE:
        if (!parent) {
            Close();
        } else if (TdxBarItemControl* owner = parent->SelectedControl()) {
            parent->SetDropDownMode(false);
            owner->ControlInactivate(true);
        } else {
            Close();
        }
        return true;
    case VK_LEFT:
        if (ClickSelected(key)) return true;
        if (!parent) return true;
        if (parent->IsMenu()) {
            if (TdxBarItemControl* owner = parent->SelectedControl()) owner->ControlInactivate(true);
        } else {
            int k = VK_LEFT;
            parent->KeyDown(k, {});
        }
        return true;
    case VK_RIGHT: {
        if (ClickSelected(key)) return true;
        TCustomdxBarControl* root = dxBarGetRootControl(this);
        if (root && root != this && !root->IsMenu()) {
            int k = VK_RIGHT;
            root->KeyDown(k, {});
        }
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------- detach drag

void TdxBarSubMenuControl::DragDetach()
{
    QPointer<TdxBarSubMenuControl> self(this);
    QPointer<TdxBarSubItemControl> owner = ownerSubItem_;
    auto* sub = owner ? qobject_cast<TCustomdxBarSubItem*>(owner->Item()) : nullptr;
    if (!sub) return;
    sub->Detaching();
    if (!self || !owner || !HasDetachBar()) return;
    TdxBarManager* manager = BarManager();
    const int index = sub->DetachingBar();
    TdxBar* bar = manager && index >= 0 && index < manager->Bars()->Count() ? manager->Bars()->Items(index) : nullptr;
    if (!bar) return;
    // The bar that holds this menu's chain cannot be torn off from it.
    TCustomdxBarControl* root = dxBarGetRootControl(owner->Parent());
    if (root && !root->IsMenu() && bar->ItemLinks() && root == bar->ItemLinks()->BarControl()) return;
    const TRect zone = DetachBarRect().Offset(ClientToScreen({0, 0}));
    dxBarDetachDrag(owner, bar, zone, ParentBar());
}
