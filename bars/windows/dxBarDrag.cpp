#include "dxBarDrag.h"

#include "Desktop.h"
#include "ExceptionBarrier.h"
#include "FloatingFrame.h"
#include "Forms.h"
#include "Keys.h"
#include "Window.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "InputHooks.h"
#include "dxBarModalLoop.h"
#include "dxBarItemDrag.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarWindowsLibrary.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

TdxBarDockControl* PlacedDock(TdxDockControl* dock)
{
    return dock && !dock->IsBuiltIn() ? qobject_cast<TdxBarDockControl*>(dock) : nullptr;
}

TRect ScreenBounds(TdxDockControl* dock)
{
    QWidget* w = dock->Handle();
    const QPoint origin = w ? w->mapToGlobal(QPoint(0, 0)) : QPoint(dock->Left(), dock->Top());
    return TRect::Bounds(origin.x(), origin.y(), dock->Width(), dock->Height());
}

// The window the drag captures the mouse on: it hands the pointer to the drag in progress.
class TdxBarMessageWindow : public TWindow {
public:
    TdxBarMessageWindow(TComponent* owner, QWidget* form) : TWindow(owner, Params(form)) {}
    ~TdxBarMessageWindow() override { Destroying(); }

    void MouseMove(const TPoint& client, TShiftState /*shift*/) override
    {
        if (TdxBarItemDrag* item = dxBarCurrentItemDrag())
            item->Move(ClientToScreen(client));
        else if (TdxBarDrag* drag = Drag())
            drag->Move(ClientToScreen(client));
    }
    void LButtonUp(const TPoint& /*client*/, TShiftState /*shift*/) override
    {
        if (TdxBarItemDrag* item = dxBarCurrentItemDrag())
            item->Drop();
        else if (TdxBarDrag* drag = Drag())
            drag->Drop();
    }
    void CaptureChanged() override
    {
        if (TdxBarItemDrag* item = dxBarCurrentItemDrag())
            item->Cancel();
        else if (TdxBarDrag* drag = Drag(); drag && !drag->Finished())
            drag->Cancel();
    }

private:
    static TCreateParams Params(QWidget* form)
    {
        TCreateParams p;
        p.Parent = form;
        p.Bounds = TRect::Bounds(-1, -1, 1, 1);  // out of sight inside the form
        return p;
    }
    static TdxBarDrag* Drag()
    {
        TdxBarWindowsLibrary* library = TdxBarWindowsLibrary::Instance();
        return library ? library->CurrentDrag() : nullptr;
    }
};

// Keys during the drag: Esc cancels, Ctrl re-evaluates the place, every other key is eaten.
class TDragKeys : public TInputHook {
public:
    explicit TDragKeys(TdxBarDrag& drag) : drag_(drag) {}

    bool KeyboardHook(const TKeyHookMessage& m) override
    {
        if (m.AutoRepeat) return true;
        if (m.Key == VK_ESCAPE && !m.KeyUp)
            drag_.Cancel();
        else if (m.Key == VK_CONTROL)
            drag_.Reevaluate();
        return true;
    }

private:
    TdxBarDrag& drag_;
};

}  // namespace

TdxBarDrag::TdxBarDrag(TdxBarWindowsLibrary& library, TdxBarControl* window, const TPoint& cursor)
    : library_(library), window_(window), cursor_(cursor)
{
    library_.drag_ = this;
    wait_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, Guarded([this] { DockingWaitElapsed(); }));
    start_.Style = window->DockingStyle();
    start_.Dock = window->DockControl();
    start_.Bounds = window->BoundsRect();
    start_.Visible = window->Visible();
    TdxDockControl* dock = window->DockControl();
    if (dock && library_.DockRows(dock)) {
        start_.Rows = *library_.DockRows(dock);
        // The point a move asks for falls in the middle of the bar's row (or of the gap
        // that stands for its row when it is alone there), so it stays in its row.
        dockrows::TDockRows rows = *start_.Rows;
        const dockrows::TDockRows::TPosition at = rows.Find(window);
        std::vector<int> thicknesses = library_.RowThicknesses(dock);
        const bool alone = at.Row >= 0 && rows.ColCount(at.Row) == 1;
        if (alone) thicknesses.erase(thicknesses.begin() + at.Row);
        if (at.Row >= 0) {
            const int across = dockrows::RowInsertPoint(library_.DockGeometry(dock), thicknesses, at.Row, alone);
            const TPoint client =
                (dock->Handle() ? dock->Handle()->mapFromGlobal(cursor) : cursor) - dock->ClientRect().topLeft();
            offset_ = dock->Horizontal() ? TPoint(0, across - client.y()) : TPoint(across - client.x(), 0);
        }
    }
    window->SetBarDragging(true);
}

TdxBarDrag::~TdxBarDrag()
{
    if (!finished_) Cancel();
    if (library_.drag_ == this) library_.drag_ = nullptr;
}

TdxBarDrag::TPlace TdxBarDrag::FindPlace(const TPoint& point) const
{
    TdxBarControl* window = window_;
    TdxBar* bar = window ? window->Bar() : nullptr;
    TdxBarManager* manager = window ? window->BarManager() : nullptr;
    if (!bar || !manager || IsCtrlDown()) return {};
    for (const TPoint& p : {point, point - offset_}) {
        for (TdxBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom}) {
            for (int i = 0; i < manager->DockControlCount(); ++i) {
                TdxDockControl* dock = manager->GetDockControl(i);
                if (!dock || dock->DockingStyle() != style || !dock->Visible() || !dock->Enabled()) continue;
                if (!manager->CanDock(bar, style, dock->IsBuiltIn() ? nullptr : dock)) continue;
                if (floatingframe::DockingRect(ScreenBounds(dock), dock->Horizontal(), TdxBars::DockZoneSize)
                        .Contains(p))
                    return {style, dock};
            }
        }
    }
    return {};
}

void TdxBarDrag::MoveBar(const TPoint& requested, bool waitElapsed)
{
    QPointer<TdxBarControl> window = window_;
    TdxBar* bar = window ? window->Bar() : nullptr;
    TdxBarManager* manager = window ? window->BarManager() : nullptr;
    if (!bar || !manager) return;
    TPlace place = FindPlace(requested);
    if (!manager->CanDock(bar, place.Style, place.Dock && !place.Dock->IsBuiltIn() ? place.Dock : nullptr)) return;
    if (window->Floating() && place.Style != dsNone && !waitElapsed) {
        // A floating bar over a dock waits before it docks; every move starts the wait again.
        wait_.start(std::max(0, manager->WaitForDockingTime()));
        place = {};
    }
    TPoint point = requested;
    if (place.Style == dsNone) point -= offset_;
    if (place.Style == window->DockingStyle() && place.Dock == window->DockControl()) {
        if (place.Style != dsNone) {
            library_.MoveBarTo(window, point);
        } else {
            const TPoint grab = window->GrabOffsetFor(window->Width(), window->Height());
            window->SetWindowPos(
                TRect::Bounds(point.x() - grab.x(), point.y() - grab.y(), window->Width(), window->Height()),
                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return;
    }
    window->Hide();
    if (!window->Floating()) {
        library_.UndockBar(window);
        if (bar->ItemLinks()) bar->ItemLinks()->SetRecentItemLimit(-1);
    }
    if (!window) return;
    if (place.Style != dsNone) {
        window->ChangeDockControl(place.Style, place.Dock, TRect::Bounds(0, 0, window->Width(), window->Height()));
        bar->WindowMoved(place.Style, PlacedDock(place.Dock));
        library_.DockBarAt(window, point);
    } else {
        const floatingframe::TSize size = window->FloatingSizeFor(bar->FloatClientWidth());
        const TPoint grab = window->GrabOffsetFor(size.X, size.Y);
        window->ChangeDockControl(dsNone, nullptr,
                                  TRect::Bounds(point.x() - grab.x(), point.y() - grab.y(), size.X, size.Y));
        bar->WindowMoved(dsNone, nullptr);
        library_.BringToFront(window);
    }
    if (window) window->Show();
}

void TdxBarDrag::Move(const TPoint& cursor)
{
    if (finished_) return;
    if (cursor == cursor_) return;
    cursor_ = cursor;
    MoveBar(cursor + offset_, false);
}

void TdxBarDrag::Reevaluate()
{
    if (finished_) return;
    MoveBar(cursor_ + offset_, false);
}

void TdxBarDrag::DockingWaitElapsed()
{
    wait_.stop();
    if (finished_) return;
    cursor_ = GetCursorPos();
    MoveBar(cursor_ + offset_, true);
}

void TdxBarDrag::Drop()
{
    if (finished_) return;
    Finish();
    TdxBarControl* window = window_;
    if (!window) return;
    if (TdxDockControl* dock = window->DockControl()) library_.StoreBarPositions(dock);
    window->StorePosition();
}

void TdxBarDrag::Cancel()
{
    if (finished_) return;
    Restore();
    Finish();
}

void TdxBarDrag::WindowGone()
{
    window_ = nullptr;
    if (!finished_) Finish();
}

void TdxBarDrag::Restore()
{
    QPointer<TdxBarControl> window = window_;
    TdxBar* bar = window ? window->Bar() : nullptr;
    if (!bar) return;
    wait_.stop();
    const bool moved = window->DockingStyle() != start_.Style || window->DockControl() != start_.Dock;
    if (moved) {
        window->Hide();
        if (!window->Floating()) library_.UndockBar(window);
        if (!window) return;
        if (start_.Style != dsNone && !start_.Dock) return;  // its dock is gone: it stays where it is
        window->ChangeDockControl(start_.Style, start_.Dock, start_.Bounds);
        bar->WindowMoved(start_.Style, PlacedDock(start_.Dock));
    }
    if (start_.Rows && start_.Dock) {
        // Every bar of the dock stands where it stood.
        library_.SetDockRows(start_.Dock, *start_.Rows);
    } else if (window->Floating()) {
        window->SetWindowPos(start_.Bounds, SWP_NOZORDER | SWP_NOACTIVATE);
        library_.BringToFront(window);
    }
    if (window && start_.Visible) window->Show();
}

void TdxBarDrag::Finish()
{
    finished_ = true;
    wait_.stop();
    if (window_) window_->SetBarDragging(false);
    dxBarQuitDragLoop(loop_);
}

void TdxBarDrag::Run(TWindow* captureWindow)
{
    if (finished_) return;
    TDragKeys keys(*this);
    dxBarRunDragLoop(captureWindow, keys, finished_, loop_, [this] { Cancel(); });
}

// ---------------------------------------------------------------- the library's part

TWindow* TdxBarWindowsLibrary::MessageWindow(TdxBarManager* manager)
{
    QPointer<TWindow>& window = messageWindows_[manager];
    if (!window) {
        TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
        if (!form || !form->Handle()) return nullptr;
        window = new TdxBarMessageWindow(manager, form->Handle());
        window->Show();
    }
    return window;
}

void TdxBarWindowsLibrary::DragBar(TdxBar* bar)
{
    if (drag_ || !bar || !bar->ItemLinks()) return;
    auto* window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    if (!dxBarIsBarControlAlive(window)) return;
    TWindow* capture = MessageWindow(bar->BarManager());
    TdxBarDrag drag(*this, window, GetCursorPos());
    // Paint what is pending before the loop takes the mouse.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    drag.Run(capture);
}
