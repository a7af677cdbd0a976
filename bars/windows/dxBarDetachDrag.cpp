#include "dxBarDetachDrag.h"

#include "InputHooks.h"
#include "SysParams.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomControl.h"
#include "dxBarManager.h"
#include "dxBarSubItemControl.h"

#include <QEventLoop>
#include <QPointer>

namespace {

bool dragging = false;

// Feeds the pointer's screen positions, the release and the keys of the loop to the drag.
class TDetachLoop : public TInputHook {
public:
    TDetachLoop(TdxBarSubItemControl* owner, TdxBar* bar, const TRect& zone)
        : owner_(owner), bar_(bar), zone_(zone.Inflated(15, 15))
    {}

    bool MouseHook(const TMouseHookMessage& m) override
    {
        if (m.Kind == TMouseHookKind::Move) {
            Move(m.Screen);
        } else if (m.Kind == TMouseHookKind::ButtonUp) {
            dropped = true;
            loop.quit();
        }
        return true;
    }

    bool KeyboardHook(const TKeyHookMessage& m) override
    {
        if (m.Key == VK_ESCAPE && !m.KeyUp) {
            Reopen();
            loop.quit();
        }
        return true;
    }

    void Move(const TPoint& p)
    {
        if (p == last_ || !bar_) return;
        last_ = p;
        if (!left_) {
            if (zone_.Contains(p)) return;
            left_ = true;
            // Out of the detach bar: the menu closes and the bar floats at the pointer.
            if (owner_) owner_->ControlInactivate(true);
            if (!bar_) return;
            if (bar_->DockingStyle() != dsNone) {
                bar_->SetVisible(false);
                if (bar_) bar_->SetDockingStyle(dsNone);
            }
            if (bar_ && !bar_->Visible()) {
                bar_->SetFloatLeft(p.x() - 100);
                bar_->SetFloatTop(CaptionTop(p));
                bar_->SetVisible(true);
            }
            Follow(p);
            return;
        }
        if (zone_.Contains(p)) {
            // Back over the detach bar: no bar, the menu again.
            bar_->SetVisible(false);
            Reopen();
            loop.quit();
            return;
        }
        Follow(p);
    }

    static int CaptionTop(const TPoint& p) { return p.y() - GetSystemMetrics(SM_CYSMCAPTION) / 2; }

    // The floating window follows the pointer centred on it, its caption under it; the bar
    // stores where the window went.
    void Follow(const TPoint& p)
    {
        auto* window =
            bar_ && bar_->ItemLinks() ? qobject_cast<TdxBarControl*>(bar_->ItemLinks()->BarControl()) : nullptr;
        if (!window || !window->Floating()) return;
        window->SetWindowPos(
            TRect::Bounds(p.x() - window->Width() / 2, CaptionTop(p), window->Width(), window->Height()),
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Reopen()
    {
        if (owner_) owner_->ControlActivate(true);
    }

    QEventLoop loop;
    bool dropped = false;
    bool left() const { return left_; }

private:
    QPointer<TdxBarSubItemControl> owner_;
    QPointer<TdxBar> bar_;
    TRect zone_;
    TPoint last_{-1, -1};
    bool left_ = false;
};

}  // namespace

bool dxBarDetachDragging()
{
    return dragging;
}

bool dxBarDetachDrag(TdxBarSubItemControl* owner, TdxBar* bar, const TRect& zone, TCustomdxBarControl* captureWindow)
{
    if (!bar || dragging) return false;
    QPointer<TdxBar> guardedBar(bar);
    QPointer<TCustomdxBarControl> capture(captureWindow);
    // Where the bar was, to put it back unless it is dropped.
    const TdxBarDockingStyle style = bar->DockingStyle();
    QPointer<TdxBarDockControl> dock = bar->DockControl();
    const bool visible = bar->Visible();
    const int floatLeft = bar->FloatLeft(), floatTop = bar->FloatTop();

    TDetachLoop drag(owner, bar, zone);
    dragging = true;
    if (capture) capture->SetCapture();
    {
        TModalLoopHook modal(drag);
        drag.loop.exec();
    }
    if (capture && TWindow::GetCapture() == capture.data()) TWindow::ReleaseCapture();
    dragging = false;
    if (!guardedBar) return false;
    const bool floated = drag.dropped && drag.left() && guardedBar->Visible();
    if (floated) {
        if (TdxBarManager* manager = guardedBar->BarManager(); manager && manager->IsCustomizing())
            dxBarCustomizingForm().BarChanged(guardedBar);
        return true;
    }
    // Anything but a drop leaves the bar as it was.
    if (guardedBar->DockingStyle() != style || guardedBar->DockControl() != dock) {
        guardedBar->SetVisible(false);
        if (guardedBar) guardedBar->SetDockingStyle(style);
        if (guardedBar && dock) guardedBar->SetDockControl(dock);
    }
    if (guardedBar) {
        guardedBar->SetFloatLeft(floatLeft);
        guardedBar->SetFloatTop(floatTop);
        guardedBar->SetVisible(visible);
    }
    return false;
}
