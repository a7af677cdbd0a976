#include "dxBarItemDrag.h"

#include "Desktop.h"
#include "Forms.h"
#include "Keys.h"
#include "Window.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomControl.h"
#include "InputHooks.h"
#include "NativeWidget.h"
#include "dxBarModalLoop.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarSubItemControl.h"
#include "dxBarWindowsLibrary.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <optional>

namespace {

TdxBarItemDrag* currentDrag = nullptr;
std::optional<TPoint> pendingStart;

// The insertion mark: an I, 6 pixels across, at the edge of the item the drop goes to;
// lying on its side in menus and vertical toolbars.
class TMarkWindow : public TNativeWidget<QWidget> {
public:
    TMarkWindow()
        : TNativeWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                                     Qt::WindowTransparentForInput)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_DeleteOnClose);
    }
    void Place(const TRect& r, bool across)
    {
        across_ = across;
        setGeometry(r.ToQRect());
        show();
        update();
    }

protected:
    bool Dispatch(QEvent* e) override
    {
        if (e->type() != QEvent::Paint) return false;
        Paint();
        return true;
    }

private:
    void Paint()
    {
        QPainter p(this);
        const int w = width(), h = height();
        if (across_) {
            p.fillRect(0, h / 2 - 1, w, 2, Qt::black);
            p.fillRect(0, 0, 2, h, Qt::black);
            p.fillRect(w - 2, 0, 2, h, Qt::black);
        } else {
            p.fillRect(w / 2 - 1, 0, 2, h, Qt::black);
            p.fillRect(0, 0, w, 2, Qt::black);
            p.fillRect(0, h - 2, w, 2, Qt::black);
        }
    }

    bool across_ = false;
};

// Keys during the drag: Esc cancels, Ctrl switches between moving and copying, every other
// key is eaten.
class TItemDragKeys : public TInputHook {
public:
    explicit TItemDragKeys(TdxBarItemDrag& drag) : drag_(drag) {}
    bool KeyboardHook(const TKeyHookMessage& m) override
    {
        if (m.AutoRepeat) return true;
        if (m.Key == VK_ESCAPE && !m.KeyUp)
            drag_.Cancel();
        else if (m.Key == VK_CONTROL)
            drag_.SetCopying(!m.KeyUp);
        return true;
    }

private:
    TdxBarItemDrag& drag_;
};

bool AlongY(const TCustomdxBarControl* window)
{
    return window->IsVertical() || window->IsMenu();
}

}  // namespace

TdxBarItemDrag* dxBarCurrentItemDrag()
{
    return currentDrag;
}

void dxBarSetItemDragStart(const TPoint& screen)
{
    pendingStart = screen;
}

TdxBarItemDrag::TdxBarItemDrag(TdxBarManager* manager, TdxBarItem* item, TdxBarItemLink* link, const TPoint& start,
                               bool copy)
    : manager_(manager), item_(item), link_(link), hadLink_(link != nullptr), start_(start), cursor_(start), copy_(copy)
{
    currentDrag = this;
    if (manager_) {
        manager_->SetDraggedItem(item);
        manager_->SetDraggedLink(link);
        manager_->SetDragging(true);
    }
}

TdxBarItemDrag::~TdxBarItemDrag()
{
    if (!finished_) Cancel();
    if (currentDrag == this) currentDrag = nullptr;
    if (manager_) {
        manager_->SetDraggedItem(nullptr);
        manager_->SetDraggedLink(nullptr);
        manager_->SetDragging(false);
    }
    if (link_ && link_->Control()) link_->Control()->Repaint();
}

int TdxBarItemDrag::Cursor() const
{
    if (designCursor_) return designCursor_;
    TCustomdxBarControl* window = place_.Window;
    if (!window || place_.Refused) return crdxBarDragNoDrop;
    if (!place_.Control && window->ItemLinks() && window->ItemLinks()->VisibleItemCount() > 0) return crdxBarDragNoDrop;
    return link_ && !copy_ ? crdxBarDrag : crdxBarDragCopy;
}

TCustomdxBarControl* TdxBarItemDrag::WindowAt(const TPoint& cursor) const
{
    QWidget* under = TWindow::WindowFromPoint(cursor);
    if (under && under == markWindow_) under = nullptr;
    // The customizing window lies above the bars: what is under it is no target.
    if (TCustomForm* customizing = dxBarCustomizingForm().Form();
        under && customizing && customizing->Handle() && under->window() == customizing->Handle())
        return nullptr;
    if (TCustomdxBarControl* window = dxBarFindControlOfWindow(under))
        return window->BarManager() == manager_ ? window : nullptr;
    for (TCustomdxBarControl* window : dxBarLiveBarControls()) {
        QWidget* handle = window->Handle();
        if (window->BarManager() == manager_ && handle && handle->isVisible() && window->WindowRect().Contains(cursor))
            return window;
    }
    return nullptr;
}

TdxBarItemDrag::TPlace TdxBarItemDrag::FindPlace(const TPoint& cursor) const
{
    TPlace place;
    TCustomdxBarControl* window = WindowAt(cursor);
    TdxBarItemLinks* links = window ? window->ItemLinks() : nullptr;
    if (!links || !window->CanCustomize()) return place;
    place.Window = window;
    place.HadWindow = true;
    // A sub item must not end up inside its own menu, or a menu below it.
    auto* owner = qobject_cast<TdxBarItem*>(links->OwnerObject());
    if (owner && !dxBarCanInsertItem(owner, item_)) {
        place.Refused = true;
        return place;
    }
    const TPoint client = window->ScreenToClient(cursor);
    bool outside = false, before = false, vertical = false;
    TdxBarItemControl* control = window->ItemAtPosEx(client, outside, before, vertical);
    place.Control = control;
    place.Before = before;
    if (control && control->ItemLink()) {
        place.Valid = true;
        place.Index = control->ItemLink()->Index() + (before ? 0 : 1);
    } else if (!control && links->VisibleItemCount() == 0 && window->ClientRect().Contains(client)) {
        place.Valid = true;
        place.Index = links->Count();
    }
    TdxBarItemLink* link = link_;
    if (place.Valid && link && !copy_ && link->Links() == links) {
        place.OwnControl = control && control->ItemLink() == link;
        place.InPlace = place.Index == link->Index() || place.Index == link->Index() + 1;
    }
    return place;
}

void TdxBarItemDrag::Move(const TPoint& cursor)
{
    if (finished_) return;
    moved_ = true;
    cursor_ = cursor;
    Evaluate();
}

void TdxBarItemDrag::SetCopying(bool copy)
{
    if (finished_ || copy == copy_) return;
    copy_ = copy;
    if (moved_) Evaluate();
}

bool TdxBarItemDrag::DesignOver()
{
    designCursor_ = 0;
    if (!item_ || !manager_ || !manager_->IsDesigning()) return false;
    // A link dragged is no new item: only the sub-menu editor hears of it.
    int cursor = crdxBarDragNoDrop;
    if (!dxBarCustomizingForm().DesignDragOver(hadLink_ ? nullptr : item_.data(), cursor_, cursor)) return false;
    designCursor_ = cursor;
    return true;
}

void TdxBarItemDrag::Evaluate()
{
    if (DesignOver()) {
        place_ = {};
        target_ = nullptr;
        UpdateMark();
        ShowCursor();
        return;
    }
    const QPointer<TdxBarItemControl> previous = place_.Control;
    place_ = FindPlace(cursor_);
    target_ = place_.Window;
    UpdateMark();
    ShowCursor();
    SelectUnderPointer(previous);
    // A menu under the pointer also gets the move: it scrolls while the pointer rests on
    // one of its arrows.
    if (TCustomdxBarControl* under = WindowAt(cursor_); under && under->IsMenu() && !finished_)
        under->MouseMove(under->ScreenToClient(cursor_), {});
}

void TdxBarItemDrag::SelectUnderPointer(TdxBarItemControl* previous)
{
    QPointer<TCustomdxBarControl> window = place_.Window;
    QPointer<TdxBarItemControl> control = place_.Control;
    if (!window || place_.Refused || !control || control == previous) return;
    // The control under the pointer becomes the selected one; a sub item opens its menu
    // unless the dragged item may not go into it.
    if (TdxBarItemControl* old = window->SelectedControl(); old && old != control && old->IsActive())
        old->ControlInactivate(false);
    if (!window || !control) return;
    window->SetSelectedItem(control);
    // The window may have held it from before while the manager's selection went elsewhere.
    if (window && control && manager_) manager_->SetSelectedControl(control);
    auto* sub = dynamic_cast<TdxBarSubItemControl*>(control.data());
    if (window && sub && dxBarCanInsertItem(sub->Item(), item_)) sub->ControlActivate(true);
}

void TdxBarItemDrag::UpdateMark()
{
    mark_ = {};
    TCustomdxBarControl* window = place_.Window;
    TdxBarItemControl* control = place_.Control;
    if (window && control && place_.Valid && !place_.InPlace && !place_.Refused) {
        const TRect item = window->GetItemRect(control);
        const TPoint topLeft = window->ClientToScreen(item.TopLeft());
        const TRect r = TRect::Bounds(topLeft.x(), topLeft.y(), item.Width(), item.Height());
        if (AlongY(window)) {
            const int y = place_.Before ? r.Top : r.Bottom;
            mark_ = TRect(r.Left, y - 3, r.Right, y + 3);
        } else {
            const int x = place_.Before ? r.Left : r.Right;
            mark_ = TRect(x - 3, r.Top, x + 3, r.Bottom);
        }
    }
    if (mark_.IsEmpty()) {
        if (markWindow_) markWindow_->hide();
        return;
    }
    if (!markWindow_) markWindow_ = new TMarkWindow;
    static_cast<TMarkWindow*>(markWindow_.data())->Place(mark_, window && AlongY(window));
}

void TdxBarItemDrag::ShowCursor()
{
    const QCursor cursor = dxBarCursor(Cursor());
    if (cursorShown_) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        cursorShown_ = true;
    }
}

void TdxBarItemDrag::Drop()
{
    if (finished_) return;
    Finish();
    if (!moved_ || !manager_) return;
    if (!hadLink_ && item_ && manager_->IsDesigning() && dxBarCustomizingForm().DesignDragEnd(item_, true)) return;
    // What the drag carried, or the window it aimed at, went during the drag: nothing changes.
    if (!item_ || (hadLink_ && !link_)) return;
    if (place_.HadWindow && !place_.Window) return;
    const TPlace place = FindPlace(cursor_);
    if (place.Refused) return;
    if (place.Window)
        DropOnPlace(place);
    else
        DropNowhere();
}

void TdxBarItemDrag::Cancel()
{
    if (finished_) return;
    Finish();
    if (!hadLink_ && item_ && manager_ && manager_->IsDesigning()) dxBarCustomizingForm().DesignDragEnd(item_, false);
}

void TdxBarItemDrag::Finish()
{
    finished_ = true;
    mark_ = {};
    if (markWindow_) markWindow_->close();
    if (cursorShown_) {
        QGuiApplication::restoreOverrideCursor();
        cursorShown_ = false;
    }
    dxBarQuitDragLoop(loop_);
}

void TdxBarItemDrag::DropNowhere()
{
    TdxBarItemLink* link = link_;
    if (!link || copy_) return;
    QPointer<TCustomdxBarControl> source = link->BarControl();
    QPointer<TdxBarManager> manager = manager_;
    delete link;
    if (manager) manager->Changed();
    if (source) dxBarWindowServices().RelayoutBarWindow(source);
}

void TdxBarItemDrag::DropOnPlace(const TPlace& place)
{
    QPointer<TCustomdxBarControl> target = place.Window;
    QPointer<TdxBarManager> manager = manager_;
    if (place.OwnControl) {
        BeginGroupGesture(place);
        return;
    }
    if (!place.Valid || place.InPlace) {
        target->SetSelectedItem(nullptr);
        return;
    }
    TdxBarItemLinks* links = target->ItemLinks();
    // The window whose menus were open when the button went up (the menu the link may
    // have come from).
    QPointer<TCustomdxBarControl> active = dxBarActiveBarControl();
    QPointer<TCustomdxBarControl> source = link_ ? link_->BarControl() : nullptr;
    QPointer<TdxBarItemLink> pushed = place.Before && place.Control ? place.Control->ItemLink() : nullptr;
    target->SetSelectedItem(nullptr);
    QPointer<TdxBarItemLink> added = links->Add();
    if (link_)
        added->Assign(link_);
    else
        added->SetItem(item_);
    if (!added) return;
    added->SetIndex(place.Index);
    if (pushed && pushed->StoredBeginGroup()) {
        added->SetBeginGroup(true);
        pushed->SetBeginGroup(false);
    }
    if (link_ && !copy_) delete link_.data();
    if (manager) manager->Changed();
    if (source && source != target) dxBarWindowServices().RelayoutBarWindow(source);
    if (!target) return;
    dxBarWindowServices().RelayoutBarWindow(target);
    if (!target || !added || !added->Control()) return;
    // Dropped on a toolbar while other menus were open: those close, and the toolbar takes
    // the keys with the new control selected.
    QPointer<TdxBarControl> toolbar = qobject_cast<TdxBarControl*>(target.data());
    if (toolbar && active && active != target) {
        QPointer<TCustomdxBarControl> root = dxBarGetRootControl(active);
        active->HideAll();
        if (root) root->CloseSubMenus();
        if (toolbar && added && added->Control()) toolbar->BarGetFocus(added->Control());
        return;
    }
    target->SetSelectedItem(added->Control());
}

void TdxBarItemDrag::BeginGroupGesture(const TPlace& place)
{
    QPointer<TCustomdxBarControl> window = place.Window;
    TdxBarItemLink* link = link_;
    const int offset = AlongY(window) ? cursor_.y() - start_.y() : cursor_.x() - start_.x();
    if (std::abs(offset) > 3 && link->StoredBeginGroup() != (offset > 0)) {
        link->SetBeginGroup(offset > 0);
        if (manager_) manager_->Changed();
        if (window) dxBarWindowServices().RelayoutBarWindow(window);
    }
    if (window && link_ && link_->Control()) window->SetSelectedItem(link_->Control());
}

void TdxBarItemDrag::Run(TWindow* captureWindow)
{
    if (finished_) return;
    TItemDragKeys keys(*this);
    dxBarRunDragLoop(captureWindow, keys, finished_, loop_, [this] { Cancel(); });
}

// ---------------------------------------------------------------- the library's part

void TdxBarWindowsLibrary::DragItem(TdxBarManager* manager, TdxBarItem* item, TdxBarItemLink* link)
{
    const TPoint start = pendingStart.value_or(GetCursorPos());
    pendingStart.reset();
    if (dxBarCurrentItemDrag() || CurrentDrag() || !manager || !item) return;
    TWindow* capture = MessageWindow(manager);
    TdxBarItemDrag drag(manager, item, link, start, IsCtrlDown());
    // Paint what is pending before the loop takes the mouse.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    drag.Run(capture);
}
