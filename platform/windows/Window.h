#pragma once
// A window of the desktop platform on Qt: a component that owns its QWidget, created from
// a create-params record, and receives Qt's events as calls named after the window
// messages (NCCalcSize, NCHitTest, NCPaint, Paint, LButtonDown, ... ). The bridge in
// Window.cpp is the only place that sees a QEvent (stock widgets that our windows place take
// theirs through NativeWidget.h); tests call the handlers directly.
//
// - Non-client area: NCCalcSize turns the window rectangle into the client rectangle;
//   one paint paints the non-client part (NCPaint, window coordinates) and then the
//   client part (Paint, client coordinates, clipped to the client rectangle).
// - Mouse: every mouse event is hit-tested through NCHitTest; HTCLIENT gives the client
//   messages (client coordinates), anything else the NC messages (screen coordinates).
//   While a window holds the capture it gets client messages wherever the pointer is.
// - Capture: one logical owner for the whole program (SetCapture/ReleaseCapture over
//   grabMouse); the window that loses it gets CaptureChanged, also when the application
//   loses activation.
// - Placement: every move or resize goes through SetWindowPos, which calls
//   WindowPosChanging (may change the rectangle), then NCCalcSize and Size when the size
//   changed, then WindowPosChanged.
// - Regions are the widget's mask. Timers have per-window ids. Posted calls run later,
//   only while the window is alive.
// - Mouse leave: one tracked window at a time; it gets MouseLeave when Qt reports that the
//   pointer left it, or when a 50 ms poll finds another window under the cursor. The
//   window under the cursor is a replaceable function (tests inject it).
// - Popup windows are frameless tool windows owned by their form's window that never take
//   activation or focus; no window of this layer accepts the focus.
//
// Destruction: a subclass whose teardown calls its own virtuals does that teardown in its
// destructor (most derived first); the base destructor calls no virtual and sends nothing.
#include "Classes.h"
#include "ControlTypes.h"
#include "Keys.h"
#include "WinTypes.h"

#include <QHash>
#include <QPointer>
#include <QRegion>
#include <functional>

class QEvent;
class QPainter;
class QWidget;
class QImage;
class QTimerEvent;
class TWindowWidget;

struct TCreateParams {
    // Placement: in the parent widget's coordinates for a child window, on the screen for
    // a popup window.
    TRect Bounds;
    // A child window lives inside this widget.
    QWidget* Parent = nullptr;
    // A popup window stays above this widget's window (its form); may be null.
    QWidget* Owner = nullptr;
    // A top-level frameless tool window instead of a child window.
    bool Popup = false;
    // A popup that the window manager leaves alone (menus): never activated, placed as asked.
    bool Menu = false;
    // Double clicks arrive as LButtonDblClk; without, the second press is an LButtonDown.
    bool DoubleClicks = true;
};

class TWindow : public TComponent {
    Q_OBJECT
public:
    TWindow(TComponent* owner, const TCreateParams& params);
    ~TWindow() override;

    QWidget* Handle() const;
    bool IsPopup() const { return popup_; }

    // --- geometry
    // In the parent's coordinates (screen coordinates for a popup).
    TRect BoundsRect() const { return bounds_; }
    TRect WindowRect() const;  // on the screen
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    // The client rectangle in window coordinates (NCCalcSize's answer).
    TRect ClientBounds() const { return client_; }
    // (0, 0, client width, client height).
    TRect ClientRect() const { return {0, 0, client_.Width(), client_.Height()}; }
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;
    // The one placement path (SWP_NOMOVE, SWP_NOSIZE, SWP_FRAMECHANGED, SWP_SHOWWINDOW,
    // SWP_HIDEWINDOW).
    void SetWindowPos(const TRect& bounds, unsigned flags = 0);
    void SetBounds(int left, int top, int width, int height) { SetWindowPos(TRect::Bounds(left, top, width, height)); }
    // Runs NCCalcSize again (SetWindowPos with SWP_FRAMECHANGED) and repaints.
    void FrameChanged();
    // The widget's Qt parent: a child window moves into another widget.
    void SetParentWidget(QWidget* parent);
    // Switches to another handle made from params (a child of params.Parent, or a popup)
    // placed at params.Bounds, and keeps the current one hidden. A kept handle of the same
    // kind (popup, or child of the same widget) is taken back instead of making a new one;
    // a kept handle of another kind goes. No widget is ever re-parented, so a shown handle
    // is never hidden by Qt behind our back.
    void SwapHandle(const TCreateParams& params);
    // Frees the kept handle, if any.
    void DestroyKeptHandle();
    bool HasKeptHandle() const { return kept_ != nullptr; }

    bool Visible() const;
    void Show();
    void Hide();
    void SetDoubleClicks(bool value) { doubleClicks_ = value; }
    void SetCursorShape(TCursor cursor);

    // --- painting
    void Invalidate();
    // A part of the client area.
    void InvalidateRect(const TRect& clientRect);
    void InvalidateFrame();
    // Paints the invalid parts now.
    void UpdateWindow();
    // The whole window painted into an image (non-client and client parts).
    QImage Snapshot();
    // Empty: no region (the whole rectangle).
    void SetWindowRgn(const QRegion& region);
    QRegion WindowRgn() const { return region_; }

    // --- capture
    void SetCapture();
    static void ReleaseCapture();
    static TWindow* GetCapture();

    // --- timers and posted calls
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    bool TimerActive(int id) const { return timers_.contains(id); }
    // The interval a running timer was set with (0 when it is not running).
    int TimerInterval(int id) const { return timerIntervals_.value(id, 0); }
    // Runs fn from the event loop, unless the window is gone by then.
    void PostCall(std::function<void()> fn);

    // --- mouse leave
    void TrackMouseLeave();
    // Ends tracking of this window and sends it MouseLeave (when it was tracked).
    void EndMouseLeaveTracking();
    bool IsMouseLeaveTracked() const;
    // The deepest visible widget at a screen point; replaceable for tests (an empty
    // function restores the real one).
    static QWidget* WindowFromPoint(const TPoint& screen);
    static void SetWindowFromPointFunction(std::function<QWidget*(const TPoint&)> fn);
    // The window of this layer a widget belongs to (its own widget), or none.
    static TWindow* FromWidget(QWidget* widget);
    // While a button pressed in another window is held, moves and the release over this
    // window come here (the input hooks re-target them) instead of to the pressed window.
    virtual bool TakesDraggedMouse() const { return false; }

    // --- message handlers
    // rect: the window rectangle in window coordinates; leaves the client rectangle.
    virtual void NCCalcSize(TRect& rect);
    // HTCLIENT in the client rectangle, HTBORDER elsewhere in the window, else HTNOWHERE.
    virtual int NCHitTest(const TPoint& screen);
    // Window coordinates; clipped to the part outside the client rectangle. Fills it with
    // the button face.
    virtual void NCPaint(QPainter& p);
    // Client coordinates, clipped to the client rectangle. Fills it with the button face.
    virtual void Paint(QPainter& p);
    virtual void LButtonDown(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void LButtonUp(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void LButtonDblClk(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void RButtonDown(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void RButtonUp(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void MouseMove(const TPoint& /*client*/, TShiftState /*shift*/) {}
    virtual void NCLButtonDown(int /*hitTest*/, const TPoint& /*screen*/) {}
    virtual void NCLButtonUp(int /*hitTest*/, const TPoint& /*screen*/) {}
    virtual void NCLButtonDblClk(int /*hitTest*/, const TPoint& /*screen*/) {}
    virtual void NCMouseMove(int /*hitTest*/, const TPoint& /*screen*/) {}
    virtual void MouseLeave() {}
    // key may be set to 0 to swallow it.
    virtual void KeyDown(int& /*key*/, TShiftState /*shift*/) {}
    virtual void KeyUp(int& /*key*/, TShiftState /*shift*/) {}
    virtual void Size(int /*clientWidth*/, int /*clientHeight*/) {}
    virtual void WindowPosChanging(TRect& /*bounds*/) {}
    virtual void WindowPosChanged() {}
    virtual void Timer(int /*id*/) {}
    virtual void CaptureChanged() {}

protected:
    // Stops every message: the subclass's teardown has begun. Non-virtual, idempotent.
    void DetachHandle();
    bool HandleDetached() const { return detached_; }

private:
    friend class TWindowWidget;
    // The bridge.
    bool Dispatch(QEvent* event);
    void DispatchMouse(QEvent* event);
    void PaintAll(QPainter& p);
    void RecalcClient();
    void FillRectFace(QPainter& p, const TRect& r);
    void timerEvent(QTimerEvent* event) override;
    TWindowWidget* CreateWidget(const TCreateParams& params);
    static void FreeWidget(TWindowWidget* w);

    // Guarded: a parent widget freed first takes this one with it.
    QPointer<TWindowWidget> widget_;
    // Guarded: the widget a kept child handle lives in may free it first.
    QPointer<QObject> kept_;
    bool keptPopup_ = false;
    bool popup_ = false;
    bool doubleClicks_ = true;
    bool detached_ = false;
    TRect bounds_;
    TRect client_;
    QRegion region_;
    QHash<int, int> timers_;  // our id -> Qt timer id
    QHash<int, int> timerIntervals_;
};
