#pragma once
// Geometry and constants of the window layer. A TRect has exclusive right and bottom
// edges: (0, 0, 10, 5) covers columns 0..9 and rows 0..4, and is 10 by 5.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

class QWidget;

using TPoint = QPoint;

// A native window, as a window handle names one. Code that must not know the window
// layer (the toolbar model) passes it on without touching it.
using TNativeWindow = QWidget;

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int left, int top, int right, int bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}

    static constexpr TRect FromQRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
    static constexpr TRect Bounds(int left, int top, int width, int height)
    {
        return {left, top, left + width, top + height};
    }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr QSize Size() const { return {Width(), Height()}; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    // No area: right <= left or bottom <= top.
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // The right column and bottom row are outside.
    constexpr bool Contains(const TPoint& p) const
    {
        return p.x() >= Left && p.x() < Right && p.y() >= Top && p.y() < Bottom;
    }
    constexpr bool Contains(const TRect& r) const
    {
        return r.Left >= Left && r.Top >= Top && r.Right <= Right && r.Bottom <= Bottom;
    }
    constexpr bool Intersects(const TRect& r) const { return !Intersected(r).IsEmpty(); }
    constexpr TRect Intersected(const TRect& r) const
    {
        return {std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right), std::min(Bottom, r.Bottom)};
    }
    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr TRect Offset(const TPoint& d) const { return Offset(d.x(), d.y()); }
    // Grows by dx, dy on each side (shrinks for negative values).
    constexpr TRect Inflated(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    constexpr bool operator==(const TRect&) const = default;
};

// Non-client hit-test results.
enum : int {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTGROWBOX = 4,
    HTMENU = 5,
    HTHSCROLL = 6,
    HTVSCROLL = 7,
    HTMINBUTTON = 8,
    HTMAXBUTTON = 9,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
    HTHELP = 21,
};

// Text drawing flags.
enum : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// Edge drawing: the inner and outer edges, and the sides.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
};

// Placement flags of SetWindowPos.
enum : unsigned {
    SWP_NOSIZE = 0x1,
    SWP_NOMOVE = 0x2,
    SWP_NOZORDER = 0x4,
    SWP_NOACTIVATE = 0x10,
    SWP_FRAMECHANGED = 0x20,
    SWP_SHOWWINDOW = 0x40,
    SWP_HIDEWINDOW = 0x80,
};

// Frame controls (DrawFrameControl): the kind, the part of that kind and its state.
enum : unsigned {
    DFC_CAPTION = 1,
    DFC_SCROLL = 3,
    DFC_BUTTON = 4,
    DFCS_CAPTIONCLOSE = 0x0,
    DFCS_CAPTIONMIN = 0x1,
    DFCS_CAPTIONRESTORE = 0x3,
    DFCS_SCROLLSIZEGRIP = 0x8,
    DFCS_BUTTONCHECK = 0x0,
    DFCS_INACTIVE = 0x100,
    DFCS_PUSHED = 0x200,
    DFCS_CHECKED = 0x400,
    DFCS_TRANSPARENT = 0x800,
    DFCS_FLAT = 0x4000,
};
