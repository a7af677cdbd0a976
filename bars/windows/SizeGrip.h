#pragma once
// The size grip of a bar docked at the bottom without a border, computed from numbers: when
// the bar shows one, where it sits, and the size a drag of it gives the form. The grip sizes
// the form the way a sizing frame's lower-right corner would.
#include "WinTypes.h"

#include <vector>

namespace sizegrip {

// Smallest form a grip drag leaves.
constexpr int MinTrackWidth = 112;
constexpr int MinTrackHeight = 27;

// One window on the way from the bar's window up to the form: its rectangle in its
// parent's client coordinates and the size of that client area.
struct TChainLink {
    TRect Bounds;
    int ParentWidth = 0;
    int ParentHeight = 0;
};

// Every window of the chain ends at its parent's lower-right corner (an empty chain does not).
bool ReachesLowerRight(const std::vector<TChainLink>& chain);

// The grip square in window coordinates: the bottom-right gripWidth x gripHeight.
TRect GripRect(int windowWidth, int windowHeight, int gripWidth, int gripHeight);

// The form's size after the pointer moved by (dx, dy) from the press; never below the
// minimum tracking size, and never below start when start is already smaller.
TRect TrackedBounds(const TRect& start, int dx, int dy);

}  // namespace sizegrip
