// The bridge between Qt's events and the window's message handlers.
#include "Window.h"

#include "Controls.h"
#include "ExceptionBarrier.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class TWindowWidget : public QWidget {
public:
    explicit TWindowWidget(TWindow* owner) : owner_(owner) {}

    TWindow* Owner() const { return owner_; }
    void Detach() { owner_ = nullptr; }
    int dispatching = 0;

protected:
    bool event(QEvent* e) override
    {
        if (!owner_) return QWidget::event(e);
        ++dispatching;
        bool eaten = false;
        QPointer<TWindowWidget> self(this);
        RunGuarded(owner_, [&] { eaten = owner_->Dispatch(e); });
        if (!self) return true;
        --dispatching;
        return eaten || QWidget::event(e);
    }

private:
    TWindow* owner_;
};

namespace {

QPointer<TWindow> captureOwner;
QPointer<TWindow> trackedWindow;
QTimer* leavePoll = nullptr;
std::function<QWidget*(const TPoint&)> windowFromPoint;

// Losing the application's activation ends the capture, as it does on the desktop.
void WatchApplicationState()
{
    static bool watching = false;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (watching || !app) return;
    watching = true;
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app, Guarded([](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive) TWindow::ReleaseCapture();
                     }));
}

QTimer* LeavePoll()
{
    if (!leavePoll) {
        leavePoll = new QTimer(QCoreApplication::instance());
        leavePoll->setInterval(50);
        QObject::connect(leavePoll, &QTimer::timeout, leavePoll, Guarded([] {
                             TWindow* window = trackedWindow;
                             if (!window) {
                                 leavePoll->stop();
                                 return;
                             }
                             if (TWindow::WindowFromPoint(QCursor::pos()) != window->Handle())
                                 window->EndMouseLeaveTracking();
                         }));
    }
    return leavePoll;
}

}  // namespace

TWindow::TWindow(TComponent* owner, const TCreateParams& params)
    : TComponent(owner), popup_(params.Popup), doubleClicks_(params.DoubleClicks), bounds_(params.Bounds)
{
    WatchApplicationState();
    widget_ = CreateWidget(params);
    // A subclass with a frame of its own calls FrameChanged once it is constructed.
    client_ = {0, 0, bounds_.Width(), bounds_.Height()};
}

TWindowWidget* TWindow::CreateWidget(const TCreateParams& params)
{
    auto* widget = new TWindowWidget(this);
    if (params.Popup) {
        QWidget* form = params.Owner ? params.Owner->window() : nullptr;
        widget->setParent(form, (params.Menu ? Qt::ToolTip : Qt::Tool) | Qt::FramelessWindowHint |
                                    Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    } else if (params.Parent) {
        widget->setParent(params.Parent);
    }
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    widget->setAttribute(Qt::WA_NoSystemBackground);
    widget->setGeometry(params.Bounds.ToQRect());
    widget->hide();
    return widget;
}

void TWindow::FreeWidget(TWindowWidget* w)
{
    if (!w) return;
    w->Detach();
    if (w->dispatching) {
        // Freed from inside one of its own events: Qt still uses the widget afterwards.
        w->hide();
        w->deleteLater();
    } else {
        delete w;
    }
}

TWindow::~TWindow()
{
    Destroying();
    DetachHandle();
    TWindowWidget* w = widget_;
    widget_ = nullptr;
    FreeWidget(static_cast<TWindowWidget*>(kept_.data()));
    kept_ = nullptr;
    FreeWidget(w);
}

void TWindow::SwapHandle(const TCreateParams& params)
{
    if (detached_ || !widget_) return;
    const bool wasCaptured = captureOwner == this;
    if (wasCaptured) widget_->releaseMouse();
    TWindowWidget* old = widget_;
    const bool oldPopup = popup_;
    const bool reuse = kept_ && keptPopup_ == params.Popup &&
                       (params.Popup || static_cast<TWindowWidget*>(kept_.data())->parentWidget() == params.Parent);
    if (reuse) {
        widget_ = static_cast<TWindowWidget*>(kept_.data());
    } else {
        FreeWidget(static_cast<TWindowWidget*>(kept_.data()));
        widget_ = CreateWidget(params);
    }
    kept_ = old;
    keptPopup_ = oldPopup;
    popup_ = params.Popup;
    old->hide();
    bounds_ = params.Bounds;
    widget_->setGeometry(bounds_.ToQRect());
    widget_->setCursor(old->cursor());
    if (!region_.isEmpty())
        widget_->setMask(region_);
    else
        widget_->clearMask();
    RecalcClient();
    if (wasCaptured && widget_->isVisible()) widget_->grabMouse();
}

void TWindow::DestroyKeptHandle()
{
    FreeWidget(static_cast<TWindowWidget*>(kept_.data()));
    kept_ = nullptr;
}

void TWindow::DetachHandle()
{
    if (detached_) return;
    detached_ = true;
    if (captureOwner == this) {
        captureOwner = nullptr;
        if (widget_) widget_->releaseMouse();
    }
    if (trackedWindow == this) trackedWindow = nullptr;
    for (int qtId : std::as_const(timers_)) killTimer(qtId);
    timers_.clear();
    timerIntervals_.clear();
    if (widget_) widget_->Detach();
    if (kept_) static_cast<TWindowWidget*>(kept_.data())->Detach();
}

QWidget* TWindow::Handle() const
{
    return widget_;
}

// ---------------------------------------------------------------- geometry

TRect TWindow::WindowRect() const
{
    if (popup_ || !widget_ || !widget_->parentWidget()) return bounds_;
    const QPoint origin = widget_->parentWidget()->mapToGlobal(QPoint(bounds_.Left, bounds_.Top));
    return TRect::Bounds(origin.x(), origin.y(), bounds_.Width(), bounds_.Height());
}

TPoint TWindow::ClientToScreen(const TPoint& p) const
{
    return WindowRect().TopLeft() + client_.TopLeft() + p;
}

TPoint TWindow::ScreenToClient(const TPoint& p) const
{
    return p - WindowRect().TopLeft() - client_.TopLeft();
}

void TWindow::RecalcClient()
{
    TRect r(0, 0, bounds_.Width(), bounds_.Height());
    NCCalcSize(r);
    client_ = r;
}

void TWindow::SetWindowPos(const TRect& bounds, unsigned flags)
{
    if (detached_) return;
    TRect r = bounds;
    if (flags & SWP_NOMOVE) r = TRect::Bounds(bounds_.Left, bounds_.Top, r.Width(), r.Height());
    if (flags & SWP_NOSIZE) r = TRect::Bounds(r.Left, r.Top, bounds_.Width(), bounds_.Height());
    QPointer<TWindow> self(this);
    WindowPosChanging(r);
    if (!self || detached_) return;
    const bool sized = r.Size() != bounds_.Size();
    const QSize oldClient = client_.Size();
    bounds_ = r;
    if (widget_) widget_->setGeometry(r.ToQRect());
    if (sized || (flags & SWP_FRAMECHANGED)) RecalcClient();
    if (widget_ && (flags & SWP_SHOWWINDOW)) widget_->show();
    if (widget_ && (flags & SWP_HIDEWINDOW)) widget_->hide();
    if (sized || client_.Size() != oldClient) {
        Size(client_.Width(), client_.Height());
        if (!self || detached_) return;
    }
    if (flags & SWP_FRAMECHANGED) Invalidate();
    WindowPosChanged();
}

void TWindow::FrameChanged()
{
    SetWindowPos(bounds_, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
}

void TWindow::SetParentWidget(QWidget* parent)
{
    if (!widget_ || popup_ || widget_->parentWidget() == parent) return;
    const bool shown = !widget_->isHidden();
    widget_->setParent(parent);
    widget_->setGeometry(bounds_.ToQRect());
    widget_->setVisible(shown && parent);
}

bool TWindow::Visible() const
{
    return widget_ && !widget_->isHidden();
}

void TWindow::Show()
{
    if (widget_ && !detached_) widget_->show();
}

void TWindow::Hide()
{
    if (widget_) widget_->hide();
}

void TWindow::SetCursorShape(TCursor cursor)
{
    if (widget_) widget_->setCursor(TControl::CursorToQCursor(cursor));
}

// ---------------------------------------------------------------- painting

void TWindow::Invalidate()
{
    if (widget_) widget_->update();
}

void TWindow::InvalidateRect(const TRect& clientRect)
{
    if (widget_) widget_->update(clientRect.Offset(client_.TopLeft()).ToQRect());
}

void TWindow::InvalidateFrame()
{
    if (!widget_) return;
    widget_->update(QRegion(0, 0, bounds_.Width(), bounds_.Height()) - QRegion(client_.ToQRect()));
}

void TWindow::UpdateWindow()
{
    if (widget_ && widget_->isVisible()) widget_->repaint();
}

QImage TWindow::Snapshot()
{
    QImage image(std::max(1, bounds_.Width()), std::max(1, bounds_.Height()), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        PaintAll(p);
    }
    if (!region_.isEmpty()) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!region_.contains(QPoint(x, y))) image.setPixel(x, y, 0);
    }
    return image;
}

void TWindow::PaintAll(QPainter& p)
{
    const QRegion nonClient = QRegion(0, 0, bounds_.Width(), bounds_.Height()) - QRegion(client_.ToQRect());
    if (!nonClient.isEmpty()) {
        p.save();
        p.setClipRegion(nonClient, Qt::IntersectClip);
        NCPaint(p);
        p.restore();
    }
    if (client_.IsEmpty()) return;
    p.save();
    p.setClipRect(client_.ToQRect(), Qt::IntersectClip);
    p.translate(client_.Left, client_.Top);
    Paint(p);
    p.restore();
}

void TWindow::SetWindowRgn(const QRegion& region)
{
    region_ = region;
    if (!widget_) return;
    if (region.isEmpty())
        widget_->clearMask();
    else
        widget_->setMask(region);
}

void TWindow::NCCalcSize(TRect& /*rect*/) {}

int TWindow::NCHitTest(const TPoint& screen)
{
    const TPoint local = screen - WindowRect().TopLeft();
    if (client_.Contains(local)) return HTCLIENT;
    return TRect(0, 0, bounds_.Width(), bounds_.Height()).Contains(local) ? HTBORDER : HTNOWHERE;
}

void TWindow::NCPaint(QPainter& p)
{
    FillRectFace(p, {0, 0, bounds_.Width(), bounds_.Height()});
}

void TWindow::Paint(QPainter& p)
{
    FillRectFace(p, ClientRect());
}

void TWindow::FillRectFace(QPainter& p, const TRect& r)
{
    p.fillRect(r.ToQRect(), ColorToQColor(clBtnFace));
}

// ---------------------------------------------------------------- capture

void TWindow::SetCapture()
{
    if (detached_ || captureOwner == this) return;
    QPointer<TWindow> previous = captureOwner;
    captureOwner = this;
    if (widget_ && widget_->isVisible()) widget_->grabMouse();
    if (previous) previous->CaptureChanged();
}

void TWindow::ReleaseCapture()
{
    QPointer<TWindow> previous = captureOwner;
    if (!previous) return;
    captureOwner = nullptr;
    if (previous->widget_) previous->widget_->releaseMouse();
    previous->CaptureChanged();
}

TWindow* TWindow::GetCapture()
{
    return captureOwner;
}

// ---------------------------------------------------------------- timers and posted calls

void TWindow::SetTimer(int id, int intervalMs)
{
    if (detached_) return;
    KillTimer(id);
    timers_.insert(id, startTimer(std::max(0, intervalMs)));
    timerIntervals_.insert(id, std::max(0, intervalMs));
}

void TWindow::KillTimer(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    killTimer(it.value());
    timers_.erase(it);
    timerIntervals_.remove(id);
}

void TWindow::timerEvent(QTimerEvent* event)
{
    for (auto it = timers_.cbegin(); it != timers_.cend(); ++it) {
        if (it.value() != event->timerId()) continue;
        const int id = it.key();
        RunGuarded(this, [this, id] { Timer(id); });
        return;
    }
}

void TWindow::PostCall(std::function<void()> fn)
{
    QMetaObject::invokeMethod(
        this,
        [this, fn = std::move(fn)] {
            if (!detached_) RunGuarded(this, fn);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- mouse leave

void TWindow::TrackMouseLeave()
{
    if (detached_ || trackedWindow == this) return;
    if (TWindow* previous = trackedWindow) previous->EndMouseLeaveTracking();
    trackedWindow = this;
    LeavePoll()->start();
}

void TWindow::EndMouseLeaveTracking()
{
    if (trackedWindow != this) return;
    trackedWindow = nullptr;
    LeavePoll()->stop();
    MouseLeave();
}

bool TWindow::IsMouseLeaveTracked() const
{
    return trackedWindow == this;
}

QWidget* TWindow::WindowFromPoint(const TPoint& screen)
{
    if (windowFromPoint) return windowFromPoint(screen);
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::widgetAt(screen) : nullptr;
}

void TWindow::SetWindowFromPointFunction(std::function<QWidget*(const TPoint&)> fn)
{
    windowFromPoint = std::move(fn);
}

TWindow* TWindow::FromWidget(QWidget* widget)
{
    auto* w = dynamic_cast<TWindowWidget*>(widget);
    return w ? w->Owner() : nullptr;
}

// ---------------------------------------------------------------- the bridge

bool TWindow::Dispatch(QEvent* event)
{
    if (detached_) return false;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(widget_);
        PaintAll(p);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        DispatchMouse(event);
        event->accept();
        return true;
    case QEvent::Leave: EndMouseLeaveTracking(); return false;
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        int key = QtKeyToVK(ke->key(), ke->modifiers());
        KeyDown(key, ShiftStateFromQt(ke->modifiers()));
        return true;
    }
    case QEvent::Wheel:
    case QEvent::ContextMenu: return true;
    default: return false;
    }
}

void TWindow::DispatchMouse(QEvent* event)
{
    auto* me = static_cast<QMouseEvent*>(event);
    const TPoint screen = me->globalPosition().toPoint();
    const TPoint client = me->position().toPoint() - client_.TopLeft();
    const TShiftState shift = ShiftStateFromMouse(me);
    QPointer<TWindow> self(this);
    const int hit = captureOwner == this ? HTCLIENT : NCHitTest(screen);
    if (!self || detached_) return;
    const QEvent::Type type = event->type();
    const Qt::MouseButton button = me->button();
    if (hit == HTCLIENT) {
        if (type == QEvent::MouseMove)
            MouseMove(client, shift);
        else if (button == Qt::LeftButton && type == QEvent::MouseButtonPress)
            LButtonDown(client, shift);
        else if (button == Qt::LeftButton && type == QEvent::MouseButtonDblClick)
            doubleClicks_ ? LButtonDblClk(client, shift | ssDouble) : LButtonDown(client, shift);
        else if (button == Qt::LeftButton && type == QEvent::MouseButtonRelease)
            LButtonUp(client, shift);
        else if (button == Qt::RightButton && type != QEvent::MouseButtonRelease)
            RButtonDown(client, shift);
        else if (button == Qt::RightButton)
            RButtonUp(client, shift);
        return;
    }
    if (type == QEvent::MouseMove)
        NCMouseMove(hit, screen);
    else if (button == Qt::LeftButton && type == QEvent::MouseButtonPress)
        NCLButtonDown(hit, screen);
    else if (button == Qt::LeftButton && type == QEvent::MouseButtonDblClick)
        doubleClicks_ ? NCLButtonDblClk(hit, screen) : NCLButtonDown(hit, screen);
    else if (button == Qt::LeftButton && type == QEvent::MouseButtonRelease)
        NCLButtonUp(hit, screen);
}
