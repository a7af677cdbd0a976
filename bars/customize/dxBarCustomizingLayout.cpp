#include "dxBarCustomizingLayout.h"

#include <algorithm>

TPoint dxBarCentredPlace(const TRect& owner, QSize size, const TRect& workArea)
{
    int x = owner.Left + (owner.Width() - size.width()) / 2;
    int y = owner.Top + (owner.Height() - size.height()) / 2;
    x = std::max(std::min(x, workArea.Right - size.width()), workArea.Left);
    y = std::max(std::min(y, workArea.Bottom - size.height()), workArea.Top);
    return TPoint(x, y);
}

TPoint dxBarNewToolbarPlace(const TRect& window, const TRect& workArea)
{
    int left = window.Left - 50;
    if (left < workArea.Left) left = window.Right + 10;
    int top = window.Top;
    if (top < workArea.Top) top = workArea.Top + 10;
    return TPoint(left, top);
}

TRect dxBarCheckBoxRect(const TRect& line, int checkWidth)
{
    const int textLeft = line.Left + checkWidth;
    return TRect(textLeft - checkWidth + 1, line.Top + 1, textLeft - 1, line.Bottom - 1);
}
