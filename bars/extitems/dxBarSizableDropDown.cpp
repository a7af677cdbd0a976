#include "dxBarSizableDropDown.h"

#include "Forms.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarDropDownFrame.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QWidget>

namespace {

TCreateParams DropDownParams(TCustomdxBarCombo* combo)
{
    TCreateParams params;
    params.Bounds = TRect::Bounds(0, 0, dxDropDownMinWidth, dxDropDownMinHeight);
    params.Popup = true;
    TdxBarManager* manager = combo ? combo->BarManager() : nullptr;
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    params.Owner = form ? form->Handle() : nullptr;
    return params;
}

}  // namespace

TdxBarSizableDropDown::TdxBarSizableDropDown(TCustomdxBarCombo* combo)
    : TWindow(combo, DropDownParams(combo)), combo_(combo)
{
    FrameChanged();
}

TdxBarSizableDropDown::~TdxBarSizableDropDown()
{
    Destroying();
    DetachHandle();
}

bool TdxBarSizableDropDown::IsFlat() const
{
    return combo_ && combo_->IsFlat();
}

void TdxBarSizableDropDown::SetAllowResizing(bool value)
{
    if (value == allowResizing_) return;
    allowResizing_ = value;
    FrameChanged();
}

TdxDropDownFrameLayout TdxBarSizableDropDown::FrameLayout() const
{
    return TdxDropDownFrameLayout(Width(), Height(), corner_, allowResizing_);
}

void TdxBarSizableDropDown::SetContent(QWidget* content)
{
    content_ = content;
    if (!content) return;
    content->setParent(Handle());
    content->setGeometry(ClientBounds().ToQRect());
    content->show();
}

void TdxBarSizableDropDown::Drop(QPoint preferred, QSize linkSize, bool vertical)
{
    const TRect area = dxBarGetWorkArea(preferred);
    const QSize size(Width(), Height());
    const QPoint at = dxBarDropDownPosition(preferred, size, linkSize, area.ToQRect(), vertical);
    SetWindowPos(TRect::Bounds(at.x(), at.y(), size.width(), size.height()),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TdxBarSizableDropDown::CloseUp()
{
    QPointer<TdxBarSizableDropDown> self(this);
    if (GetCapture() == this) ReleaseCapture();
    if (!self) return;
    EndTracking();
    SetMouseAbove(false);
    Hide();
}

bool TdxBarSizableDropDown::SetClientSize(QSize size)
{
    return dxSizeClientTo(
        size, QSize(dxDropDownMinWidth, dxDropDownMinHeight), [this] { return QSize(Width(), Height()); },
        [this] { return ClientBounds().Size(); },
        [this](QSize window) { SetWindowPos(TRect::Bounds(0, 0, window.width(), window.height()), SWP_NOMOVE); });
}

// ---------------------------------------------------------------- frame

void TdxBarSizableDropDown::NCCalcSize(TRect& rect)
{
    if (sizing_) {
        // A drag keeps the grip where it took hold of it.
        rect = TdxDropDownFrameLayout(rect.Width(), rect.Height(), corner_, allowResizing_)
                   .Client()
                   .Offset(rect.TopLeft());
        return;
    }
    CalcDropDownNCSize(*this, rect, corner_, allowResizing_, combo_);
}

void TdxBarSizableDropDown::NCPaint(QPainter& p)
{
    TRect close, grip;
    PaintDropDownNC(p, FrameLayout(), IsFlat(), mouseAbove_, closeTracking_, close, grip);
}

int TdxBarSizableDropDown::NCHitTest(const TPoint& screen)
{
    const TPoint local = screen - WindowRect().TopLeft();
    if (GripRect().Contains(local)) return GetHitTestByCorner(corner_);
    // Above the close button only while no other window holds the mouse and none covers it.
    TWindow* capture = GetCapture();
    const bool above = CloseButtonRect().Contains(local) && (!capture || (capture == this && closeTracking_)) &&
                       WindowFromPoint(screen) == Handle();
    SetMouseAbove(above);
    return above ? HTBORDER : TWindow::NCHitTest(screen);
}

void TdxBarSizableDropDown::SetMouseAbove(bool value)
{
    if (value == mouseAbove_) return;
    mouseAbove_ = value;
    if (value) TrackMouseLeave();
    InvalidateFrame();
}

void TdxBarSizableDropDown::MouseLeave()
{
    SetMouseAbove(false);
}

// ---------------------------------------------------------------- the grip and the close button

void TdxBarSizableDropDown::NCLButtonDown(int hitTest, const TPoint& screen)
{
    const TPoint local = screen - WindowRect().TopLeft();
    if (allowResizing_ && hitTest == GetHitTestByCorner(corner_) && GripRect().Contains(local)) {
        sizing_ = true;
        sizingStart_ = screen;
        sizingBounds_ = BoundsRect();
        SetCapture();
        return;
    }
    if (CloseButtonRect().Contains(local)) {
        closeTracking_ = true;
        mouseAbove_ = true;
        SetCapture();
        InvalidateFrame();
    }
}

void TdxBarSizableDropDown::NCMouseMove(int hitTest, const TPoint& /*screen*/)
{
    switch (hitTest) {
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: SetCursorShape(crSizeNWSE); break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: SetCursorShape(crSizeNESW); break;
    default: SetCursorShape(crDefault); break;
    }
}

void TdxBarSizableDropDown::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    if (sizing_) {
        TrackSizing(ClientToScreen(client));
        return;
    }
    if (closeTracking_) SetMouseAbove(CloseButtonRect().Contains(client + ClientBounds().TopLeft()));
}

void TdxBarSizableDropDown::TrackSizing(const TPoint& screen)
{
    const TPoint d = screen - sizingStart_;
    const TRect r = dxDropDownSizingRect(sizingBounds_, corner_, d.x(), d.y());
    if (r == BoundsRect()) return;
    SetWindowPos(r, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void TdxBarSizableDropDown::LButtonUp(const TPoint& client, TShiftState /*shift*/)
{
    QPointer<TdxBarSizableDropDown> self(this);
    if (sizing_) {
        TrackSizing(ClientToScreen(client));
        if (!self) return;
        EndTracking();
        if (GetCapture() == this) ReleaseCapture();
        return;
    }
    if (!closeTracking_) return;
    const bool over = CloseButtonRect().Contains(client + ClientBounds().TopLeft());
    EndTracking();
    if (GetCapture() == this) ReleaseCapture();
    if (!self) return;
    if (over)
        CloseAsChosen();
    else
        InvalidateFrame();
}

void TdxBarSizableDropDown::EndTracking()
{
    sizing_ = false;
    if (!closeTracking_) return;
    closeTracking_ = false;
    InvalidateFrame();
}

void TdxBarSizableDropDown::CaptureChanged()
{
    if (GetCapture() == this) return;
    EndTracking();
}

void TdxBarSizableDropDown::CloseAsChosen()
{
    QPointer<TdxBarSizableDropDown> self(this);
    QPointer<TCustomdxBarCombo> combo = combo_;
    TdxBarItemLink* link = combo ? combo->FindLiveLink() : nullptr;
    QPointer<TdxBarItemControl> control = link ? link->Control() : nullptr;
    QPointer<TCustomdxBarControl> active = dxBarActiveBarControl();
    if (active && dxBarIsBarControlAlive(active)) active->HideAll();
    if (!self || !Visible()) return;
    if (control && control->IsDroppedDown()) control->ControlInactivate(true);
    if (self && Visible() && combo) combo->CloseUp();
    if (self && Visible()) CloseUp();
}

// ---------------------------------------------------------------- placement

void TdxBarSizableDropDown::WindowPosChanging(TRect& bounds)
{
    bounds.Right = std::max(bounds.Right, bounds.Left + dxDropDownMinWidth);
    bounds.Bottom = std::max(bounds.Bottom, bounds.Top + dxDropDownMinHeight);
}

void TdxBarSizableDropDown::WindowPosChanged()
{
    if (content_) content_->setGeometry(ClientBounds().ToQRect());
}
