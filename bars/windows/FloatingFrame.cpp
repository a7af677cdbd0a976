#include "FloatingFrame.h"

#include <algorithm>

namespace floatingframe {

namespace {

constexpr int Shadow = 2;
// The standard look's room between the frame and the client area.
constexpr int PadSide = 4, PadTop = 2, PadBottom = 1;

}  // namespace

int TFloatFrame::NCWidth() const
{
    return 2 * FrameWidth + (Flat ? Shadow : Padded ? 2 * PadSide : 0);
}

int TFloatFrame::NCHeight() const
{
    return CaptionHeight + 2 * FrameHeight + (Flat ? Shadow : Padded ? PadTop + PadBottom : 0);
}

TRect TFloatFrame::Outer(int windowWidth, int windowHeight) const
{
    return {0, 0, windowWidth - (Flat ? Shadow : 0), windowHeight - (Flat ? Shadow : 0)};
}

TRect TFloatFrame::ClientRect(int windowWidth, int windowHeight) const
{
    TRect r = Outer(windowWidth, windowHeight).Inflated(-FrameWidth, -FrameHeight);
    r.Top += CaptionHeight;
    if (!Flat && Padded) r = {r.Left + PadSide, r.Top + PadTop, r.Right - PadSide, r.Bottom - PadBottom};
    r.Right = std::max(r.Left, r.Right);
    r.Bottom = std::max(r.Top, r.Bottom);
    return r;
}

TRect TFloatFrame::CaptionRect(int windowWidth) const
{
    const int right = windowWidth - (Flat ? Shadow : 0) - FrameWidth;
    return {FrameWidth, FrameHeight, std::max(FrameWidth, right), FrameHeight + CaptionHeight};
}

TRect TFloatFrame::CloseButtonRect(int windowWidth) const
{
    if (!ShowsCloseButton) return {};
    const TRect c = CaptionRect(windowWidth);
    return {std::max(c.Left, c.Right - CaptionHeight), c.Top, c.Right, c.Bottom};
}

TRect TFloatFrame::MarkRect(int windowWidth) const
{
    if (!CaptionMark) return {};
    const TRect c = CaptionRect(windowWidth);
    if (!Flat) return {c.Left, c.Top, std::min(c.Right, c.Left + 13), c.Bottom};
    const int right = ShowsCloseButton ? c.Right - CaptionHeight - 1 : c.Right;
    return {std::max(c.Left, right - CaptionHeight), c.Top, std::max(c.Left, right), c.Bottom};
}

TRect TFloatFrame::TextRect(int windowWidth) const
{
    TRect r = CaptionRect(windowWidth);
    if (ShowsCloseButton) r.Right = CloseButtonRect(windowWidth).Left;
    const TRect mark = MarkRect(windowWidth);
    if (mark.IsEmpty())
        r.Left += 2;
    else if (Flat)
        r.Left += 2, r.Right = std::min(r.Right, mark.Left);
    else
        r.Left = mark.Right + 3;
    r.Right = std::max(r.Left, r.Right);
    return r;
}

THit FloatingHitTest(const TFloatFrame& frame, int windowWidth, int windowHeight, const TPoint& local, bool overItem,
                     bool customizing)
{
    const TRect outer = frame.Outer(windowWidth, windowHeight);
    if (!outer.Contains(local)) return {HTNOWHERE, HTNOWHERE};
    // The sizing frame: a corner sizes the edge it lies along.
    const bool top = local.y() < outer.Top + frame.FrameHeight;
    const bool bottom = local.y() >= outer.Bottom - frame.FrameHeight;
    const bool left = local.x() < outer.Left + frame.FrameWidth;
    const bool right = local.x() >= outer.Right - frame.FrameWidth;
    if (top) return {HTTOP, HTTOP};
    if (bottom) return {HTBOTTOM, HTBOTTOM};
    if (left) return {HTLEFT, HTLEFT};
    if (right) return {HTRIGHT, HTRIGHT};
    if (frame.ClientRect(windowWidth, windowHeight).Contains(local)) {
        if (overItem || customizing) return {HTCLIENT, HTCLIENT};
        return {HTCLIENT, HTCAPTION};
    }
    if (!customizing && frame.MarkRect(windowWidth).Contains(local)) return {HTCLIENT, HTCLIENT};
    if (frame.CloseButtonRect(windowWidth).Contains(local)) return {frame.Flat ? HTCLIENT : HTCLOSE, HTCLOSE};
    return {HTCLIENT, HTCAPTION};
}

TRect SizingRect(const TFloatFrame& frame, int edge, const TRect& dragged, const TRect& current, const TRect& workArea,
                 const std::function<TSize(int)>& forWidth, const std::function<TSize(int)>& forHeight)
{
    TRect d = dragged;
    TRect r = current;
    switch (edge) {
    case HTLEFT:
    case HTRIGHT: {
        if (edge == HTLEFT)
            d.Left = std::clamp(d.Left, workArea.Left, std::max(workArea.Left, d.Right));
        else
            d.Right = std::clamp(d.Right, std::min(d.Left, workArea.Right), workArea.Right);
        const TSize s = forWidth(std::max(0, d.Width() - frame.NCWidth()));
        const int width = s.X + frame.NCWidth();
        r = edge == HTLEFT ? TRect(d.Right - width, d.Top, d.Right, 0) : TRect(d.Left, d.Top, d.Left + width, 0);
        r.Bottom = r.Top + s.Y + frame.NCHeight();
        break;
    }
    case HTTOP:
    case HTBOTTOM: {
        if (edge == HTTOP)
            d.Top = std::clamp(d.Top, workArea.Top, std::max(workArea.Top, d.Bottom));
        else
            d.Bottom = std::clamp(d.Bottom, std::min(d.Top, workArea.Bottom), workArea.Bottom);
        const TSize s = forHeight(std::max(0, d.Height() - frame.NCHeight()));
        const int height = s.Y + frame.NCHeight();
        r = edge == HTTOP ? TRect(d.Left, d.Bottom - height, 0, d.Bottom) : TRect(d.Left, d.Top, 0, d.Top + height);
        r.Right = r.Left + s.X + frame.NCWidth();
        break;
    }
    default: break;
    }
    if (r.Top < TopLimit) r = r.Offset(0, TopLimit - r.Top);
    return r;
}

TRect KeepReachable(const TRect& r, const std::vector<TMonitorInfo>& monitors)
{
    for (const TMonitorInfo& m : monitors)
        if (m.WorkArea.Intersects(r)) return r;
    const TRect work = NearestWorkArea(monitors, r);
    if (work.IsEmpty()) return r;
    TRect out = r;
    if (r.Right <= work.Left)
        out = out.Offset(work.Left - r.Left, 0);
    else if (r.Left >= work.Right)
        out = out.Offset(work.Right - r.Right, 0);
    if (r.Bottom <= work.Top)
        out = out.Offset(0, work.Top - r.Top);
    else if (r.Top >= work.Bottom)
        out = out.Offset(0, work.Bottom - r.Bottom);
    return out;
}

TRect DockingRect(const TRect& screenBounds, bool horizontal, int zone)
{
    return screenBounds.Inflated(zone, horizontal ? zone : 0);
}

}  // namespace floatingframe
