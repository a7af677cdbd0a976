// Docked bar windows: showing a bar puts its window into its dock's rows, and every change
// lays the dock's rows out again (DockRows) and sizes the dock to them.
#include "DockRows.h"
#include "Forms.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "dxBarDrag.h"
#include "dxBarManager.h"
#include "dxBarWindowsLibrary.h"

#include <QPointer>
#include <QWidget>

using namespace toolbarlayout;

namespace {

TdxBarControl* WindowOf(const dockrows::TDockCol& col)
{
    return static_cast<TdxBarControl*>(const_cast<void*>(col.Window));
}

// Thickness of a bar window laid out at a length along its row.
int ThicknessAt(TdxBarControl* window, int length, bool truncated)
{
    window->SetTruncated(truncated);
    const TBar bar = window->LayoutBar();
    const bool standard = window->BarManager() && window->BarManager()->Style() == bmsStandard;
    const int content = length - window->NCAlong() - (truncated && standard ? MarkRoom : 0);
    const std::vector<TItem> items = window->LayoutItems();
    const TSizeResult size = window->IsVertical() ? CalcSizeForHeight(bar, items, bar.Style, content)
                                                  : CalcSizeForWidth(bar, items, bar.Style, content);
    window->SetRecentLimit(size.RecentLimit);
    return (window->IsVertical() ? size.Size.X : size.Size.Y) + window->NCAcross();
}

}  // namespace

const dockrows::TDockRows* TdxBarWindowsLibrary::DockRows(const TdxDockControl* dock) const
{
    const auto it = dockRows_.constFind(dock);
    return it == dockRows_.constEnd() ? nullptr : &*it;
}

namespace {

// A floating window shows while its form shows (or while customizing); one made while the
// form is still hidden shows once the form has come up. An MDI child's shows only while the
// child is its frame's active child (the frame's activation shows it later).
void ShowFloating(TdxBarControl* window, bool retry)
{
    TdxBarManager* manager = window->BarManager();
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    const bool customizing = manager && manager->IsCustomizing();
    TCustomForm* frame = form ? form->MDIFrame() : nullptr;
    if (frame && frame->ActiveMDIChild() != form && !customizing) return;
    const bool formShown = form && form->Handle() && form->Handle()->isVisible();
    if (formShown || customizing) {
        window->Show();
        return;
    }
    if (retry)
        window->PostCall([window] {
            if (window->Bar() && window->Bar()->Visible()) ShowFloating(window, false);
        });
}

}  // namespace

void TdxBarWindowsLibrary::ShowBar(TdxBar* bar)
{
    TdxBarManager* manager = bar ? bar->BarManager() : nullptr;
    if (!manager || !bar->ItemLinks()) return;
    if (dxBarIsBarControlAlive(bar->ItemLinks()->BarControl())) return;
    TdxDockControl* dock = bar->DockingStyle() == dsNone ? nullptr : bar->RealDockControl();
    if (!dock) {
        auto* window = new TdxBarControl(bar, nullptr);
        const floatingframe::TSize size = window->FloatingSizeFor(bar->FloatClientWidth());
        window->SetWindowPos(TRect::Bounds(bar->FloatLeft(), bar->FloatTop(), size.X, size.Y),
                             SWP_NOZORDER | SWP_NOACTIVATE);
        window->CalcItemRects();
        window->SetPlacing(false);
        window->StorePosition();
        BringToFront(window);
        ShowFloating(window, true);
        return;
    }
    auto* window = new TdxBarControl(bar, dock);
    dockrows::TDockRows& rows = dockRows_[dock];
    dockrows::TDockRows::TInsert insert;
    insert.Window = window;
    insert.At = {bar->Row(), bar->OneOnRow()};
    insert.WholeRow = bar->WholeRow();
    insert.Restoring = true;
    insert.MaxRows = manager->Bars()->Count();
    insert.Horizontal = dock->Horizontal();
    insert.Along = insert.Horizontal ? bar->DockedLeft() : bar->DockedTop();
    rows.Insert(insert, [&rows](int row) {
        for (const dockrows::TDockCol& col : rows.Row(row))
            if (WindowOf(col)->Bar() && WindowOf(col)->Bar()->WholeRow()) return true;
        return false;
    });
    window->Show();
    window->SetPlacing(false);
    UpdateDock(dock);
}

void TdxBarWindowsLibrary::HideBar(TdxBar* bar)
{
    if (!bar || !bar->ItemLinks()) return;
    auto* window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    if (!dxBarIsBarControlAlive(window)) return;
    TdxDockControl* dock = window->DockControl();
    if (dock && dockRows_.contains(dock)) dockRows_[dock].Remove(window);
    floating_.removeAll(window);
    // A window freed during its drag takes both its handles with it; the drag ends.
    if (drag_ && drag_->Window() == window) drag_->WindowGone();
    delete window;
    if (dock) UpdateDock(dock);
}

dockrows::TDock TdxBarWindowsLibrary::DockGeometry(const TdxDockControl* dock) const
{
    dockrows::TDock d;
    d.Style = dock->DockingStyle();
    const QRect client = dock->ClientRect();
    d.ClientWidth = client.width();
    d.ClientHeight = client.height();
    d.Dragging = drag_ != nullptr;
    return d;
}

std::vector<int> TdxBarWindowsLibrary::RowThicknesses(const TdxDockControl* dock) const
{
    std::vector<int> thicknesses;
    const dockrows::TDockRows* rows = DockRows(dock);
    if (!rows) return thicknesses;
    const bool horizontal = dock->Horizontal();
    for (int r = 0; r < rows->RowCount(); ++r) {
        int thickness = 0;
        for (const dockrows::TDockCol& col : rows->Row(r)) {
            const TRect b = WindowOf(col)->BoundsRect();
            thickness = std::max(thickness, horizontal ? b.Height() : b.Width());
        }
        thicknesses.push_back(thickness);
    }
    return thicknesses;
}

void TdxBarWindowsLibrary::DockBarAt(TdxBarControl* window, const TPoint& screen)
{
    TdxDockControl* dock = window ? window->DockControl() : nullptr;
    TdxBarManager* manager = dock ? dock->BarManager() : nullptr;
    if (!manager || !dock->Handle()) return;
    const bool horizontal = dock->Horizontal();
    const TPoint client = dock->Handle()->mapFromGlobal(screen) - dock->ClientRect().topLeft();
    const dockrows::TRowHit hit =
        dockrows::RowAtPos(DockGeometry(dock), RowThicknesses(dock), horizontal ? client.y() : client.x());
    int along = horizontal ? client.x() : client.y();
    if (drag_ && drag_->Window() == window) {
        // The window stands where the grab point keeps the cursor on it.
        const TPoint grab = window->GrabOffsetFor(window->Width(), window->Height());
        along -= horizontal ? grab.x() : grab.y();
    }
    dockrows::TDockRows& rows = dockRows_[dock];
    dockrows::TDockRows::TInsert insert;
    insert.Window = window;
    insert.At = hit;
    insert.WholeRow = window->Bar() && window->Bar()->WholeRow();
    insert.MaxRows = manager->Bars()->Count();
    insert.Horizontal = horizontal;
    insert.Along = std::max(0, along);
    rows.Insert(insert, [&rows](int row) {
        for (const dockrows::TDockCol& col : rows.Row(row))
            if (WindowOf(col)->Bar() && WindowOf(col)->Bar()->WholeRow()) return true;
        return false;
    });
    UpdateDock(dock);
}

void TdxBarWindowsLibrary::UndockBar(TdxBarControl* window)
{
    TdxDockControl* dock = window ? window->DockControl() : nullptr;
    if (!dock || !dockRows_.contains(dock)) return;
    dockRows_[dock].Remove(window);
    UpdateDock(dock);
}

void TdxBarWindowsLibrary::MoveBarTo(TdxBarControl* window, const TPoint& screen)
{
    TdxDockControl* dock = window ? window->DockControl() : nullptr;
    if (!dock) return;
    if (dockRows_.contains(dock)) dockRows_[dock].Remove(window);
    DockBarAt(window, screen);
}

void TdxBarWindowsLibrary::StoreBarPositions(TdxDockControl* dock)
{
    if (!dockRows_.contains(dock)) return;
    dockrows::TDockRows& rows = dockRows_[dock];
    const QPoint origin = dock->ClientRect().topLeft();
    for (int r = 0; r < rows.RowCount(); ++r)
        for (int c = 0; c < rows.ColCount(r); ++c) {
            dockrows::TDockCol& col = rows.Col(r, c);
            const TRect b = WindowOf(col)->BoundsRect();
            col.X = dockrows::ClampPosition(b.Left - origin.x());
            col.Y = dockrows::ClampPosition(b.Top - origin.y());
        }
}

void TdxBarWindowsLibrary::SetDockRows(TdxDockControl* dock, const dockrows::TDockRows& rows)
{
    dockRows_[dock] = rows;
    UpdateDock(dock);
}

void TdxBarWindowsLibrary::DockDestroyed(TdxDockControl* dock)
{
    dockRows_.remove(dock);
}

void TdxBarWindowsLibrary::UpdateDock(TdxDockControl* dock)
{
    TdxBarManager* manager = dock ? dock->BarManager() : nullptr;
    // Under the manager's update lock the rows wait: the lock's end lays every dock out once.
    if (!manager || manager->IsDestroying() || manager->IsLoading() || manager->UpdateLocked() ||
        layingOut_.contains(dock))
        return;
    if (!dockRows_.contains(dock)) {
        dock->SetThickness(dockrows::DockThickness({}, dock->GetSunkenBorder(), dock->EmptySize()));
        return;
    }
    layingOut_.insert(dock);
    dockrows::TDockRows& rows = dockRows_[dock];
    const bool horizontal = dock->Horizontal();
    // Rows stand in the client area, inside a sunken border's edge.
    const QRect client = dock->ClientRect();
    const int length = horizontal ? client.width() : client.height();
    std::vector<int> thicknesses;
    std::vector<QPointer<TdxBarControl>> placed;
    int rowStart = 0;
    for (int r = 0; r < rows.RowCount(); ++r) {
        std::vector<dockrows::TRowBar> bars;
        std::vector<QPointer<TdxBarControl>> windows;
        std::vector<bool> wasTruncated;
        for (const dockrows::TDockCol& col : rows.Row(r)) {
            TdxBarControl* window = WindowOf(col);
            wasTruncated.push_back(window->Truncated());
            window->SetTruncated(false);
            window->SetRecentLimit(-1);
            const TBar bar = window->LayoutBar();
            const std::vector<TItem> items = window->LayoutItems();
            dockrows::TRowBar b;
            b.Requested = horizontal ? col.X : col.Y;
            b.MinLength = (horizontal ? GetMinWidth(bar, items, bar.Style) : GetMinHeight(bar, items, bar.Style)) +
                          window->NCAlong();
            b.FullLength = (horizontal ? GetMaxWidth(bar, items, bar.Style) : GetMaxHeight(bar, items, bar.Style)) +
                           window->NCAlong();
            b.FullThickness = (horizontal ? GetMaxHeight(bar, items, bar.Style) : GetMaxWidth(bar, items, bar.Style)) +
                              window->NCAcross();
            b.ShortestLength = window->NCAlong() + MarkRoom;
            b.Wraps = bar.Wrapping();
            b.WholeRow = window->Bar() && window->Bar()->WholeRow();
            b.UseRestSpace = window->Bar() && window->Bar()->UseRestSpace();
            b.MarkExists = window->MarkExists();
            b.ThicknessFor = [window](int len, bool truncated) { return ThicknessAt(window, len, truncated); };
            bars.push_back(b);
            windows.push_back(window);
            placed.push_back(window);
        }
        int dragged = -1;
        for (size_t i = 0; drag_ && i < windows.size(); ++i)
            if (windows[i] == drag_->Window()) dragged = int(i);
        const dockrows::TRowLayout row = dockrows::LayoutRow(bars, length, dragged);
        for (size_t i = 0; i < windows.size(); ++i) {
            TdxBarControl* window = windows[i];
            if (!window) continue;
            const dockrows::TRowPlace& place = row.Bars[i];
            ThicknessAt(window, place.Length, place.Truncated);
            const TRect bounds = (horizontal ? TRect::Bounds(place.Pos, rowStart, place.Length, row.Thickness)
                                             : TRect::Bounds(rowStart, place.Pos, row.Thickness, place.Length))
                                     .Offset(client.topLeft());
            const bool moved = bounds != window->BoundsRect();
            if (moved) window->SetWindowPos(bounds, SWP_NOZORDER | SWP_NOACTIVATE);
            if (!window) continue;
            // Only a window whose place, items or chevrons changed is painted again.
            const bool changed = window->CalcItemRects();
            if (moved || changed || window->Truncated() != wasTruncated[i]) {
                window->Invalidate();
                window->InvalidateFrame();
            }
        }
        thicknesses.push_back(row.Thickness);
        rowStart += row.Thickness;
    }
    const int thickness = dockrows::DockThickness(thicknesses, dock->GetSunkenBorder(), dock->EmptySize());
    if (thickness != dock->Thickness()) dock->SetThickness(thickness);
    // A bottom bar's size grip comes or goes with its place in the form and the form's state.
    for (const QPointer<TdxBarControl>& window : placed) {
        if (!window || !window->UpdateSizeGrip() || !window) continue;
        window->CalcItemRects();
        window->Invalidate();
        window->InvalidateFrame();
    }
    layingOut_.remove(dock);
}
