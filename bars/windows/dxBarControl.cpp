// The docked toolbar window: layout through ToolbarLayout, frame, grip, size grip, items,
// group separators and the mark.
#include "dxBarControl.h"
#include "dxBarFloatFrame.h"

#include "Forms.h"
#include "Painting.h"
#include "SysParams.h"
#include "dxBarBar.h"
#include "dxBarDrawing.h"
#include "dxBarEditControls.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarQuickControl.h"
#include "dxBarStrs.h"
#include "dxBarWindowsLibrary.h"
#include "dxBarToolbarsPopup.h"
#include "ExceptionBarrier.h"
#include "Keys.h"
#include "SystemMenu.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>

using namespace toolbarlayout;

namespace {

// A docked window is a child of its dock; a floating one a popup owned by the form.
TCreateParams WindowParams(TdxBarManager* manager, TdxDockControl* dock, const TRect& bounds = {})
{
    TCreateParams params;
    params.Bounds = bounds;
    if (dock) {
        params.Parent = dock->Handle();
    } else {
        params.Popup = true;
        TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
        params.Owner = form ? form->Handle() : nullptr;
    }
    return params;
}

}  // namespace

TdxBarControl::TdxBarControl(TdxBar* bar, TdxDockControl* dock, bool withCaption)
    : TCustomdxBarControl(bar->BarManager(), WindowParams(bar->BarManager(), dock)),
      bar_(bar),
      withCaption_(withCaption)
{
    SetDoubleClicks(true);
    SetDockControl(dock);
    SetDockingStyle(dock ? dock->DockingStyle() : dsNone);
    SetItemLinks(bar->ItemLinks());
    FrameChanged();
    DestroyControls();
    CreateControls();
}

TdxBarControl::~TdxBarControl()
{
    Destroying();
    BarControlDestroying();
    if (TdxBarQuickControl* quick = std::exchange(quickControl_, nullptr); quick && !quick->IsDestroying())
        delete quick;
}

bool TdxBarControl::IsVertical() const
{
    return DockingStyle() == dsLeft || DockingStyle() == dsRight;
}

bool TdxBarControl::IsRotated() const
{
    return IsVertical() && bar_ && bar_->RotateWhenVertical();
}

bool TdxBarControl::CanAlignItems() const
{
    return !LayoutBar().Wrapping();
}

bool TdxBarControl::MarkExists() const
{
    if (!bar_ || !bar_->ShowMark()) return false;
    TdxBarManager* manager = BarManager();
    return truncated_ || (manager && manager->Style() != bmsStandard && bar_->AllowQuickCustomizing());
}

bool TdxBarControl::HasSizeGrip() const
{
    if (!bar_ || !bar_->SizeGrip() || !bar_->IsBottomBorderless()) return false;
    QWidget* w = Handle();
    if (!w || w->isWindow() || w->window()->isMaximized()) return false;
    std::vector<sizegrip::TChainLink> chain;
    for (; w && !w->isWindow() && w->parentWidget(); w = w->parentWidget())
        chain.push_back({TRect::FromQRect(w->geometry()), w->parentWidget()->width(), w->parentWidget()->height()});
    return sizegrip::ReachesLowerRight(chain);
}

bool TdxBarControl::UpdateSizeGrip()
{
    if (HasSizeGrip() == sizeGrip_) return false;
    FrameChanged();
    return true;
}

namespace {
TRect GripRectOf(int width, int height)
{
    return sizegrip::GripRect(width, height, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
}

// One of the menu bar's caption buttons: a little smaller than the system's menu-bar button.
struct TCaptionButtonSize {
    int Width, Height;
};
TCaptionButtonSize CaptionButtonSize()
{
    return {GetSystemMetrics(SM_CXMENUSIZE) - 2, GetSystemMetrics(SM_CYMENUSIZE) - 4};
}
}  // namespace

TBar TdxBarControl::LayoutBar() const
{
    TBar bar;
    bar.Style = DockingStyle();
    bar.MultiLine = bar_ && bar_->MultiLine();
    bar.MarkExists = MarkExists();
    bar.BeginGroupSize = BeginGroupSize();
    if (TdxBarManager* manager = BarManager()) {
        bar.StandardWidth = manager->DefaultButtonWidth();
        bar.StandardHeight = manager->DefaultButtonHeight();
        bar.UsesRecentItems = ItemLinks() && ItemLinks()->UsesRecentItems() && !manager->IsDesigning();
    }
    bar.HasCaptionButtons = HasCaptionButtons();
    if (bar.HasCaptionButtons) {
        const auto [w, h] = CaptionButtonSize();
        const bool mdi = HasMDIButtons(), vertical = bar.Vertical();
        bar.CaptionButtonsWidth = mdi && !vertical ? 3 * w + 2 : w;
        bar.CaptionButtonsHeight = mdi && vertical ? 3 * h + 2 : h;
    }
    return bar;
}

bool TdxBarControl::HasMDIButtons() const
{
    TdxBarManager* manager = BarManager();
    return bar_ && bar_->IsMainMenu() && manager && manager->HasMDIButtons();
}

bool TdxBarControl::IgnoreMouseMove(const TPoint& client) const
{
    if (TCustomdxBarControl::IgnoreMouseMove(client)) return true;
    if (Floating()) return false;
    TdxBarManager* manager = BarManager();
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    if (!form) return false;
    // A docked bar follows its form: an MDI frame's while the program is active, any other
    // form's while that form is the active window (or a window of the same manager is).
    if (form->FormStyle() == fsMDIForm) return QGuiApplication::applicationState() != Qt::ApplicationActive;
    QWidget* active = QApplication::activeWindow();
    if (form->Handle() && active == form->Handle()->window()) return false;
    TCustomdxBarControl* activeBar = active ? dxBarFindControlOfWindow(active) : nullptr;
    return !(activeBar && activeBar->BarManager() == manager);
}

bool TdxBarControl::HasCaptionButtons() const
{
    TdxBarManager* manager = BarManager();
    return HasMDIButtons() || (bar_ && bar_->IsMainMenu() && manager && manager->ShowCloseButton());
}

TRect TdxBarControl::CaptionButtonRect(int index) const
{
    if (index < 0 || index > 2 || !HasCaptionButtons()) return {};
    const bool mdi = HasMDIButtons();
    if (!mdi && index != 2) return {};
    const auto [w, h] = CaptionButtonSize();
    const TBar bar = LayoutBar();
    const TRect client = ClientRect();
    const bool vertical = bar.Vertical();
    const int along = vertical ? client.Height() : client.Width();
    const int across = vertical ? client.Width() : client.Height();
    const int room = bar.MarkExists && DockControl() ? toolbarlayout::MarkRoom : 0;
    const int start = along - room - (vertical ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth);
    const int slot = mdi ? index : 0;
    const int a = start + slot * (vertical ? h : w) + (mdi && index == 2 ? 2 : 0);
    const int c = (across - (vertical ? w : h)) / 2;
    return vertical ? TRect::Bounds(c, a, w, h) : TRect::Bounds(a, c, w, h);
}

bool TdxBarControl::CaptionButtonActive(int index) const
{
    // Restore is always active, and so is the close button of a plain menu bar.
    if (index == 1 || !HasMDIButtons()) return true;
    TdxBarManager* manager = BarManager();
    TCustomForm* child = manager ? manager->ActiveMDIChild() : nullptr;
    TSystemMenu* menu = child ? child->SystemMenu() : nullptr;
    if (!menu) return false;
    const int id = index == 0 ? SC_MINIMIZE : SC_CLOSE;
    for (const TSystemMenuEntry& e : menu->Entries())
        if (e.Id == id) return !e.Grayed;
    return false;
}

int TdxBarControl::CaptionButtonAt(const TPoint& client) const
{
    for (int i = 0; i < 3; ++i)
        if (CaptionButtonRect(i).Contains(client)) return i;
    return -1;
}

void TdxBarControl::PaintCaptionButtons(QPainter& p)
{
    if (!HasCaptionButtons()) return;
    const bool mdi = HasMDIButtons();
    TdxBarManager* manager = BarManager();
    const bool flatLook = IsFlat();
    static const unsigned parts[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    for (int i = mdi ? 0 : 2; i < 3; ++i) {
        const TRect r = CaptionButtonRect(i);
        if (r.IsEmpty()) continue;
        const bool pressed = captionPressed_ == i && captionInside_;
        const bool flat = flatLook || (!mdi && manager && manager->FlatCloseButton());
        unsigned state = parts[i];
        if (!CaptionButtonActive(i)) state |= DFCS_INACTIVE;
        if (pressed && !flat) state |= DFCS_PUSHED;
        if (!flat) {
            DrawFrameControl(p, r, DFC_CAPTION, state);
            continue;
        }
        // Flat: the mark inside, framed in the toolbar's colour, or raised or sunken.
        DrawFrameControl(p, r.Inflated(-1, -1), DFC_CAPTION, state | DFCS_FLAT);
        if (flatLook)
            FrameRect(p, r, pressed ? QBrush(SysColor(COLOR_BTNSHADOW)) : GetToolbarBrush());
        else
            DrawEdge(p, r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void TdxBarControl::ClickCaptionButton(int index)
{
    TdxBarManager* manager = BarManager();
    if (!manager) return;
    if (!HasMDIButtons()) {
        if (index == 2) manager->DoCloseButtonClick();
        return;
    }
    // The command runs from the event loop: it may free the child, and re-lay this window out.
    static const int commands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    const QPointer<TCustomForm> child = manager->ActiveMDIChild();
    const int id = commands[index];
    if (child)
        QMetaObject::invokeMethod(
            child,
            [child, id] {
                if (child) RunGuarded(child, [&] { child->SysCommand(id); });
            },
            Qt::QueuedConnection);
}

namespace {
// The layout's view of one shown link: its control's size and how it lines up.
TItem LayoutItemOf(const TdxBarItemLink* link, TdxBarItemControl* c, bool vertical)
{
    TItem item;
    item.Width = c->GetWidthForBar();
    item.Height = c->GetHeightForBar();
    item.BeginGroup = link->BeginGroup();
    item.Align = c->GetAlign();
    item.MinLength = vertical ? c->GetMinHeight() : c->GetMinWidth();
    return item;
}
}  // namespace

std::vector<TItem> TdxBarControl::LayoutItems() const
{
    std::vector<TItem> items;
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return items;
    const QHash<const TdxBarItemLink*, int> ranks = dxBarRecentRanks(links);
    const bool vertical = IsVertical();
    for (TdxBarItemLink* link : links->CanVisibleItems()) {
        TdxBarItemControl* c = link->Control();
        if (!c) continue;
        TItem item = LayoutItemOf(link, c, vertical);
        item.RecentRank = ranks.value(link, int(ranks.size()));
        items.push_back(item);
    }
    return items;
}

int TdxBarControl::NCAlong() const
{
    if (!bar_) return 0;
    const TdxBarDockingStyle style = DockingStyle();
    int nc = IsVertical() ? bar_->NonClientHeight(style) : bar_->NonClientWidth(style);
    if (!IsVertical() && HasSizeGrip()) nc += GetSystemMetrics(SM_CXVSCROLL);
    return nc;
}

int TdxBarControl::NCAcross() const
{
    if (!bar_) return 0;
    const TdxBarDockingStyle style = DockingStyle();
    return IsVertical() ? bar_->NonClientWidth(style) : bar_->NonClientHeight(style);
}

void TdxBarControl::SetRecentLimit(int limit)
{
    if (TdxBarItemLinks* links = ItemLinks()) links->SetRecentItemLimit(limit);
}

bool TdxBarControl::CalcItemRects()
{
    const QHash<const TdxBarItemControl*, TPlace> before = std::exchange(places_, {});
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return !before.isEmpty();
    const TBar bar = LayoutBar();
    const std::vector<TItem> all = LayoutItems();
    std::vector<TItem> items;
    std::vector<TdxBarItemControl*> controls;
    for (TdxBarItemLink* link : links->AvailableItems()) link->SetItemRect({});
    for (TdxBarItemLink* link : links->VisibleItems()) {
        TdxBarItemControl* c = link->Control();
        if (!c) continue;
        items.push_back(LayoutItemOf(link, c, IsVertical()));
        controls.push_back(c);
    }
    const TRect client = ClientRect();
    std::vector<bool> breaks;
    if (bar.Wrapping()) {
        // The rows break where the size search broke them (at group starts when it can).
        CalcWrapSize(bar, items, !bar.Floating(), bar.Vertical() ? client.Height() : client.Width(),
                     {GetMinWidth(bar, all, bar.Style), GetMinHeight(bar, all, bar.Style)}, breaks);
    }
    const TItemRects rects = toolbarlayout::CalcItemRects(bar, items, client.Width(), client.Height(), breaks);
    for (size_t i = 0; i < controls.size(); ++i) {
        places_.insert(controls[i], rects.Places[i]);
        controls[i]->LayoutRect = rects.Places[i].Rect;
        controls[i]->ItemLink()->SetItemRect(rects.Places[i].Rect.ToQRect());
    }
    if (rects.Truncated) truncated_ = true;
    QPointer<TdxBarControl> self(this);
    PlaceHostedWindows();
    if (!self) return true;
    if (before.size() != places_.size()) return true;
    for (auto it = places_.cbegin(); it != places_.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || old->Rect != it->Rect || old->RowThickness != it->RowThickness ||
            old->LastInRow != it->LastInRow)
            return true;
    }
    return false;
}

TRect TdxBarControl::GetItemRect(TdxBarItemControl* control) const
{
    const auto it = places_.constFind(control);
    if (it == places_.constEnd()) return {};
    return ItemRect(LayoutBar(), *it);
}

bool TdxBarControl::CanCustomize() const
{
    return TCustomdxBarControl::CanCustomize() || (bar_ && bar_->AllowCustomizing());
}

TdxBarItemControl* TdxBarControl::ItemAtPosEx(const TPoint& client, bool& outside, bool& before, bool& vertical) const
{
    if (TdxBarItemControl* control = TCustomdxBarControl::ItemAtPosEx(client, outside, before, vertical))
        return control;
    if (!ClientRect().Contains(client) || !ItemLinks()) return nullptr;
    // A point on a group separator belongs to the item after it: the drop goes before that item,
    // across the band's line.
    const TRect clientRect = ClientRect();
    bool first = true;
    for (TdxBarItemLink* link : ItemLinks()->VisibleItems()) {
        TdxBarItemControl* control = link->Control();
        const auto place = places_.constFind(control);
        if (!control || place == places_.constEnd() || GetItemRect(control).IsEmpty()) continue;
        const bool startsGroup = link->BeginGroup() && !first;
        first = false;
        if (!startsGroup || !control->CanCustomize()) continue;
        const TSeparator separator = GroupSeparator(LayoutBar(), *place, clientRect.Width(), clientRect.Height());
        if (!separator.Band.Contains(client)) continue;
        outside = before = true;
        vertical = separator.Horizontal;
        return control;
    }
    outside = before = false;
    const bool alongY = IsVertical();
    for (TdxBarItemLink* link : ItemLinks()->VisibleItems()) {
        TdxBarItemControl* control = link->Control();
        const auto place = places_.constFind(control);
        if (!control || !control->CanCustomize() || place == places_.constEnd() || !place->LastInRow) continue;
        const TRect& r = place->Rect;
        const bool inBand =
            alongY ? client.x() >= r.Left && client.x() < r.Right : client.y() >= r.Top && client.y() < r.Bottom;
        if (!inBand) continue;
        // Before the row's last item (aligned to the centre or right): the drop goes before it.
        before = alongY ? client.y() < r.Top : client.x() < r.Left;
        if (before && control->GetAlign() != iaCenter && control->GetAlign() != iaRight) before = false;
        return control;
    }
    return nullptr;
}

QBrush TdxBarControl::GetToolbarBrush() const
{
    if (IsFlat() && bar_ && (bar_->IsMainMenu() || bar_->IsBottomBorderless())) return SysBrush(COLOR_BTNFACE);
    return TCustomdxBarControl::GetToolbarBrush();
}

void TdxBarControl::RepaintBar()
{
    DestroyControls();
    CreateControls();
    if (TdxDockControl* dock = DockControl()) {
        dxBarWindowServices().UpdateDock(dock);
    } else {
        const floatingframe::TSize size = FloatingSizeFor(ClientRect().Width());
        const TRect bounds = TRect::Bounds(BoundsRect().Left, BoundsRect().Top, size.X, size.Y);
        if (bounds != BoundsRect()) SetWindowPos(bounds, SWP_NOZORDER | SWP_NOACTIVATE);
        CalcItemRects();
    }
    Invalidate();
    InvalidateFrame();
}

void TdxBarControl::NCCalcSize(TRect& rect)
{
    sizeGrip_ = HasSizeGrip();
    if (Floating() && bar_ && BarManager()) {
        rect = FloatFrame().ClientRect(rect.Width(), rect.Height());
        return;
    }
    TCustomdxBarControl::NCCalcSize(rect);
    if (!bar_ || !BarManager()) return;
    if (bar_->BorderStyle() == bbsSingle) {
        rect = rect.Inflated(-2, -2);
        const int grip = BarManager()->GripAreaSize();
        if (IsVertical())
            rect.Top += grip;
        else
            rect.Left += grip;
    } else if (sizeGrip_) {
        rect.Top += 2;
        rect.Right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    rect.Right = std::max(rect.Left, rect.Right);
    rect.Bottom = std::max(rect.Top, rect.Bottom);
}

void TdxBarControl::NCPaint(QPainter& p)
{
    TCustomdxBarControl::NCPaint(p);
    if (!bar_ || !BarManager()) return;
    if (Floating()) {
        NCPaintFloating(p);
        return;
    }
    TdxBarManager* manager = BarManager();
    TRect w(0, 0, Width(), Height());
    const QBrush brush = GetToolbarBrush();
    if (bar_->BorderStyle() == bbsNone) {
        if (!bar_->IsBottomBorderless()) return;
        FillRect(p, {w.Left, w.Top, w.Right, w.Top + 2}, SysBrush(COLOR_BTNFACE));
        if (sizeGrip_) {
            const TRect grip = GripRectOf(w.Width(), w.Height());
            FillRect(p, {grip.Left, w.Top + 2, grip.Right, grip.Top}, brush);
            DrawFrameControl(p, grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    FillRect(p, w.Inflated(-1, -1), brush);
    if (IsFlat()) {
        FrameRect(p, w, SysBrush(COLOR_BTNFACE));
        const TRect in = w.Inflated(-1, -1);
        for (const TPoint& corner : {TPoint(in.Left, in.Top), TPoint(in.Right - 1, in.Top),
                                     TPoint(in.Left, in.Bottom - 1), TPoint(in.Right - 1, in.Bottom - 1)})
            FillRect(p, TRect::Bounds(corner.x(), corner.y(), 1, 1), SysBrush(COLOR_BTNFACE));
    } else {
        DrawEdge(p, w, BDR_RAISEDINNER, BF_RECT);
    }
    w = w.Inflated(-2, -2);
    // The grip: one bar (two in the standard style) GripOffset from the leading edge.
    const int shorten = manager->Style() == bmsFlat ? 3 : 1;
    const int bars = manager->Style() == bmsStandard ? 2 : 1;
    for (int b = 0; b < bars; ++b) {
        const int at = manager->GripOffset() + 3 * b;
        const TRect grip = IsVertical() ? TRect(w.Left + shorten, w.Top + at, w.Right - shorten, w.Top + at + 3)
                                        : TRect(w.Left + at, w.Top + shorten, w.Left + at + 3, w.Bottom - shorten);
        if (IsFlat()) {
            // Lines across the grip, alternately shadow and background.
            const int count = IsVertical() ? grip.Width() : grip.Height();
            for (int i = 0; i < count; ++i) {
                const TRect line = IsVertical() ? TRect(grip.Left + i, grip.Top, grip.Left + i + 1, grip.Bottom)
                                                : TRect(grip.Left, grip.Top + i, grip.Right, grip.Top + i + 1);
                FillRect(p, line, i % 2 == 0 ? SysBrush(COLOR_BTNSHADOW) : brush);
            }
        } else {
            DrawEdge(p, grip, BDR_RAISEDINNER, BF_RECT);
            FillRect(p, grip.Inflated(-1, -1), SysBrush(COLOR_BTNFACE));
        }
    }
}

void TdxBarControl::Paint(QPainter& p)
{
    const QBrush background = GetToolbarBrush();
    FillRect(p, ClientRect(), background);
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return;
    const int paintType = IsRotated() ? dxBarPaintVertical : dxBarPaintHorizontal;
    const QRegion clip = p.hasClipping() ? p.clipRegion() : QRegion();
    bool first = true;
    for (TdxBarItemLink* link : links->VisibleItems()) {
        TdxBarItemControl* c = link->Control();
        if (!c || !places_.contains(c)) continue;
        const TRect r = GetItemRect(c);
        if (r.IsEmpty()) continue;
        if (link->BeginGroup() && !first) PaintSeparator(p, c);
        first = false;
        if (!clip.isEmpty() && !clip.intersects(r.ToQRect())) continue;
        p.save();
        p.setClipRect(r.ToQRect(), Qt::IntersectClip);
        DrawItem(p, c);
        c->Draw(p, places_.value(c).Rect, paintType);
        p.restore();
    }
    if (MarkExists() && DockControl()) PaintMark(p);
    PaintCaptionButtons(p);
    if (widthDragging_) PaintEditWidthFrame(p);
}

void TdxBarControl::PaintSeparator(QPainter& p, TdxBarItemControl* control)
{
    const TRect client = ClientRect();
    const TSeparator separator = GroupSeparator(LayoutBar(), places_.value(control), client.Width(), client.Height());
    const TRect& band = separator.Band;
    if (band.IsEmpty()) return;
    // The band's outer strips stay background; the line runs along the middle.
    const int inset = (BeginGroupSize() - (IsFlat() ? 0 : 1) - 1) / 2;
    const bool horizontal = separator.Horizontal;
    const TRect line = horizontal ? TRect(band.Left + 2, band.Top + inset, band.Right - 2, band.Bottom - inset)
                                  : TRect(band.Left + inset, band.Top + 2, band.Right - inset, band.Bottom - 2);
    if (IsFlat()) {
        FillRect(p, line, GetToolbarBrush());
        FillRect(p,
                 horizontal ? TRect(line.Left, line.Top, line.Right, line.Top + 1)
                            : TRect(line.Left, line.Top, line.Left + 1, line.Bottom),
                 SysBrush(COLOR_BTNSHADOW));
    } else {
        DrawEdge(p, line, EDGE_ETCHED, horizontal ? BF_TOP : BF_LEFT);
    }
}

void TdxBarControl::PaintMark(QPainter& p)
{
    const TRect client = ClientRect();
    const bool standard = BarManager() && BarManager()->Style() == bmsStandard;
    const TRect mark = MarkRect(DockingStyle(), standard, client.Width(), client.Height());
    FillRect(p, mark, GetToolbarBrush());
    const QColor ink = SysColor(COLOR_BTNTEXT);
    if (!standard && MarkState() != 0) {
        // Hot or pressed: framed like a selected button.
        if (IsFlat()) {
            dxBarFrameHighlight(p, mark);
            FillRect(p, mark.Inflated(-1, -1), GetSelectedBrush());
        } else {
            DrawEdge(p, mark, MarkState() == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    }
    if (!standard) {
        if (IsVertical()) {
            const int x = mark.Left + 5;
            FillPolygon(p, {{x, mark.Top + 3}, {x, mark.Top + 7}, {x - 2, mark.Top + 5}}, ink);
        } else {
            const int y = mark.Bottom - 7 + (mark.Height() < 17 ? 1 : 0);
            FillPolygon(p, {{mark.Left + 3, y}, {mark.Left + 7, y}, {mark.Left + 5, y + 2}}, ink);
        }
    }
    if (!truncated_) return;
    // ">>" chevrons.
    for (int at : {2, 6}) {
        if (IsVertical()) {
            const int y = mark.Bottom - (at == 2 ? 9 : 5);
            DrawLine(p, {mark.Left + 2, y - 2}, {mark.Left + 4, y}, ink);
            DrawLine(p, {mark.Left + 4, y}, {mark.Left + 6, y - 2}, ink);
        } else {
            const int x = mark.Left + at;
            DrawLine(p, {x, mark.Top + 2}, {x + 2, mark.Top + 4}, ink);
            DrawLine(p, {x + 2, mark.Top + 4}, {x - 1, mark.Top + 7}, ink);
        }
    }
}

// ---------------------------------------------------------------- the mark

TRect TdxBarControl::GetMarkRect() const
{
    if (!MarkExists() || !BarManager()) return {};
    if (Floating()) {
        const TRect mark = FloatFrame().MarkRect(Width());
        return mark.IsEmpty() ? mark : mark.Offset(-ClientBounds().Left, -ClientBounds().Top);
    }
    const TRect client = ClientRect();
    return MarkRect(DockingStyle(), BarManager()->Style() == bmsStandard, client.Width(), client.Height());
}

bool TdxBarControl::IsOverMark(const TPoint& client) const
{
    return BarManager() && BarManager()->Style() != bmsStandard && GetMarkRect().Contains(client);
}

TdxBarQuickControl* TdxBarControl::QuickControl() const
{
    return quickControl_;
}

void TdxBarControl::SetMarkState(int state)
{
    if (IsCustomizing() || state == MarkState()) return;
    QPointer<TdxBarControl> self(this);
    KillTimer(MarkTimer);
    TCustomdxBarControl::SetMarkState(state);
    if (Floating())
        InvalidateFrame();
    else
        InvalidateRect(GetMarkRect());
    // The drop-down goes first, so that its teardown finds the mark already changed.
    if (TdxBarQuickControl* quick = std::exchange(quickControl_, nullptr); quick && !quick->IsDestroying())
        delete quick;
    if (!self) return;
    TdxBarManager* manager = BarManager();
    if (state == 2) {
        dxBarPlaySound(0);
        const TRect mark = GetMarkRect();
        const TPoint topLeft = ClientToScreen(mark.TopLeft());
        quickControl_ = new TdxBarQuickControl(manager, this);
        if (quickControl_)
            quickControl_->UpdatePosition(TRect::Bounds(topLeft.x(), topLeft.y(), mark.Width(), mark.Height()));
    } else if (state == 1) {
        if (Floating()) SetTimer(MarkTimer, MarkTimerInterval);
        if (manager) manager->UpdateHint(true, dxBarStr(dxSBAR_MOREBUTTONS));
    } else if (manager && !SelectedControl()) {
        manager->UpdateHint(false, {});
    }
}

bool TdxBarControl::ClickMark(const TPoint& client)
{
    if (!IsOverMark(client)) return false;
    SetMarkState(MarkState() == 2 ? 1 : 2);
    return true;
}

void TdxBarControl::Timer(int id)
{
    if (id != MarkTimer) {
        TCustomdxBarControl::Timer(id);
        return;
    }
    if (!Visible() || !GetMarkRect().Contains(ScreenToClient(QCursor::pos()))) {
        KillTimer(MarkTimer);
        SetMarkState(0);
    }
}

// ---------------------------------------------------------------- floating frame

floatingframe::TFloatFrame TdxBarControl::FloatFrame() const
{
    return dxBarFloatFrame(bar_, withCaption_);
}

floatingframe::TFloatFrame dxBarFloatFrame(const TdxBar* bar, bool withCaption)
{
    floatingframe::TFloatFrame frame;
    TdxBarManager* manager = bar ? bar->BarManager() : nullptr;
    if (!manager) return frame;
    frame.FrameWidth = manager->FrameWidth();
    frame.FrameHeight = manager->FrameHeight();
    frame.CaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    frame.Flat = manager->IsFlat();
    frame.ShowsCloseButton = bar->ShowsCloseButton();
    frame.CaptionMark = bar->ShowMark() && bar->AllowQuickCustomizing() && manager->Style() != bmsStandard;
    if (!withCaption) {
        frame.CaptionHeight = 0;
        frame.ShowsCloseButton = false;
        frame.CaptionMark = false;
        frame.Padded = false;
    }
    return frame;
}

floatingframe::TSize TdxBarControl::FloatingClientForWidth(int width) const
{
    TBar bar = LayoutBar();
    bar.Style = dsNone;
    const TSize s = CalcSizeForWidth(bar, LayoutItems(), dsNone, width).Size;
    return {s.X, s.Y};
}

floatingframe::TSize TdxBarControl::FloatingClientForHeight(int height) const
{
    TBar bar = LayoutBar();
    bar.Style = dsNone;
    const TSize s = CalcSizeForHeight(bar, LayoutItems(), dsNone, height).Size;
    return {s.X, s.Y};
}

floatingframe::TSize TdxBarControl::FloatingSizeFor(int clientWidth) const
{
    TBar bar = LayoutBar();
    bar.Style = dsNone;
    const int width = clientWidth > 0 ? clientWidth : GetMaxWidth(bar, LayoutItems(), dsNone);
    return FloatFrame().WindowSize(FloatingClientForWidth(width));
}

int TdxBarControl::NCHitTest(const TPoint& screen)
{
    const int base = TCustomdxBarControl::NCHitTest(screen);
    const TPoint local = screen - WindowRect().TopLeft();
    const TPoint client = local - ClientBounds().TopLeft();
    const bool inClient = ClientBounds().Contains(local);
    const bool overItem = inClient && ItemControlAtPos(client);
    if (Floating()) {
        const floatingframe::THit hit =
            floatingframe::FloatingHitTest(FloatFrame(), Width(), Height(), local, overItem, IsCustomizing());
        ncHitCode_ = hit.Code;
        return hit.Answer;
    }
    if (sizeGrip_ && !inClient && GripRectOf(Width(), Height()).Contains(local)) {
        ncHitCode_ = HTBOTTOMRIGHT;
        return HTBOTTOMRIGHT;
    }
    if (base == HTNOWHERE) {
        ncHitCode_ = HTNOWHERE;
        return base;
    }
    const bool overMark = inClient && MarkExists() && BarManager() && BarManager()->Style() != bmsStandard &&
                          MarkRect(DockingStyle(), false, ClientRect().Width(), ClientRect().Height()).Contains(client);
    const bool overButton = inClient && CaptionButtonAt(client) >= 0;
    ncHitCode_ = overItem || overMark || overButton || (inClient && IsCustomizing()) ? HTCLIENT : HTCAPTION;
    return HTCLIENT;
}

namespace {

// The caption font: the small caption font, with the bar's face unless the system font is
// used, at least 11 px high.
QFont CaptionFont(const TdxBarManager* manager, const TdxBar* bar)
{
    QFont font = bar && bar->Font() ? bar->Font()->ToQFont() : QFont();
    if (manager && manager->UseSystemFont()) font = QFont(font.family());
    font.setPixelSize(std::max(11, font.pixelSize() > 0 ? font.pixelSize() : 11));
    font.setBold(false);
    return font;
}

}  // namespace

void TdxBarControl::NCPaintFloating(QPainter& p)
{
    const floatingframe::TFloatFrame frame = FloatFrame();
    const TRect w = frame.Outer(Width(), Height());
    const TRect c = ClientBounds();
    const QBrush brush = GetToolbarBrush();
    // The frame on the window, then the room between it and the client area.
    if (frame.Flat) {
        FrameRect(p, w, SysBrush(COLOR_WINDOWFRAME));
        FrameRect(p, w.Inflated(-1, -1), SysBrush(COLOR_BTNHIGHLIGHT));
        FrameRect(p, w.Inflated(-2, -2), brush);
    } else {
        DrawEdge(p, w, EDGE_RAISED, BF_RECT);
        FrameRect(p, w.Inflated(-2, -2), SysBrush(COLOR_BTNFACE));
        FrameRect(p, w.Inflated(-3, -3), SysBrush(COLOR_BTNFACE));
    }
    if (!frame.Flat && frame.Padded) {
        FillRect(p, {c.Left - 4, c.Top - 2, c.Left, c.Bottom + 1}, brush);
        FillRect(p, {c.Right, c.Top - 2, c.Right + 4, c.Bottom + 1}, brush);
        FillRect(p, {c.Left, c.Top - 2, c.Right, c.Top}, brush);
        FillRect(p, {c.Left, c.Bottom, c.Right, c.Bottom + 1}, brush);
    }
    if (frame.CaptionHeight <= 0) return;
    // The caption.
    const TRect caption = frame.CaptionRect(Width());
    FillRect(p, {caption.Left, caption.Bottom, caption.Right, caption.Bottom + 1}, brush);
    const QColor captionColor = SysColor(frame.Flat ? COLOR_INACTIVECAPTION : COLOR_ACTIVECAPTION);
    FillRect(p, caption, QBrush(captionColor));
    const TRect text = frame.TextRect(Width());
    if (!text.IsEmpty() && bar_) {
        p.save();
        p.setClipRect(text.ToQRect(), Qt::IntersectClip);
        const QFont font = CaptionFont(BarManager(), bar_);
        p.setFont(font);
        p.setPen(SysColor(COLOR_CAPTIONTEXT));
        const QFontMetrics metrics(font);
        const int top = (text.Top + text.Bottom - metrics.height()) / 2;
        p.drawText(QPoint(text.Left, top + metrics.ascent()), bar_->Caption());
        p.restore();
    }
    if (frame.ShowsCloseButton) PaintCloseButton(p, frame.CloseButtonRect(Width()));
    const TRect mark = frame.MarkRect(Width());
    if (!mark.IsEmpty()) {
        const QColor ink = frame.Flat && MarkState() == 1 ? SysColor(COLOR_BTNTEXT) : SysColor(COLOR_CAPTIONTEXT);
        if (frame.Flat && MarkState() != 0) FillRect(p, mark, GetSelectedBrush());
        const int x = mark.Left + (mark.Width() - 7) / 2, y = mark.Top + (mark.Height() - 4) / 2;
        FillPolygon(p, {{x, y}, {x + 6, y}, {x + 3, y + 3}}, ink);
        if (frame.Flat && frame.ShowsCloseButton)
            FillRect(p, {mark.Right, mark.Top, mark.Right + 1, mark.Bottom}, QBrush(SysColor(COLOR_BTNSHADOW)));
    }
}

void TdxBarControl::PaintCloseButton(QPainter& p, const TRect& r)
{
    if (r.IsEmpty()) return;
    const TRect face = r.Inflated(-1, -1);
    unsigned state = DFCS_CAPTIONCLOSE;
    if (!IsFlat()) {
        if (closeState_ == 2) state |= DFCS_PUSHED;
        FrameRect(p, r, QBrush(SysColor(COLOR_ACTIVECAPTION)));
        DrawFrameControl(p, face, DFC_CAPTION, state);
        return;
    }
    // Flat: the caption shows through until the button is hot, then the selection fills it.
    TFrameControlColors colors;
    colors.Face = GetSelectedBrush();
    colors.Glyph = SysColor(closeState_ == 0   ? COLOR_CAPTIONTEXT
                            : closeState_ == 2 ? COLOR_HIGHLIGHTTEXT
                                               : COLOR_BTNTEXT);
    state |= DFCS_FLAT;
    if (closeState_ == 0) state |= DFCS_TRANSPARENT;
    DrawFrameControl(p, face, DFC_CAPTION, state, colors);
}

// ---------------------------------------------------------------- moving between states

void TdxBarControl::ChangeDockControl(TdxBarDockingStyle style, TdxDockControl* dock, const TRect& bounds)
{
    if (style == dsNone) dock = nullptr;
    HideAll();
    // Hosted windows leave the handle before it is kept or freed (so a kept handle never holds
    // one); the layout below places them again.
    BeforeDestroyHandle();
    SwapHandle(WindowParams(BarManager(), dock, bounds));
    if (!barDragging_) DestroyKeptHandle();
    SetDockControl(dock);
    SetDockingStyle(style);
    UpdateRegion();
    FrameChanged();
    DestroyControls();
    CreateControls();
    if (!dock) {
        CalcItemRects();
        Invalidate();
    }
}

void TdxBarControl::FollowDockingStyle()
{
    TdxDockControl* dock = DockControl();
    if (!dock || dock->DockingStyle() == DockingStyle()) return;
    truncated_ = false;
    SetDockingStyle(dock->DockingStyle());
    UpdateRegion();
    FrameChanged();
    RepaintBar();
}

void TdxBarControl::SetGrab(const TPoint& offset, int width, int height)
{
    grab_ = offset;
    grabbedWidth_ = width;
    grabbedHeight_ = height;
}

TPoint TdxBarControl::GrabOffsetFor(int width, int height) const
{
    const TSize s = ScaleGrabOffset({width, height}, grab_.x(), grabbedWidth_, grab_.y(), grabbedHeight_);
    return {s.X, s.Y};
}

void TdxBarControl::SetBarDragging(bool value)
{
    if (barDragging_ == value) return;
    barDragging_ = value;
    SetDragging(value);
    if (!value) {
        DestroyKeptHandle();
        UpdateRegion();
    }
}

void TdxBarControl::StorePosition()
{
    TdxBarManager* manager = BarManager();
    if (!bar_ || !manager || !bar_->Visible() || barDragging_ || placing_ || manager->IsLoading() ||
        manager->IsDesigning())
        return;
    if (!ItemLinks() || ItemLinks()->BarControl() != this) return;
    TdxBar* bar = bar_;
    // Only what differs is set, so that the manager counts real changes.
    auto store = [bar](int (TdxBar::*get)() const, void (TdxBar::*set)(int), int value) {
        if ((bar->*get)() != value) (bar->*set)(value);
    };
    if (Floating()) {
        store(&TdxBar::FloatLeft, &TdxBar::SetFloatLeft, BoundsRect().Left);
        store(&TdxBar::FloatTop, &TdxBar::SetFloatTop, BoundsRect().Top);
        store(&TdxBar::FloatClientWidth, &TdxBar::SetFloatClientWidth, ClientRect().Width());
        store(&TdxBar::FloatClientHeight, &TdxBar::SetFloatClientHeight, ClientRect().Height());
        return;
    }
    TdxDockControl* dock = DockControl();
    if (!dock) return;
    auto* placed = dock->IsBuiltIn() ? nullptr : qobject_cast<TdxBarDockControl*>(dock);
    if (bar->DockedDockingStyle() != DockingStyle() || bar->DockedDockControl() != placed) {
        bar->SetDockedDockingStyle(DockingStyle());
        bar->SetDockedDockControl(placed);
    }
    if (TdxBarWindowsLibrary* library = TdxBarWindowsLibrary::Instance())
        if (const dockrows::TDockRows* rows = library->DockRows(dock)) {
            const dockrows::TDockRows::TPosition at = rows->Find(this);
            if (at.Row >= 0) {
                bar->SetRow(at.Row);
                bar->SetOneOnRow(rows->ColCount(at.Row) == 1);
            }
        }
    // Places along the dock count from its client area, inside a sunken border.
    const QPoint origin = dock->ClientRect().topLeft();
    store(&TdxBar::DockedLeft, &TdxBar::SetDockedLeft, BoundsRect().Left - origin.x());
    store(&TdxBar::DockedTop, &TdxBar::SetDockedTop, BoundsRect().Top - origin.y());
}

void TdxBarControl::ToggleDocking()
{
    QPointer<TdxBar> bar = bar_;
    TdxBarManager* manager = BarManager();
    if (!bar || !manager || manager->IsDesigning()) return;
    if (!Floating()) {
        if (!manager->CanDock(bar, dsNone, nullptr)) return;
        // The window goes with the bar's hiding: nothing of it is touched afterwards.
        bar->SetVisible(false);
        if (bar) bar->SetDockingStyle(dsNone);
        if (bar) bar->SetVisible(true);
        return;
    }
    TdxBarDockingStyle style = bar->DockedDockingStyle();
    TdxDockControl* dock = bar->DockedDockControl();
    const bool neverDocked = !bar->EverDocked();
    if (neverDocked) {
        style = dsTop;
        dock = nullptr;
    }
    if (!dock && manager->Bars()) dock = manager->Bars()->BuiltInDock(style);
    if (!dock || !manager->CanDock(bar, style, dock->IsBuiltIn() ? nullptr : dock)) return;
    bar->SetVisible(false);
    if (!bar) return;
    if (neverDocked) {
        bar->SetOneOnRow(true);
        const dockrows::TDockRows* rows =
            TdxBarWindowsLibrary::Instance() ? TdxBarWindowsLibrary::Instance()->DockRows(dock) : nullptr;
        bar->SetRow(rows ? rows->RowCount() : 0);
    }
    bar->DockTo(style, dock->IsBuiltIn() ? nullptr : qobject_cast<TdxBarDockControl*>(dock));
    if (bar) bar->SetVisible(true);
}

// ---------------------------------------------------------------- mouse

void TdxBarControl::StartDragAt(const TPoint& client)
{
    const TPoint local = client + ClientBounds().TopLeft();
    SetGrab(local, Width(), Height());
    QPointer<TdxBarControl> self(this);
    HideAll();
    if (self && bar_) bar_->StartDrag();
}

void TdxBarControl::SetCloseState(int state)
{
    if (state == closeState_) return;
    closeState_ = state;
    InvalidateFrame();
}

void TdxBarControl::LButtonDown(const TPoint& client, TShiftState shift)
{
    if (skipNextDown_) {
        skipNextDown_ = false;
        return;
    }
    if (IsCustomizing() && !widthDragging_) {
        if (const inplace::TWidthSide side = WidthDragSideAt(client); side != inplace::TWidthSide::None) {
            widthControl_ = WidthDragControl();
            widthSide_ = side;
            widthDragWidth_ = widthControl_->ItemLink()->Width();
            widthDragging_ = true;
            SetCapture();
            Invalidate();
            return;
        }
    }
    if (Floating())
        if (TdxBarWindowsLibrary* library = TdxBarWindowsLibrary::Instance()) library->BringToFront(this);
    if (!IgnoreClick() && !IsCustomizing() && ClickMark(client)) return;
    if (Floating() && ncHitCode_ == HTCLOSE) {
        QPointer<TdxBarControl> self(this);
        HideAll();
        if (!self) return;
        closePressed_ = true;
        SetCloseState(2);
        SetCapture();
        return;
    }
    if (!IsCustomizing()) {
        if (const int button = CaptionButtonAt(client); button >= 0) {
            if (CaptionButtonActive(button)) {
                captionPressed_ = button;
                captionInside_ = true;
                SetCapture();
                Invalidate();
            }
            return;
        }
    }
    if (ncHitCode_ == HTCAPTION && !IsCustomizing()) {
        StartDragAt(client);
        return;
    }
    QPointer<TdxBarControl> self(this);
    TdxBarItemControl* control = ClientRect().Contains(client) ? ItemControlAtPos(client) : nullptr;
    if (control && control->IsExpandable() && control->GetEnabled() && !IsCustomizing()) {
        // A title of the menu bar: menu mode with its menu open.
        if (!InKeyboardMode()) BarGetFocus(control);
        if (self) SetDropDownMode(true);
    } else if (control) {
        // A press on an item starts the toolbar's menu mode, so that the release clicks it.
        SetActive(true);
    } else if (InKeyboardMode()) {
        BarLostFocus();
    }
    if (self) TCustomdxBarControl::LButtonDown(client, shift);
}

void TdxBarControl::RButtonDown(const TPoint& client, TShiftState shift)
{
    QPointer<TdxBarControl> self(this);
    TWindow::ReleaseCapture();
    if (IsCustomizing() && InKeyboardMode()) BarLostFocus();
    if (self) TCustomdxBarControl::RButtonDown(client, shift);
    if (self && BarManager() && !IsCustomizing()) dxBarShowToolbarsPopup(BarManager(), ClientToScreen(client));
}

// ---------------------------------------------------------------- keyboard mode

namespace {

// The toolbar window in keyboard mode, per manager.
QHash<const TdxBarManager*, QPointer<TdxBarControl>>& FocusedBars()
{
    static QHash<const TdxBarManager*, QPointer<TdxBarControl>> bars;
    return bars;
}

}  // namespace

TdxBarControl* dxBarFocusedBar(const TdxBarManager* manager)
{
    return manager ? FocusedBars().value(manager).data() : nullptr;
}

bool TdxBarControl::InKeyboardMode() const
{
    return BarManager() && dxBarFocusedBar(BarManager()) == this;
}

void TdxBarControl::BarGetFocus(TdxBarItemControl* control)
{
    QPointer<TdxBarControl> self(this);
    QPointer<TdxBarItemControl> chosen(control);
    // Another bar under the pointer stops hot-tracking.
    auto* under = dxBarFindControlOfWindow(dxBarWindowFromPoint(QCursor::pos()));
    if (under && under != this && !under->IsActive()) under->SetMouseSelectedItem(nullptr);
    if (!self) return;
    TWindow::ReleaseCapture();
    if (!self) return;
    if (!InKeyboardMode()) savedFocus_ = QApplication::focusWidget();
    if (!chosen && ItemLinks()) {
        TdxBarItemLink* first = ItemLinks()->First();
        chosen = first ? first->Control() : nullptr;
    }
    SetKeySelectedItem(chosen);
    if (!self) return;
    SetActive(true);
    if (self && BarManager()) FocusedBars().insert(BarManager(), this);
}

void TdxBarControl::BarLostFocus()
{
    if (!InKeyboardMode()) return;
    QPointer<TdxBarControl> self(this);
    FocusedBars().remove(BarManager());
    SetKeySelectedItem(nullptr);
    if (!self) return;
    SetActive(false);
    if (!self) return;
    // The bar under the pointer hot-tracks again from the next move.
    if (auto* under = dxBarFindControlOfWindow(dxBarWindowFromPoint(QCursor::pos()))) {
        QPointer<TCustomdxBarControl> target(under);
        under->ForgetLastMousePos();
        under->PostCall([target] {
            if (target && target->Handle() && target->Handle()->isVisible())
                target->MouseMove(target->ScreenToClient(QCursor::pos()), {});
        });
    }
    QWidget* focus = savedFocus_;
    savedFocus_ = nullptr;
    const bool appActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    if (focus && appActive && focus->isVisible() && focus->isEnabled() && QApplication::focusWidget() != focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void TdxBarControl::SetDropDownMode(bool value)
{
    dropDownMode_ = value;
}

void TdxBarControl::HideAll()
{
    QPointer<TdxBarControl> self(this);
    BarLostFocus();
    if (self) TCustomdxBarControl::HideAll();
}

void TdxBarControl::SetActive(bool value)
{
    QPointer<TdxBarControl> self(this);
    TCustomdxBarControl::SetActive(value);
    if (value || !self) return;
    dropDownMode_ = false;
    if (!IsCustomizing()) BarLostFocus();
}

void TdxBarControl::SetKeySelectedItem(TdxBarItemControl* control)
{
    QPointer<TdxBarControl> self(this);
    QPointer<TdxBarItemControl> guard(control);
    TCustomdxBarControl::SetKeySelectedItem(control);
    if (!self || !guard || IsCustomizing() || guard->IsActive() || SelectedControl() != guard) return;
    // In drop-down mode the next title opens its menu at once.
    if (dropDownMode_ && guard->IsExpandable())
        guard->Click(false);
    else
        guard->ControlActivate(false);
}

void TdxBarControl::KeyDown(int& key, TShiftState shift)
{
    QPointer<TdxBarControl> self(this);
    TdxBarItemControl* selected = SelectedControl();
    const bool keyboardMode = InKeyboardMode();
    const bool controlTakesKey = selected && selected->GetEnabled() && selected->WantsKey(key);
    if (key == VK_ESCAPE && !keyboardMode && !controlTakesKey) {
        // Active without keyboard mode (a press started it): Esc leaves all the same.
        key = 0;
        HideAll();
        return;
    }
    if (keyboardMode && !controlTakesKey) {
        switch (key) {
        case VK_ESCAPE:
        case VK_MENU:
            // Esc, and Alt pressed again, leave menu mode.
            key = 0;
            HideAll();
            return;
        case VK_RETURN:
        case VK_UP:
        case VK_DOWN:
            if (selected && selected->IsExpandable()) {
                key = 0;
                SetDropDownMode(true);
                selected->Click(false);
                return;
            }
            break;
        default: break;
        }
    }
    TCustomdxBarControl::KeyDown(key, shift);
}

void TdxBarControl::NCLButtonDown(int hitTest, const TPoint& screen)
{
    if (!Floating()) {
        if (hitTest == HTBOTTOMRIGHT && sizeGrip_) BeginSizing(hitTest, screen);
        return;
    }
    if (hitTest == HTCLOSE) {
        ncHitCode_ = HTCLOSE;
        LButtonDown(ScreenToClient(screen), {});
        return;
    }
    if (hitTest == HTLEFT || hitTest == HTRIGHT || hitTest == HTTOP || hitTest == HTBOTTOM)
        BeginSizing(hitTest, screen);
}

void TdxBarControl::MouseMove(const TPoint& client, TShiftState shift)
{
    if (sizingEdge_) {
        TrackSizing(ClientToScreen(client));
        return;
    }
    if (widthDragging_) {
        TrackEditWidth(client);
        return;
    }
    if (IsCustomizing() && !GetCapture() && Handle()) {
        // Over an edge of the selected edit item the width-drag cursor shows.
        if (WidthDragSideAt(client) != inplace::TWidthSide::None)
            Handle()->setCursor(dxBarCursor(crdxBarEditSizing));
        else
            SetCursorShape(crDefault);
    }
    if (captionPressed_ >= 0) {
        const bool inside = CaptionButtonRect(captionPressed_).Contains(client);
        if (inside != captionInside_) {
            captionInside_ = inside;
            Invalidate();
        }
        return;
    }
    const TPoint local = client + ClientBounds().TopLeft();
    const TRect close = Floating() ? FloatFrame().CloseButtonRect(Width()) : TRect();
    if (closePressed_) {
        SetCloseState(close.Contains(local) ? 2 : 1);
        return;
    }
    if (Floating() && IsFlat() && !close.IsEmpty()) {
        // The flat close button follows the pointer.
        if (close.Contains(local)) {
            SetCloseState(1);
            if (!dxBarIsMouseTracked(this)) dxBarBeginMouseTracking(this);
        } else {
            SetCloseState(0);
        }
    }
    QPointer<TdxBarControl> self(this);
    const bool overMark = IsOverMark(client);
    if (overMark && MarkState() == 0 && !IgnoreMouseMove(client) && !InKeyboardMode()) SetMarkState(1);
    if (!self) return;
    TCustomdxBarControl::MouseMove(client, shift);
    if (self && MarkState() == 1 && !overMark) SetMarkState(0);
}

void TdxBarControl::NCMouseMove(int hitTest, const TPoint& /*screen*/)
{
    SetCursorShape(hitTest == HTBOTTOMRIGHT ? crSizeNWSE : crDefault);
}

void TdxBarControl::MouseLeave()
{
    TCustomdxBarControl::MouseLeave();
    if (!closePressed_) SetCloseState(0);
}

void TdxBarControl::LButtonUp(const TPoint& client, TShiftState shift)
{
    skipNextDown_ = false;
    if (sizingEdge_) {
        EndSizing();
        return;
    }
    if (widthDragging_) {
        EndEditWidth();
        return;
    }
    if (captionPressed_ >= 0) {
        const int button = std::exchange(captionPressed_, -1);
        const bool inside = CaptionButtonRect(button).Contains(client);
        captionInside_ = false;
        ReleaseCapture();
        Invalidate();
        if (inside) ClickCaptionButton(button);
        return;
    }
    if (closePressed_) {
        closePressed_ = false;
        const bool inside =
            closeState_ == 2 && FloatFrame().CloseButtonRect(Width()).Contains(client + ClientBounds().TopLeft());
        ReleaseCapture();
        SetCloseState(0);
        QPointer<TdxBar> bar = bar_;
        TdxBarManager* manager = BarManager();
        if (inside && bar && manager) {
            // The window goes with the bar's hiding.
            bar->SetVisible(false);
            if (bar && manager) manager->DoBarClose(bar);
        }
        return;
    }
    TCustomdxBarControl::LButtonUp(client, shift);
}

void TdxBarControl::LButtonDblClk(const TPoint& client, TShiftState shift)
{
    if (!IsCustomizing() && ClickMark(client)) return;
    if (ncHitCode_ == HTCAPTION && !(BarManager() && BarManager()->IsDesigning())) {
        ToggleDocking();
        return;
    }
    TCustomdxBarControl::LButtonDblClk(client, shift);
}

void TdxBarControl::NCLButtonDblClk(int hitTest, const TPoint& /*screen*/)
{
    if (hitTest == HTCAPTION) ToggleDocking();
}

void TdxBarControl::CaptureChanged()
{
    TCustomdxBarControl::CaptureChanged();
    if (sizingEdge_) CancelSizing();
    if (closePressed_) {
        closePressed_ = false;
        SetCloseState(0);
    }
    if (captionPressed_ >= 0) {
        captionPressed_ = -1;
        Invalidate();
    }
    if (widthDragging_) {
        widthDragging_ = false;
        Invalidate();
    }
}

// ---------------------------------------------------------------- the width drag of an edit item

TdxBarEditControl* TdxBarControl::WidthDragControl() const
{
    auto* edit = dynamic_cast<TdxBarEditControl*>(SelectedControl());
    return edit && edit->ItemLink() && places_.contains(edit) ? edit : nullptr;
}

inplace::TWidthSide TdxBarControl::WidthDragSideAt(const TPoint& client) const
{
    TdxBarEditControl* edit = IsCustomizing() ? WidthDragControl() : nullptr;
    return edit ? inplace::WidthDragSide(GetItemRect(edit), client) : inplace::TWidthSide::None;
}

void TdxBarControl::TrackEditWidth(const TPoint& client)
{
    if (!widthControl_) return;
    const int width =
        inplace::WidthDragWidth(GetItemRect(widthControl_), widthSide_, client.x(), widthControl_->GetCaptionWidth());
    if (width == widthDragWidth_) return;
    widthDragWidth_ = width;
    Invalidate();
}

void TdxBarControl::EndEditWidth()
{
    widthDragging_ = false;
    QPointer<TdxBarControl> self(this);
    QPointer<TdxBarItemLink> link = widthControl_ ? widthControl_->ItemLink() : nullptr;
    const int width = widthDragWidth_;
    widthControl_ = nullptr;
    ReleaseCapture();
    if (!self) return;
    // A new width lays the bar out again; the same width only takes the frame away.
    if (link && link->Width() != width)
        link->SetUserWidth(width);
    else
        Invalidate();
}

void TdxBarControl::PaintEditWidthFrame(QPainter& p)
{
    if (!widthControl_) return;
    const TRect r = inplace::WidthDragRect(GetItemRect(widthControl_), widthSide_, widthControl_->GetCaptionWidth(),
                                           widthDragWidth_);
    p.save();
    // Inverted, so that the frame shows on any background.
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const TRect& bar : inplace::WidthDragFrame(r)) p.fillRect(bar.ToQRect(), Qt::black);
    p.restore();
}

// ---------------------------------------------------------------- sizing

namespace {
// The form a size grip sizes: only one whose border lets the user size it.
TCustomForm* SizableForm(QWidget* handle)
{
    TCustomForm* form = handle ? TCustomForm::FromWindow(handle->window()) : nullptr;
    if (!form || form->Handle() != handle->window()) return nullptr;
    return form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin ? form : nullptr;
}
}  // namespace

void TdxBarControl::BeginSizing(int edge, const TPoint& screen)
{
    sizingBounds_ = BoundsRect();
    if (edge == HTBOTTOMRIGHT) {
        TCustomForm* form = SizableForm(Handle());
        if (!form) return;
        sizingBounds_ = TRect::Bounds(form->Left(), form->Top(), form->Width(), form->Height());
    }
    sizingEdge_ = edge;
    sizingStart_ = screen;
    SetCapture();
}

void TdxBarControl::TrackSizing(const TPoint& screen)
{
    const TPoint d = screen - sizingStart_;
    if (sizingEdge_ == HTBOTTOMRIGHT) {
        TCustomForm* form = SizableForm(Handle());
        const TRect r = sizegrip::TrackedBounds(sizingBounds_, d.x(), d.y());
        if (form && (r.Width() != form->Width() || r.Height() != form->Height()))
            form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return;
    }
    TRect dragged = sizingBounds_;
    switch (sizingEdge_) {
    case HTLEFT: dragged.Left += d.x(); break;
    case HTRIGHT: dragged.Right += d.x(); break;
    case HTTOP: dragged.Top += d.y(); break;
    case HTBOTTOM: dragged.Bottom += d.y(); break;
    default: return;
    }
    const TRect work = NearestWorkArea(GetMonitors(), sizingBounds_);
    const TRect r = floatingframe::SizingRect(
        FloatFrame(), sizingEdge_, dragged, BoundsRect(), work, [this](int w) { return FloatingClientForWidth(w); },
        [this](int h) { return FloatingClientForHeight(h); });
    if (r == BoundsRect()) return;
    SetWindowPos(r, SWP_NOZORDER | SWP_NOACTIVATE);
    CalcItemRects();
    Invalidate();
    InvalidateFrame();
}

void TdxBarControl::CancelSizing()
{
    const int edge = std::exchange(sizingEdge_, 0);
    if (edge == HTBOTTOMRIGHT) {
        if (TCustomForm* form = SizableForm(Handle()))
            form->SetBounds(sizingBounds_.Left, sizingBounds_.Top, sizingBounds_.Width(), sizingBounds_.Height());
        return;
    }
    if (sizingBounds_ == BoundsRect()) return;
    QPointer<TdxBarControl> self(this);
    SetWindowPos(sizingBounds_, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!self) return;
    CalcItemRects();
    Invalidate();
    InvalidateFrame();
}

void TdxBarControl::EndSizing()
{
    sizingEdge_ = 0;
    QPointer<TdxBarControl> self(this);
    ReleaseCapture();
    if (self) StorePosition();
}

// ---------------------------------------------------------------- placement

void TdxBarControl::WindowPosChanging(TRect& bounds)
{
    TCustomdxBarControl::WindowPosChanging(bounds);
    if (Floating()) bounds = floatingframe::KeepReachable(bounds, GetMonitors());
}

void TdxBarControl::WindowPosChanged()
{
    TCustomdxBarControl::WindowPosChanged();
    StorePosition();
}
