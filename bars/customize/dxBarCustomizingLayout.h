#pragma once
// The customizing window's geometry, as plain values.
#include "WinTypes.h"

#include <QSize>

// The Close button's width for its caption's text width (mnemonic marks left out).
inline int dxBarCloseButtonWidth(int textWidth)
{
    return textWidth + 49;
}

// Where a window of size first shows: centred on the owner's rectangle, moved inside the work
// area as far as it fits (its top-left corner stays inside when it does not).
TPoint dxBarCentredPlace(const TRect& owner, QSize size, const TRect& workArea);

// Where a new toolbar floats beside the customizing window (window: its rectangle on the
// screen; workArea: that of the monitor at its top-left corner): 50 pixels left of the
// window, or 10 right of it when that is off the work area's left; at the window's top, or
// 10 below the work area's top when that is above it.
TPoint dxBarNewToolbarPlace(const TRect& window, const TRect& workArea);

// The check box of a line of the toolbar list: the check column is checkWidth wide at the
// line's left; the box fills it less a pixel on every side.
TRect dxBarCheckBoxRect(const TRect& line, int checkWidth);

// A point x pixels from the list's left edge lies in the check column of a line starting at
// lineLeft.
inline bool dxBarInCheckColumn(int x, int lineLeft, int checkWidth)
{
    return x - lineLeft < checkWidth;
}
