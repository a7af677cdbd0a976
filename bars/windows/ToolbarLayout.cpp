// Toolbar geometry. Everything is worked out in "along" (the direction items follow each
// other: X for a horizontal bar, Y for a vertical one) and "across" terms and turned into
// X and Y at the end.
#include "ToolbarLayout.h"

#include "SysParams.h"

#include <algorithm>

namespace toolbarlayout {

namespace {

int Along(const TItem& item, bool vertical)
{
    return vertical ? item.Height : item.Width;
}
int Across(const TItem& item, bool vertical)
{
    return vertical ? item.Width : item.Height;
}
int& Along(TSize& size, bool vertical)
{
    return vertical ? size.Y : size.X;
}
int& Across(TSize& size, bool vertical)
{
    return vertical ? size.X : size.Y;
}
int Across(const TSize& size, bool vertical)
{
    return vertical ? size.X : size.Y;
}

bool IsHorizontalStyle(TdxBarDockingStyle style)
{
    return style == dsTop || style == dsBottom;
}
bool IsVerticalStyle(TdxBarDockingStyle style)
{
    return style == dsLeft || style == dsRight;
}

// The gap before an item: a group start that is not the first thing in its row.
int GapBefore(const TBar& bar, const TItem& item, int pos)
{
    return item.BeginGroup && pos > 0 ? bar.BeginGroupSize : 0;
}

// An item's box before it is turned into client co-ordinates.
struct TSpan {
    int Along = 0, Across = 0, Length = 0, Thickness = 0;
    bool Placed = false;
};

// Sums the items' lengths along one axis (width when horizontal) with their group gaps,
// stopping at the first item after the first that passes limit.
struct TMeasure {
    int Length = 0;
    int Thickness = 0;
    bool Fits = true;
    bool Any = false;
};

TMeasure MeasureLine(const TBar& bar, const std::vector<TItem>& items, bool alongHeight, int limit)
{
    TMeasure m;
    for (const TItem& item : items) {
        const int len = Along(item, alongHeight);
        const int gap = GapBefore(bar, item, m.Length);
        if (m.Any && m.Length + gap + len > limit) {
            m.Fits = false;
            break;
        }
        m.Length += gap + len;
        m.Thickness = std::max(m.Thickness, Across(item, alongHeight));
        m.Any = true;
    }
    return m;
}

int Widest(const std::vector<TItem>& items, bool heights, int standard)
{
    if (items.empty()) return standard;
    int widest = 0;
    for (const TItem& item : items) widest = std::max(widest, heights ? item.Height : item.Width);
    return widest;
}

int SumWithGaps(const TBar& bar, const std::vector<TItem>& items, bool heights)
{
    int pos = 0;
    for (const TItem& item : items) pos += GapBefore(bar, item, pos) + (heights ? item.Height : item.Width);
    return pos;
}

// GetMinWidth (heights false) and GetMinHeight (heights true).
int MinExtent(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, bool heights)
{
    const bool acrossStyle = heights ? IsHorizontalStyle(style) : IsVerticalStyle(style);
    const int standard = heights ? bar.StandardHeight : bar.StandardWidth;
    const int buttons = bar.HasCaptionButtons ? (heights ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth) : 0;
    int extent;
    if (acrossStyle || bar.Wrapping()) {
        extent = std::max(Widest(items, heights, standard), buttons);
    } else {
        const std::vector<TItem> first = VisibleUnderLimit(items, bar.UsesRecentItems ? 1 : -1);
        extent = (first.empty() ? standard : (heights ? first.front().Height : first.front().Width)) + buttons;
    }
    const bool dockedAlong = heights ? IsVerticalStyle(bar.Style) : IsHorizontalStyle(bar.Style);
    if (dockedAlong && bar.MarkExists) extent += MarkRoom;
    return extent;
}

// GetMaxWidth (heights false) and GetMaxHeight (heights true).
int MaxExtent(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, bool heights)
{
    const bool alongStyle = heights ? IsVerticalStyle(style) : IsHorizontalStyle(style);
    const int buttons = bar.HasCaptionButtons ? (heights ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth) : 0;
    int extent;
    if (alongStyle || bar.Wrapping()) {
        extent = SumWithGaps(bar, items, heights) + buttons;
        const bool dockedAlong = heights ? IsVerticalStyle(bar.Style) : IsHorizontalStyle(bar.Style);
        if (dockedAlong && bar.MarkExists) extent += MarkRoom;
    } else {
        extent = std::max(items.empty() ? 0 : Widest(items, heights, 0), buttons);
    }
    return std::max(MinExtent(bar, items, style, heights), extent);
}

// The single-line measure of a bar docked along the asked axis, with the recent-items loop:
// the limit rises from 1 while the items still fit, and never past the number of items (all
// of them fitting is the usual case).
TSizeResult SingleLineSize(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int extent,
                           bool alongHeight)
{
    TSizeResult result;
    result.Size = {GetMinWidth(bar, items, style), GetMinHeight(bar, items, style)};
    const int buttonsAlong =
        bar.HasCaptionButtons ? (alongHeight ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth) : 0;
    const int buttonsAcross =
        bar.HasCaptionButtons ? (alongHeight ? bar.CaptionButtonsWidth : bar.CaptionButtonsHeight) : 0;
    const int mark = bar.MarkExists ? MarkRoom : 0;
    const int limit = std::max(extent, Along(result.Size, alongHeight)) - buttonsAlong - mark;

    TMeasure measure;
    if (bar.UsesRecentItems && !items.empty()) {
        const int count = int(items.size());
        int fitting = 1;
        measure = MeasureLine(bar, VisibleUnderLimit(items, 1), alongHeight, limit);
        for (int next = 2; next <= count; ++next) {
            const TMeasure m = MeasureLine(bar, VisibleUnderLimit(items, next), alongHeight, limit);
            if (!m.Fits) break;
            fitting = next;
            measure = m;
        }
        result.RecentLimit = fitting;
    } else {
        measure = MeasureLine(bar, items, alongHeight, limit);
    }
    int& along = Along(result.Size, alongHeight);
    int& across = Across(result.Size, alongHeight);
    along = std::max(along, measure.Length + mark);
    if (measure.Any) across = measure.Thickness;
    if (bar.HasCaptionButtons) {
        along += buttonsAlong;
        across = std::max(across, buttonsAcross);
    }
    return result;
}

// CalcSizeForWidth (alongHeight false) and CalcSizeForHeight (alongHeight true).
TSizeResult SizeFor(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int extent,
                    bool alongHeight)
{
    const std::vector<TItem> all = VisibleUnderLimit(items, -1);
    if (bar.Wrapping() && bar.Vertical() != alongHeight) {
        // Wrapping across the asked axis: ask for less and less of the other extent while the
        // result stays below what is asked, until the other extent no longer shrinks.
        const int start = alongHeight ? GetMaxWidth(bar, items, style) : GetMaxHeight(bar, items, style);
        TSizeResult size = SizeFor(bar, items, style, start, !alongHeight);
        for (int guard = 0; guard <= start && Along(size.Size, alongHeight) < extent; ++guard) {
            const int other = Across(size.Size, alongHeight);
            const TSizeResult next = SizeFor(bar, items, style, other - 1, !alongHeight);
            if (Across(next.Size, alongHeight) >= other) break;
            size = next;
        }
        return size;
    }
    if (bar.Wrapping()) {
        TSizeResult result;
        std::vector<bool> breaks;
        result.Size = CalcWrapSize(bar, all, style != dsNone, extent,
                                   {GetMinWidth(bar, items, style), GetMinHeight(bar, items, style)}, breaks);
        return result;
    }
    if (alongHeight ? IsHorizontalStyle(style) : IsVerticalStyle(style)) {
        TSizeResult result;
        result.Size = alongHeight ? TSize{GetMaxWidth(bar, items, style), GetMinHeight(bar, items, style)}
                                  : TSize{GetMinWidth(bar, items, style), GetMaxHeight(bar, items, style)};
        return result;
    }
    return SingleLineSize(bar, items, style, extent, alongHeight);
}

}  // namespace

std::vector<TItem> VisibleUnderLimit(const std::vector<TItem>& items, int limit)
{
    if (limit < 1) return items;
    std::vector<TItem> shown;
    for (const TItem& item : items)
        if (item.RecentRank < limit) shown.push_back(item);
    return shown;
}

TItemRects CalcItemRects(const TBar& bar, const std::vector<TItem>& visible, int clientWidth, int clientHeight,
                         const std::vector<bool>& rowBreaks)
{
    const bool vertical = bar.Vertical();
    const bool wrapping = bar.Wrapping();
    const int count = int(visible.size());
    const int alongClient = vertical ? clientHeight : clientWidth;
    const int acrossClient = vertical ? clientWidth : clientHeight;

    TItemRects result;
    result.Places.resize(count);
    std::vector<TSpan> spans(count);

    int limit;
    int rowThickness;
    if (wrapping) {
        limit = alongClient - (!bar.Floating() && bar.MarkExists ? MarkRoom : 0);
        rowThickness = 0;
    } else {
        const int buttons = bar.HasCaptionButtons ? (vertical ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth) : 0;
        limit = alongClient - (bar.MarkExists ? MarkRoom : 0) - buttons;
        rowThickness = acrossClient;
    }
    int pos = 0;
    int rowPos = 0;
    int rowStart = 0;
    int last = -1;

    auto finishRow = [&](int rowLast) {
        for (int j = rowStart; j <= rowLast; ++j) {
            if (!spans[j].Placed) continue;
            spans[j].Across += (rowThickness - spans[j].Thickness) / 2;
            result.Places[j].RowThickness = rowThickness;
        }
        rowStart = rowLast + 1;
    };

    for (int i = 0; i < count; ++i) {
        const TItem& item = visible[i];
        const int len = Along(item, vertical);
        const int thick = Across(item, vertical);
        int gap = GapBefore(bar, item, pos);
        const bool forcedBreak = wrapping && i < int(rowBreaks.size()) && rowBreaks[i];
        // A docked line with a mark keeps even its first item behind the mark when the bar is
        // cut shorter than that item.
        const bool mayHide = pos > 0 || (!wrapping && bar.MarkExists);
        if ((mayHide && pos + gap + len > limit) || (forcedBreak && i > rowStart)) {
            if (!wrapping) break;
            result.Places[i - 1].LastInRow = true;
            finishRow(i - 1);
            rowPos += rowThickness + gap;
            pos = 0;
            gap = 0;
            rowThickness = 0;
        }
        TSpan& span = spans[i];
        span.Placed = true;
        span.Along = pos + gap;
        span.Length = len;
        span.Thickness = thick;
        span.Across = wrapping ? rowPos : (acrossClient - thick) / 2;

        const TdxBarItemAlign align = wrapping ? iaLeft : item.Align;
        if (align == iaLeft) {
            pos += gap + len;
        } else {
            const int far = span.Along + span.Length;
            if (align == iaCenter)
                span.Along += (limit - far) / 2;
            else if (align == iaRight)
                span.Along += limit - far;
            else
                span.Length = std::max(limit, span.Along + item.MinLength) - span.Along;
            pos = limit;
            if (i != count - 1) result.Truncated = true;
        }
        result.Places[i].RowThickness = rowThickness;
        rowThickness = std::max(rowThickness, thick);
        last = i;
    }
    if (last >= 0) {
        result.Places[last].LastInRow = true;
        if (wrapping) finishRow(last);
    }

    for (int i = 0; i < count; ++i) {
        const TSpan& s = spans[i];
        if (!s.Placed) continue;
        TRect& r = result.Places[i].Rect;
        if (!vertical) {
            r = {s.Along, s.Across, s.Along + s.Length, s.Across + s.Thickness};
        } else {
            // Wrapping vertical bars fill their columns from the right edge leftwards.
            const int left = wrapping ? clientWidth - s.Across - s.Thickness : s.Across;
            r = {left, s.Along, left + s.Thickness, s.Along + s.Length};
        }
    }
    return result;
}

TRect ItemRect(const TBar& bar, const TPlace& place)
{
    TRect r = place.Rect;
    if (r.IsEmpty()) return {};
    if (bar.Vertical()) {
        r.Left -= (place.RowThickness - r.Width()) / 2;
        r.Right = r.Left + place.RowThickness;
    } else {
        r.Top -= (place.RowThickness - r.Height()) / 2;
        r.Bottom = r.Top + place.RowThickness;
    }
    return r;
}

TSeparator GroupSeparator(const TBar& bar, const TPlace& place, int clientWidth, int clientHeight)
{
    const TRect stored = place.Rect;
    if (stored.IsEmpty()) return {};
    const TRect row = ItemRect(bar, place);
    const int size = bar.BeginGroupSize;
    const int mark = !bar.Floating() && bar.MarkExists ? MarkRoom : 0;
    if (!bar.Vertical()) {
        if (stored.Left > 0) return {{stored.Left - size, row.Top, stored.Left, row.Bottom}, false};
        return {{0, row.Top - size, clientWidth - mark, row.Top}, true};
    }
    if (stored.Top > 0) return {{row.Left, stored.Top - size, row.Right, stored.Top}, true};
    // Columns follow each other from the right edge leftwards: the gap is right of this one.
    return {{row.Right, 0, row.Right + size, clientHeight - mark}, false};
}

TSize CalcWrapSize(const TBar& bar, const std::vector<TItem>& visible, bool docked, int limit, TSize size,
                   std::vector<bool>& rowBreaks)
{
    const bool vertical = bar.Vertical();
    const int count = int(visible.size());
    rowBreaks.assign(count, false);
    limit = std::max(limit, Along(size, vertical));
    if (docked && bar.MarkExists) limit -= MarkRoom;

    int pos = 0;
    int acrossSum = 0;
    int rowThickness = 0;
    int longest = 0;
    struct {
        int index = -1, pos = 0, rowThickness = 0;
    } groupStart;
    bool retrying = false;
    bool beganAtGroup = true;

    // Every going back consumes the remembered group start, so the walk ends; the guard only
    // bounds it against a mistake.
    int guard = 4 * count + 4;
    for (int i = 0; i < count && guard-- > 0; ++i) {
        const TItem& item = visible[i];
        const int len = Along(item, vertical);
        const int thick = Across(item, vertical);
        int gap = 0;
        if (item.BeginGroup && pos > 0) {
            gap = bar.BeginGroupSize;
            groupStart = {i, pos, rowThickness};
        }
        if ((pos > 0 && pos + gap + len > limit) || retrying || (gap > 0 && !beganAtGroup)) {
            rowBreaks[i] = true;
            beganAtGroup = true;
            if (groupStart.index < 0) {
                beganAtGroup = false;
            } else if (retrying) {
                retrying = false;
            } else {
                // Break at the row's last group start instead.
                i = groupStart.index - 1;
                pos = groupStart.pos;
                rowThickness = groupStart.rowThickness;
                retrying = true;
                continue;
            }
            acrossSum += rowThickness + gap;
            longest = std::max(longest, pos);
            pos = len;
            rowThickness = 0;
            groupStart = {};
        } else {
            rowBreaks[i] = false;
            pos += gap + len;
        }
        rowThickness = std::max(rowThickness, thick);
    }
    if (count > 0) {
        Across(size, vertical) = acrossSum + rowThickness;
        if (bar.HasCaptionButtons) {
            const int buttonsAlong = vertical ? bar.CaptionButtonsHeight : bar.CaptionButtonsWidth;
            const int buttonsAcross = vertical ? bar.CaptionButtonsWidth : bar.CaptionButtonsHeight;
            if (pos + buttonsAlong <= limit) {
                pos += buttonsAlong;
                Across(size, vertical) = acrossSum + std::max(rowThickness, buttonsAcross);
            } else {
                Across(size, vertical) += buttonsAcross;
            }
        }
    }
    Along(size, vertical) = std::max({Along(size, vertical), longest, pos});
    return size;
}

int GetMinWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style)
{
    return MinExtent(bar, items, style, false);
}

int GetMinHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style)
{
    return MinExtent(bar, items, style, true);
}

int GetMaxWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style)
{
    return MaxExtent(bar, items, style, false);
}

int GetMaxHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style)
{
    return MaxExtent(bar, items, style, true);
}

TSizeResult CalcSizeForWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int width)
{
    return SizeFor(bar, items, style, width, false);
}

TSizeResult CalcSizeForHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int height)
{
    return SizeFor(bar, items, style, height, true);
}

TRect MarkRect(TdxBarDockingStyle style, bool standardStyle, int clientWidth, int clientHeight)
{
    if (IsVerticalStyle(style)) {
        const int top = clientHeight - MarkRoom;
        return {standardStyle ? clientWidth - 9 : 0, top, clientWidth, top + MarkRoom};
    }
    if (IsHorizontalStyle(style)) return {clientWidth - MarkRoom, 0, clientWidth, standardStyle ? 9 : clientHeight};
    return {};
}

TSize ScaleGrabOffset(TSize size, int grabX, int grabbedWidth, int grabY, int grabbedHeight)
{
    return {grabbedWidth == 0 ? 0 : MulDiv(size.X, grabX, grabbedWidth),
            grabbedHeight == 0 ? 0 : MulDiv(size.Y, grabY, grabbedHeight)};
}

}  // namespace toolbarlayout
