#pragma once
// Where a floating window goes when the work area changes, computed from numbers alone.
#include "WinTypes.h"

namespace floatingframe {

// The window goes up when its bottom is below the area's, then down when its top is above
// it (a window taller than the area shows its top), then left when its right edge is beyond
// the area's, then right when its left edge is before it (a window wider than the area shows
// its left). An empty area moves nothing.
TRect MoveIntoWorkArea(const TRect& r, const TRect& workArea);

}  // namespace floatingframe
