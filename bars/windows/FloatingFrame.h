#pragma once
// Geometry of a floating toolbar window computed from numbers alone: its non-client frame
// (sizing frame, small caption, close button, caption mark), what a point of it means
// (sizing edge, caption, close button, mark, client), the rectangle an edge drag snaps to,
// and how a floating window is kept within reach of the work areas. The toolbar window
// fills a TFloatFrame from its bar and manager and reads these answers back.
#include "Desktop.h"
#include "WinTypes.h"

#include <functional>
#include <vector>

namespace floatingframe {

// The top of a floating window never goes higher than this.
constexpr int TopLimit = -15;

struct TSize {
    int X = 0;
    int Y = 0;
    bool operator==(const TSize&) const = default;
};

struct TFloatFrame {
    int FrameWidth = 4;  // the sizing frame
    int FrameHeight = 4;
    int CaptionHeight = 15;  // the small caption
    bool Flat = false;       // our own frame and a 2-px shadow at the right and bottom
    bool ShowsCloseButton = true;
    bool CaptionMark = false;  // the "More Buttons" mark in the caption (not the standard style)
    bool Padded = true;        // the standard look's room round the client (windows with a caption)

    // Room outside the client area: left + right and top + bottom.
    int NCWidth() const;
    int NCHeight() const;
    // The window less its shadow, at (0, 0).
    TRect Outer(int windowWidth, int windowHeight) const;
    // The client rectangle in window coordinates.
    TRect ClientRect(int windowWidth, int windowHeight) const;
    TRect CaptionRect(int windowWidth) const;
    // Empty when the bar shows no close button.
    TRect CloseButtonRect(int windowWidth) const;
    // Empty without a caption mark.
    TRect MarkRect(int windowWidth) const;
    // Where the caption text goes (the caption less the close button and the mark).
    TRect TextRect(int windowWidth) const;
    // The window size for a client size.
    TSize WindowSize(TSize client) const { return {client.X + NCWidth(), client.Y + NCHeight()}; }
};

// A hit test answer: what the window answers the platform (HTCLIENT for whatever the window
// handles itself) and the real code it remembers for the press that follows.
struct THit {
    int Answer = HTNOWHERE;
    int Code = HTNOWHERE;
    bool operator==(const THit&) const = default;
};

// What the point means to a floating window. local: window coordinates; overItem: the
// point lies on an item control (which takes the press itself).
THit FloatingHitTest(const TFloatFrame& frame, int windowWidth, int windowHeight, const TPoint& local, bool overItem,
                     bool customizing);

// The rectangle an edge drag leaves: dragged is where the pointer took the moved edge
// (HTLEFT, HTRIGHT, HTTOP or HTBOTTOM) with the other edges where they were; the moved edge
// stops at the work area; forWidth and forHeight give the client size the items allow for
// a client width or height. Any other code keeps current.
TRect SizingRect(const TFloatFrame& frame, int edge, const TRect& dragged, const TRect& current, const TRect& workArea,
                 const std::function<TSize(int)>& forWidth, const std::function<TSize(int)>& forHeight);

// A floating window that meets no work area is brought back to the work area of the
// monitor nearest to it: wholly left of it to its left edge, wholly above to its top,
// wholly right to end at its right edge, wholly below to end at its bottom.
TRect KeepReachable(const TRect& r, const std::vector<TMonitorInfo>& monitors);

// A dock's docking rectangle: its screen bounds widened by the zone along both ends, and
// for a horizontal dock also above and below.
TRect DockingRect(const TRect& screenBounds, bool horizontal, int zone);

}  // namespace floatingframe
