#pragma once
// Geometry of a toolbar window computed from numbers alone: where each shown item stands
// (rows, group gaps, alignment, the room of the "More Buttons" mark and the menu bar's
// caption buttons), where a wrapping bar breaks its rows, and how big the bar wants to be
// for a docking side or a given width or height. The toolbar window fills these records
// from its item controls and its bar, and reads the results back; nothing here touches a
// window, so every rule can be tested without one.
#include "WinTypes.h"
#include "dxBarTypes.h"

#include <vector>

namespace toolbarlayout {

// Room kept for the mark at the end of a docked bar.
constexpr int MarkRoom = 11;

// One can-visible item link as the layout sees it: its control's size on this bar (width
// and height as the bar shows it, rotated or not), whether it begins a group, its
// effective alignment, the smallest length a stretched (iaClient) item keeps along the
// bar, and its place in the links' recent order (0 = most recently used).
struct TItem {
    int Width = 0;
    int Height = 0;
    bool BeginGroup = false;
    TdxBarItemAlign Align = iaLeft;
    int MinLength = 1;
    int RecentRank = 0;
};

// The bar as a whole.
struct TBar {
    TdxBarDockingStyle Style = dsNone;  // the window's own docking style; dsNone floating
    bool MultiLine = false;             // the bar's MultiLine
    bool MarkExists = false;
    int BeginGroupSize = 5;
    bool HasCaptionButtons = false;
    int CaptionButtonsWidth = 0;
    int CaptionButtonsHeight = 0;
    // The manager's standard item size, for a bar without items.
    int StandardWidth = 23;
    int StandardHeight = 22;
    // The links show their most recently used items first (and the manager is not
    // designing): a docked single-line bar shows as many of them as fit.
    bool UsesRecentItems = false;

    bool Floating() const { return Style == dsNone; }
    bool Vertical() const { return Style == dsLeft || Style == dsRight; }
    bool Wrapping() const { return Floating() || MultiLine; }
};

// Where one item stands: its rectangle (empty when it does not fit) and the thickness of
// the row it sits in.
struct TPlace {
    TRect Rect;
    int RowThickness = 0;
    bool LastInRow = false;
};

struct TItemRects {
    std::vector<TPlace> Places;  // one per visible item, in order
    bool Truncated = false;      // an aligned item ended the row before the last item
};

struct TSize {
    int X = 0;
    int Y = 0;
    bool operator==(const TSize&) const = default;
};

// A size and the recent-item limit the bar should show with it (-1: every item).
struct TSizeResult {
    TSize Size;
    int RecentLimit = -1;
};

// The items shown under a recent-item limit (-1 or 0: all), in collection order.
std::vector<TItem> VisibleUnderLimit(const std::vector<TItem>& items, int limit);

// Lays the visible items out in a client area of clientWidth x clientHeight. rowBreaks (one
// flag per item, may be empty) are the wrap search's breaks; a single-line bar ignores them.
TItemRects CalcItemRects(const TBar& bar, const std::vector<TItem>& visible, int clientWidth, int clientHeight,
                         const std::vector<bool>& rowBreaks = {});

// The rectangle an item answers for: its stored rectangle widened across to its row.
TRect ItemRect(const TBar& bar, const TPlace& place);

// The band of a group separator before an item that begins a group (not the first shown):
// inside its row, BeginGroupSize wide just before the item across the row; at the start of
// a later row of a wrapping bar, BeginGroupSize across the gap before the row along the whole
// bar (less the room of a docked bar's mark). Empty for an item without a place. The line
// drawn in it runs along Horizontal (the band's longer side).
struct TSeparator {
    TRect Band;
    bool Horizontal = false;
};
TSeparator GroupSeparator(const TBar& bar, const TPlace& place, int clientWidth, int clientHeight);

// The wrap search: breaks rows where they overflow limit, preferring the row's last group
// start. size comes in as the smallest size and goes out as the wrapped layout's size;
// rowBreaks gets one flag per visible item.
TSize CalcWrapSize(const TBar& bar, const std::vector<TItem>& visible, bool docked, int limit, TSize size,
                   std::vector<bool>& rowBreaks);

// Extents for a docking style; items are every can-visible link.
int GetMinWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style);
int GetMinHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style);
int GetMaxWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style);
int GetMaxHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style);

// The size of the bar's client for a given width (or height).
TSizeResult CalcSizeForWidth(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int width);
TSizeResult CalcSizeForHeight(const TBar& bar, const std::vector<TItem>& items, TdxBarDockingStyle style, int height);

// The rectangle of the mark in a docked window's client area.
TRect MarkRect(TdxBarDockingStyle style, bool standardStyle, int clientWidth, int clientHeight);

// The grab point scaled from one window shape to another: size x grab / grabbedSize on each
// axis; a zero-sized grabbed window gives 0.
TSize ScaleGrabOffset(TSize size, int grabX, int grabbedWidth, int grabY, int grabbedHeight);

}  // namespace toolbarlayout
