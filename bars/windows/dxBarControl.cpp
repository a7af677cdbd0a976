// The docked toolbar window: layout through ToolbarLayout, frame, grip, size grip, items,
// group separators and the mark.
#include "dxBarControl.h"

#include "Painting.h"
#include "SysParams.h"
#include "dxBarBar.h"
#include "dxBarDrawing.h"
#include "dxBarManager.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>

using namespace toolbarlayout;

namespace {

TCreateParams DockedParams(TdxDockControl* dock)
{
    TCreateParams params;
    params.Parent = dock ? dock->Handle() : nullptr;
    return params;
}

}  // namespace

TdxBarControl::TdxBarControl(TdxBar* bar, TdxDockControl* dock)
    : TCustomdxBarControl(bar->BarManager(), DockedParams(dock)), bar_(bar)
{
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
}

bool TdxBarControl::IsVertical() const { return DockingStyle() == dsLeft || DockingStyle() == dsRight; }

bool TdxBarControl::IsRotated() const { return IsVertical() && bar_ && bar_->RotateWhenVertical(); }

bool TdxBarControl::CanAlignItems() const { return !LayoutBar().Wrapping(); }

bool TdxBarControl::MarkExists() const
{
    if (!bar_ || !bar_->ShowMark()) return false;
    TdxBarManager* manager = BarManager();
    return truncated_ || (manager && manager->Style() != bmsStandard && bar_->AllowQuickCustomizing());
}

bool TdxBarControl::HasSizeGrip() const { return bar_ && bar_->SizeGrip() && bar_->IsBottomBorderless(); }

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
    return bar;
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
} // namespace

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
    if (HasSizeGrip() && !IsVertical()) nc += GetSystemMetrics(SM_CXVSCROLL);
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

void TdxBarControl::CalcItemRects()
{
    places_.clear();
    TdxBarItemLinks* links = ItemLinks();
    if (!links) return;
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
    const TItemRects rects = toolbarlayout::CalcItemRects(bar, items, client.Width(), client.Height());
    for (size_t i = 0; i < controls.size(); ++i) {
        places_.insert(controls[i], rects.Places[i]);
        controls[i]->LayoutRect = rects.Places[i].Rect;
        controls[i]->ItemLink()->SetItemRect(rects.Places[i].Rect.ToQRect());
    }
    if (rects.Truncated) truncated_ = true;
}

TRect TdxBarControl::GetItemRect(TdxBarItemControl* control) const
{
    const auto it = places_.constFind(control);
    if (it == places_.constEnd()) return {};
    return ItemRect(LayoutBar(), *it);
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
    if (TdxDockControl* dock = DockControl()) dxBarWindowServices().UpdateDock(dock);
    else CalcItemRects();
    Invalidate();
    InvalidateFrame();
}

void TdxBarControl::NCCalcSize(TRect& rect)
{
    TCustomdxBarControl::NCCalcSize(rect);
    if (!bar_ || !BarManager()) return;
    if (bar_->BorderStyle() == bbsSingle) {
        rect = rect.Inflated(-2, -2);
        const int grip = BarManager()->GripAreaSize();
        if (IsVertical()) rect.Top += grip;
        else rect.Left += grip;
    } else if (HasSizeGrip()) {
        rect.Top += 2;
        rect.Right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    rect.Right = std::max(rect.Left, rect.Right);
    rect.Bottom = std::max(rect.Top, rect.Bottom);
}

namespace {

// The size grip: three diagonal ridges in the bottom-right corner of r.
void DrawSizeGrip(QPainter& p, const TRect& r)
{
    for (int ridge = 0; ridge < 3; ++ridge) {
        const int d = 4 * ridge + 3;
        DrawLine(p, {r.Right - d - 1, r.Bottom - 1}, {r.Right - 1, r.Bottom - d - 1}, SysColor(COLOR_BTNHIGHLIGHT));
        DrawLine(p, {r.Right - d, r.Bottom - 1}, {r.Right - 1, r.Bottom - d}, SysColor(COLOR_BTNSHADOW));
        DrawLine(p, {r.Right - d + 1, r.Bottom - 1}, {r.Right - 1, r.Bottom - d + 1}, SysColor(COLOR_BTNSHADOW));
    }
}

}  // namespace

void TdxBarControl::NCPaint(QPainter& p)
{
    TCustomdxBarControl::NCPaint(p);
    if (!bar_ || !BarManager()) return;
    TdxBarManager* manager = BarManager();
    TRect w(0, 0, Width(), Height());
    const QBrush brush = GetToolbarBrush();
    if (bar_->BorderStyle() == bbsNone) {
        if (!bar_->IsBottomBorderless()) return;
        FillRect(p, {w.Left, w.Top, w.Right, w.Top + 2}, SysBrush(COLOR_BTNFACE));
        if (HasSizeGrip()) {
            const TRect grip(w.Right - GetSystemMetrics(SM_CXVSCROLL), w.Bottom - GetSystemMetrics(SM_CYHSCROLL),
                             w.Right, w.Bottom);
            FillRect(p, {grip.Left, w.Top + 2, grip.Right, grip.Top}, brush);
            FillRect(p, grip, SysBrush(COLOR_BTNFACE));
            DrawSizeGrip(p, grip);
        }
        return;
    }
    FillRect(p, w.Inflated(-1, -1), brush);
    if (IsFlat()) {
        FrameRect(p, w, SysBrush(COLOR_BTNFACE));
        const TRect in = w.Inflated(-1, -1);
        for (const TPoint& corner : {TPoint(in.Left, in.Top), TPoint(in.Right - 1, in.Top), TPoint(in.Left, in.Bottom - 1),
                                     TPoint(in.Right - 1, in.Bottom - 1)})
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
        if (link->BeginGroup() && !first) PaintSeparator(p, c, r);
        first = false;
        if (!clip.isEmpty() && !clip.intersects(r.ToQRect())) continue;
        p.save();
        p.setClipRect(r.ToQRect(), Qt::IntersectClip);
        DrawItem(p, c);
        c->Draw(p, places_.value(c).Rect, paintType);
        p.restore();
    }
    if (MarkExists() && DockControl()) PaintMark(p);
}

void TdxBarControl::PaintSeparator(QPainter& p, TdxBarItemControl* control, const TRect& itemRect)
{
    const TRect stored = places_.value(control).Rect;
    // Only a group start inside its row gets a band before it.
    if (IsVertical() ? stored.Top == 0 : stored.Left == 0) return;
    const int size = BeginGroupSize();
    const int inset = (size - (IsFlat() ? 0 : 1) - 1) / 2;
    const TRect band = IsVertical() ? TRect(itemRect.Left, stored.Top - size, itemRect.Right, stored.Top)
                                    : TRect(stored.Left - size, itemRect.Top, stored.Left, itemRect.Bottom);
    const TRect line = IsVertical() ? TRect(band.Left + 2, band.Top + inset, band.Right - 2, band.Bottom - inset)
                                    : TRect(band.Left + inset, band.Top + 2, band.Right - inset, band.Bottom - 2);
    if (IsFlat()) {
        FillRect(p, line, GetToolbarBrush());
        FillRect(p, IsVertical() ? TRect(line.Left, line.Top, line.Right, line.Top + 1)
                                 : TRect(line.Left, line.Top, line.Left + 1, line.Bottom),
                 SysBrush(COLOR_BTNSHADOW));
    } else {
        DrawEdge(p, line, EDGE_ETCHED, IsVertical() ? BF_TOP : BF_LEFT);
    }
}

void TdxBarControl::PaintMark(QPainter& p)
{
    const TRect client = ClientRect();
    const bool standard = BarManager() && BarManager()->Style() == bmsStandard;
    const TRect mark = MarkRect(DockingStyle(), standard, client.Width(), client.Height());
    FillRect(p, mark, GetToolbarBrush());
    const QColor ink = SysColor(COLOR_BTNTEXT);
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

void TdxBarControl::LButtonDown(const TPoint& client, TShiftState shift)
{
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
        default:
            break;
        }
    }
    TCustomdxBarControl::KeyDown(key, shift);
}
