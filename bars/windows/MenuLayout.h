#pragma once
// Geometry of a menu window computed from numbers alone: where each shown row stands
// (separators, the boundary lines between recent and other rows, the detach bar's room),
// how big the menu wants to be, where its scroll arrows and expand band lie, which top
// index keeps a row in view, where the menu goes on the work area (flipping past its
// owner), and the frames of the opening animation. The menu window fills these records
// from its item controls and reads the results back; nothing here touches a window.
#include "WinTypes.h"

#include <vector>

namespace menulayout {

// One visible link from the menu's point of view: its control's size, whether it begins a
// group, and its place in the links' recent order (0 = most recently used).
struct TRow {
    int Width = 0;
    int Height = 0;
    bool BeginGroup = false;
    int RecentRank = 0;
};

// The menu as a whole.
struct TMenu {
    bool Flat = false;
    int SideStrip = 0;       // width of the owner-painted strip at the left
    bool DetachBar = false;  // the detach bar takes the top of the non-client area
    int DetachBarHeight = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
    int MenuItemHeight = 0;
    int BeginGroupSize = 10;
    bool MarkExists = false;  // the expand band at the bottom
    int TopIndex = 0;         // the first visible link shown
    bool Shading = false;     // recent-items mode with the menus expanded
    int RecentCount = -1;     // links counted recent from the top of the recent order; <= 0: all
};

// Where one visible link stands. Rect is empty for a link that is not shown.
struct TPlace {
    TRect Rect;
    bool NotRecent = false;  // shaded
    bool Boundary = false;   // the first of a run of recent or not-recent rows
    bool Separator = false;  // a separator band of BeginGroupSize lies above Rect
};

struct TResult {
    std::vector<TPlace> Places;  // one per row, in order
    int Shown = 0;               // rows from the top index that got a rectangle
    int Width = 0;               // measured window size (measure only)
    int Height = 0;
};

// Lays the rows out from m.TopIndex; with measure the client height does not limit the
// rows and the window size is returned.
TResult Layout(const TMenu& m, const std::vector<TRow>& rows, bool measure);

// The inner left and right of the rows.
int InnerLeft(const TMenu& m);
int InnerRight(const TMenu& m);

// Scrolling: rows above the top index, or rows below the last shown one.
inline bool CanScrollUp(const TMenu& m)
{
    return m.TopIndex > 0;
}
inline bool CanScrollDown(const TMenu& m, const TResult& r, int rowCount)
{
    return r.Shown < rowCount - m.TopIndex;
}

// The top index that brings row index into view (the row just under the up arrow, or just
// above the down arrow), clamped to 0..rowCount - 1. Terminates for any row, whatever fits.
int TopIndexFor(const TMenu& m, const std::vector<TRow>& rows, int index);
// The lowest top index that still shows as many rows as fit from the end (used when the
// menu grew taller).
int LowestTopIndex(const TMenu& m, const std::vector<TRow>& rows);

// The expand band: the button occupies the menu item height at the bottom of the client.
TRect ExpandBand(const TMenu& m);
// The up-arrow and down-arrow rows (empty when that way cannot scroll).
TRect UpArrowRow(const TMenu& m, const TResult& r);
TRect DownArrowRow(const TMenu& m, const TResult& r, int rowCount);

// ---------------------------------------------------------------- placement

struct TPlacement {
    TRect WorkArea;
    int Left = 0, Top = 0;      // requested position
    int Width = 0, Height = 0;  // measured size
    int OwnerWidth = 0;         // the owner item the menu may jump over horizontally (0: none)
    int OwnerHeight = 0;        // ... vertically (0: none)
    bool PreferRight = true;
    bool PreferDown = true;
    int MinScrollHeight = 0;  // a menu cut to fit keeps at least this height
};

struct TPlaced {
    TRect Bounds;
    bool FlippedH = false;
    bool FlippedV = false;
};

TPlaced Place(const TPlacement& p);

// ---------------------------------------------------------------- opening animation

enum class TAnimation { Unfold, Slide };

struct TAnimationFrames {
    TAnimation Kind = TAnimation::Slide;
    int ClientWidth = 0, ClientHeight = 0;
    int Excess = 0;  // unfold: client height - client width
    int Total = 0;   // length revealed in all
    int Step = 0;    // per frame
    int Count() const { return Step > 0 ? Total / Step : 0; }
};

TAnimationFrames Frames(TAnimation kind, int clientWidth, int clientHeight);
// The client size shown at frame k (1..Count()).
QSize FrameSize(const TAnimationFrames& f, int k);
// The window bounds of a frame: final bounds, shown client size plus the non-client size,
// anchored at the final top-left, or at the right/bottom edge when growing left/up.
TRect FrameBounds(const TRect& finalBounds, QSize shownClient, QSize nonClient, bool growLeft, bool growUp);

}  // namespace menulayout
