#pragma once
// The frame of a sizable drop-down window, computed from numbers alone. Inside a 1-pixel
// border, a strip on the side away from the combo's edit box holds the size grip in the outer
// corner and a close button at the other end; a line in the border colour parts the strip from
// the client area. The corner the grip sits in follows from where the drop-down lies beside
// the edit box; the grip drag keeps the opposite corner in place.
#include "WinTypes.h"

#include <QSize>
#include <functional>

// Where the size grip sits.
enum TdxCorner : unsigned char {
    dxcTopLeft = 0,
    dxcTopRight = 1,
    dxcBottomLeft = 2,
    dxcBottomRight = 3,
};

constexpr bool dxIsTopCorner(TdxCorner corner)
{
    return corner == dxcTopLeft || corner == dxcTopRight;
}
constexpr bool dxIsRightCorner(TdxCorner corner)
{
    return corner == dxcTopRight || corner == dxcBottomRight;
}

// The strip's height, its dividing line included.
int dxDropDownNCHeight();
// A drop-down below its edit box gets a bottom corner, one above it a top corner; one that
// reaches right of the edit box's left edge a right corner, else a left corner. Both
// rectangles in one coordinate system.
TdxCorner GetCornerForRects(const TRect& editRect, const TRect& dropDownRect);
// The sizing hit-test code of a grip corner (HTTOPLEFT ... HTBOTTOMRIGHT).
int GetHitTestByCorner(TdxCorner corner);

// The grip's box in r's corner (width x height), and the part of it the ridges are drawn in:
// the box less a 2-pixel band along its two outer sides.
TRect dxSizeGripBox(const TRect& r, TdxCorner corner, int width, int height);
TRect dxSizeGripFace(const TRect& box, TdxCorner corner);
// A close button of the given size in r: at r's left end for a right corner, else at its
// right end, centred on r's height (a pixel lower for bottom corners); the outer rectangle of
// its edge. The cross goes inside the edge and a second frame, a pixel lower on buttons of
// other than 22 pixels.
TRect dxCloseButtonBounds(const TRect& r, TdxCorner corner, int size);
TRect dxCloseGlyphRect(const TRect& button, int size);

// The smallest window a grip drag leaves.
constexpr int dxDropDownMinWidth = 100;
constexpr int dxDropDownMinHeight = 100;

struct TdxDropDownFrameLayout {
    // The window's size, the grip's corner and whether the strip shows; the metrics are the
    // platform's unless a caller sets others.
    TdxDropDownFrameLayout(int width, int height, TdxCorner corner, bool showStrip);

    int Width = 0;
    int Height = 0;
    TdxCorner Corner = dxcBottomRight;
    bool ShowStrip = false;
    int StripHeight = 0;  // dxDropDownNCHeight
    int GripWidth = 0;    // SM_CXVSCROLL
    int GripHeight = 0;   // SM_CYHSCROLL
    int ButtonSize = 0;   // SM_CXSIZE

    // All in window coordinates.
    TRect Window() const { return {0, 0, Width, Height}; }
    TRect Client() const;
    // The strip inside the border, its dividing line included; empty without the strip.
    TRect Strip() const;
    // The strip's line next to the client area.
    TRect StripLine() const;
    // The strip less its line: where the grip, the button and the face go.
    TRect StripFace() const;
    // The grip's box in the strip's outer corner, and where its ridges go.
    TRect GripBox() const;
    TRect GripFace() const;
    // The close button at the strip's other end, placed in the strip grown by 2 and kept in
    // the window.
    TRect CloseButton() const;
    // Where the cross is drawn, and the part of the button it may paint.
    TRect CloseGlyph() const;
    TRect CloseGlyphClip() const;
};

// The window rectangle a drag of the grip in corner by (dx, dy) leaves from start: the grip's
// corner follows the pointer, the opposite corner stays, and the window keeps the minimum
// size.
TRect dxDropDownSizingRect(const TRect& start, TdxCorner corner, int dx, int dy);

// Brings a window's client area to wanted by resizing the window by the difference, as often
// as it takes for a frame that changes with the size, but at most three times, and never
// below minWindow (the frame may never let the client match: the loop still ends). Returns
// whether the client matched.
bool dxSizeClientTo(QSize wanted, QSize minWindow, const std::function<QSize()>& windowSize,
                    const std::function<QSize()>& clientSize, const std::function<void(QSize)>& resize);
