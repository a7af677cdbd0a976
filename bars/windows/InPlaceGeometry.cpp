#include "InPlaceGeometry.h"

#include "dxBarItemLink.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace inplace {

int CaptionWidth(int textWidth, bool shows, bool flat)
{
    if (!shows) return 0;
    return textWidth + (flat ? 11 : 6);
}

int TextBoxHeight(int itemHeight)
{
    return itemHeight + 2;
}

int DropDownButtonWidth(bool flat)
{
    return flat ? 11 : 13;
}

TEditSize EditSize(int captionWidth, int linkWidth, int textBoxHeight, int itemHeight)
{
    TEditSize s;
    s.Width = captionWidth + linkWidth;
    s.MinWidth = captionWidth + 20;
    s.Height = captionWidth > 0 ? std::max(textBoxHeight, itemHeight) : textBoxHeight;
    return s;
}

TWidthSide WidthDragSide(const TRect& item, const TPoint& at)
{
    if (item.IsEmpty() || at.y() < item.Top || at.y() >= item.Bottom) return TWidthSide::None;
    if (std::abs(at.x() - item.Right) <= WidthDragZone) return TWidthSide::Right;
    if (std::abs(at.x() - item.Left) <= WidthDragZone) return TWidthSide::Left;
    return TWidthSide::None;
}

int WidthDragWidth(const TRect& item, TWidthSide side, int x, int fixedPart)
{
    const int reach = side == TWidthSide::Left ? item.Right - x : x - item.Left;
    return std::clamp(reach - fixedPart, dxBarMinLinkWidth, dxBarMaxLinkWidth);
}

TRect WidthDragRect(const TRect& item, TWidthSide side, int fixedPart, int width)
{
    TRect r = item;
    if (side == TWidthSide::Left)
        r.Left = item.Right - fixedPart - width;
    else
        r.Right = item.Left + fixedPart + width;
    return r;
}

std::vector<TRect> WidthDragFrame(const TRect& r)
{
    return {{r.Left, r.Top, r.Right, r.Top + 2},
            {r.Left, r.Bottom - 2, r.Right, r.Bottom},
            {r.Left, r.Top + 2, r.Left + 2, r.Bottom - 2},
            {r.Right - 2, r.Top + 2, r.Right, r.Bottom - 2}};
}

TEditParts EditParts(const TRect& r, int captionWidth, bool flat, bool enabled, int buttonWidth)
{
    TEditParts parts;
    TRect rest = r;
    if (captionWidth > 0) {
        const int width = std::min(captionWidth, r.Width());
        parts.Caption = {r.Left, r.Top, r.Left + width, r.Bottom};
        rest.Left += width;
    }
    parts.Frame = rest;
    TRect inner = rest.Inflated(flat ? -1 : -2, flat ? -1 : -2);
    if (buttonWidth > 0) {
        parts.Button = {std::max(inner.Left, inner.Right - buttonWidth), inner.Top, inner.Right, inner.Bottom};
        inner.Right = std::max(inner.Left, parts.Button.Left - 1);
    }
    if (enabled && !inner.IsEmpty()) parts.Edit = inner;
    return parts;
}

TTriangle ComboArrow(const TRect& button)
{
    int w = button.Width() / 2;
    if (w % 2 == 0) ++w;
    const int x = (button.Left + button.Right - w) / 2;
    const int y = (button.Top + button.Bottom - w / 2) / 2;
    return {{x, y}, {x + w - 1, y}, {x + w / 2, y + w / 2}};
}

TListBoxSize ListBoxSize(int dropDownWidth, int linkWidth, int buttonWidth, int scrollBarWidth, int dropDownCount,
                         const std::vector<int>& itemWidths, const std::vector<int>& itemHeights)
{
    TListBoxSize s;
    const int count = int(itemHeights.size());
    const int shown = std::clamp(dropDownCount, 0, count);
    s.ScrollBar = count > std::max(0, dropDownCount);
    int width = dropDownWidth;
    if (width < 1) {
        width = linkWidth - buttonWidth - 4 - (s.ScrollBar ? scrollBarWidth : 0);
        for (int w : itemWidths) width = std::max(width, w);
    }
    s.Width = std::max(0, width) + 4 + (s.ScrollBar ? scrollBarWidth : 0);
    s.Height = 4 + std::accumulate(itemHeights.begin(), itemHeights.begin() + shown, 0);
    return s;
}

int ScrollToShow(int top, int index, int visibleCount, int count)
{
    const int maxTop = std::max(0, count - std::max(1, visibleCount));
    if (index >= 0 && index < count) {
        if (index < top) top = index;
        if (index >= top + visibleCount) top = index - visibleCount + 1;
    }
    return std::clamp(top, 0, maxTop);
}

int HintTextWidth(const TRect& workArea)
{
    return std::max(1, workArea.Width() - 6);
}

TRect HintBounds(const TPoint& at, const QSize& text, const TRect& workArea)
{
    const int w = text.width() + 6, h = text.height() + 6;
    TRect r = TRect::Bounds(at.x(), at.y(), w, h);
    if (r.Right > workArea.Right) r = TRect::Bounds(workArea.Right - w, r.Top, w, h);
    if (r.Bottom > workArea.Bottom) r = TRect::Bounds(r.Left, at.y() - 50, w, h);
    if (r.Left < workArea.Left) r = TRect::Bounds(workArea.Left, r.Top, w, h);
    if (r.Top < workArea.Top) r = TRect::Bounds(r.Left, workArea.Top, w, h);
    return r;
}

}  // namespace inplace
