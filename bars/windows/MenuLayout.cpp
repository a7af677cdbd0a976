#include "MenuLayout.h"

#include <algorithm>

namespace menulayout {

int InnerLeft(const TMenu& m)
{
    return m.SideStrip + (m.Flat ? 1 : 2);
}

int InnerRight(const TMenu& m)
{
    return m.ClientWidth - (m.Flat ? 1 : 2);
}

namespace {

int FirstY(const TMenu& m)
{
    if (m.Flat) return 1;
    return m.DetachBar ? 0 : 2;
}

int Limit(const TMenu& m)
{
    return m.ClientHeight - (m.Flat ? 0 : 1) - (m.MarkExists ? m.MenuItemHeight : 0) - 1;
}

}  // namespace

TResult Layout(const TMenu& m, const std::vector<TRow>& rows, bool measure)
{
    TResult r;
    r.Places.resize(rows.size());
    const int n = int(rows.size());
    const bool allRecent = m.RecentCount <= 0;
    const int left = InnerLeft(m), right = InnerRight(m);
    const int limit = Limit(m);
    const int top = std::clamp(m.TopIndex, 0, std::max(0, n - 1));
    int y = FirstY(m);
    int widest = 0;
    bool anyControl = false;
    // The previous shown row's shading; the detach bar counts as a recent row.
    bool prevNotRecent = false;
    for (int i = top; i < n; ++i) {
        const TRow& row = rows[size_t(i)];
        TPlace& place = r.Places[size_t(i)];
        place.NotRecent = m.Shading && !allRecent && row.RecentRank >= m.RecentCount;
        const bool first = i == top;
        place.Boundary = m.Shading && (first ? m.DetachBar && place.NotRecent : place.NotRecent != prevNotRecent);
        int yy = y + (place.Boundary && !m.Flat ? 1 : 0);
        place.Separator = row.BeginGroup && !first && !(top > 0 && i == top + 1);
        if (place.Separator) yy += m.BeginGroupSize;
        const int bottom = yy + row.Height;
        if (!measure && bottom > limit) {
            place.Boundary = place.Separator = place.NotRecent = false;
            break;
        }
        anyControl = true;
        widest = std::max(widest, row.Width);
        place.Rect = TRect(left, yy, right, bottom);
        y = bottom;
        prevNotRecent = place.NotRecent;
        ++r.Shown;
    }
    if (measure) {
        r.Width = anyControl ? widest + m.SideStrip + 6 : 100;
        r.Height = y + ((m.MarkExists || y < 3) ? m.MenuItemHeight : 0) + (m.Flat ? 5 : 4) +
                   (m.DetachBar ? m.DetachBarHeight : 0);
    }
    return r;
}

int TopIndexFor(const TMenu& menu, const std::vector<TRow>& rows, int index)
{
    const int n = int(rows.size());
    if (n == 0) return 0;
    index = std::clamp(index, 0, n - 1);
    TMenu m = menu;
    m.TopIndex = std::clamp(m.TopIndex, 0, n - 1);
    // Above the first real row of a scrolled menu: that row comes just under the up arrow.
    if (m.TopIndex > 0 && index <= m.TopIndex) m.TopIndex = std::max(0, index - 1);
    // At or past the down arrow: scroll one row at a time while the menu still can.
    TResult r = Layout(m, rows, false);
    while (CanScrollDown(m, r, n) && m.TopIndex < n - 1 && index >= m.TopIndex + r.Shown - 1) {
        ++m.TopIndex;
        r = Layout(m, rows, false);
        if (r.Shown == 0) break;
    }
    return m.TopIndex;
}

int LowestTopIndex(const TMenu& menu, const std::vector<TRow>& rows)
{
    const int n = int(rows.size());
    TMenu m = menu;
    m.TopIndex = std::clamp(m.TopIndex, 0, std::max(0, n - 1));
    while (m.TopIndex > 0) {
        --m.TopIndex;
        if (CanScrollDown(m, Layout(m, rows, false), n)) {
            ++m.TopIndex;
            break;
        }
    }
    return m.TopIndex;
}

TRect ExpandBand(const TMenu& m)
{
    if (!m.MarkExists) return {};
    const int bottom = m.ClientHeight - (m.Flat ? 0 : 1) - 1;
    return {InnerLeft(m), bottom - m.MenuItemHeight, InnerRight(m), bottom};
}

TRect UpArrowRow(const TMenu& m, const TResult& r)
{
    if (!CanScrollUp(m) || size_t(m.TopIndex) >= r.Places.size()) return {};
    return r.Places[size_t(m.TopIndex)].Rect;
}

TRect DownArrowRow(const TMenu& m, const TResult& r, int rowCount)
{
    if (!CanScrollDown(m, r, rowCount) || r.Shown == 0) return {};
    const size_t last = size_t(m.TopIndex + r.Shown - 1);
    TRect rect = r.Places[last].Rect;
    if (r.Places[last].Separator) rect.Top -= m.BeginGroupSize;
    rect.Bottom = m.ClientHeight - 2 - (m.MarkExists ? m.MenuItemHeight : 0);
    return rect;
}

// ---------------------------------------------------------------- placement

TPlaced Place(const TPlacement& p)
{
    TPlaced out;
    const TRect& work = p.WorkArea;
    int left = p.Left, top = p.Top, w = p.Width, h = p.Height;
    // Right edge past the work area.
    if (left + w > work.Right) {
        if (p.OwnerWidth == 0) {
            left = work.Right - w;
        } else if (work.Right - left < left - p.OwnerWidth - work.Left) {
            left = left - p.OwnerWidth - w;
            out.FlippedH = true;
        }
    }
    // Left edge before the work area: a flipped menu goes back to the owner's right when
    // there is more room there.
    if (left < work.Left && p.OwnerWidth > 0 && out.FlippedH) {
        const int roomLeft = left + w - work.Left;
        const int rightStart = left + w + p.OwnerWidth;
        const int roomRight = work.Right - rightStart;
        if (roomRight >= roomLeft || (p.PreferRight && roomRight >= w)) {
            left = rightStart;
            out.FlippedH = false;
        }
    }
    left = std::max(work.Left, std::min(left, work.Right - w));
    // Bottom past the work area.
    if (top + h > work.Bottom) {
        if (p.OwnerHeight > 0) {
            const int below = work.Bottom - top;
            const int above = top - p.OwnerHeight - work.Top;
            if (below < above) {
                top = top - p.OwnerHeight - h;
                out.FlippedV = true;
            } else {
                h = below;
            }
        } else if (p.OwnerWidth > 0) {
            top = work.Bottom - h;
        } else if (top - h >= work.Top) {
            top -= h;
            out.FlippedV = true;
        } else {
            top = work.Bottom - h;
        }
    }
    // Top before the work area.
    if (top < work.Top) {
        if (p.PreferDown) {
            if (out.FlippedV && p.OwnerHeight > 0) h -= work.Top - top;
            top = work.Top;
            h = std::min(h, work.Height());
        } else if (p.OwnerHeight > 0) {
            const int belowTop = p.Top;
            if (work.Bottom - belowTop > p.Top - p.OwnerHeight - work.Top) {
                top = belowTop;
                h = std::min(h, work.Bottom - top);
                out.FlippedV = false;
            } else {
                h -= work.Top - top;
                top = work.Top;
            }
        } else {
            top = work.Top;
            h = std::min(h, work.Height());
        }
    }
    // A menu cut to fit still shows its arrows and a row between them.
    if (h < p.Height && h < p.MinScrollHeight) {
        h = std::min(p.MinScrollHeight, p.Height);
        top = std::max(work.Top, std::min(top, work.Bottom - h));
    }
    out.Bounds = TRect::Bounds(left, top, w, h);
    return out;
}

// ---------------------------------------------------------------- opening animation

TAnimationFrames Frames(TAnimation kind, int clientWidth, int clientHeight)
{
    TAnimationFrames f;
    f.Kind = kind;
    f.ClientWidth = clientWidth;
    f.ClientHeight = clientHeight;
    if (kind == TAnimation::Unfold) {
        f.Excess = clientHeight - clientWidth;
        f.Total = f.Excess > 0 ? clientWidth : clientHeight;
        f.Step = 8;
    } else {
        f.Total = clientHeight;
        f.Step = 17;
    }
    f.Total = std::max(0, f.Total);
    return f;
}

QSize FrameSize(const TAnimationFrames& f, int k)
{
    const int along = k * f.Step;
    if (f.Kind == TAnimation::Slide) return {f.ClientWidth, std::min(along, f.ClientHeight)};
    if (f.Excess > 0) return {std::min(along, f.ClientWidth), std::min(f.Excess + along, f.ClientHeight)};
    return {std::min(along - f.Excess, f.ClientWidth), std::min(along, f.ClientHeight)};
}

TRect FrameBounds(const TRect& finalBounds, QSize shownClient, QSize nonClient, bool growLeft, bool growUp)
{
    const int w = shownClient.width() + nonClient.width(), h = shownClient.height() + nonClient.height();
    const int left = growLeft ? finalBounds.Right - w : finalBounds.Left;
    const int top = growUp ? finalBounds.Bottom - h : finalBounds.Top;
    return TRect::Bounds(left, top, w, h);
}

}  // namespace menulayout
