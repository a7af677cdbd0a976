#include "SizeGrip.h"

#include <algorithm>

namespace sizegrip {

bool ReachesLowerRight(const std::vector<TChainLink>& chain)
{
    if (chain.empty()) return false;
    return std::all_of(chain.begin(), chain.end(), [](const TChainLink& link) {
        return link.Bounds.Right == link.ParentWidth && link.Bounds.Bottom == link.ParentHeight;
    });
}

TRect GripRect(int windowWidth, int windowHeight, int gripWidth, int gripHeight)
{
    return {std::max(0, windowWidth - gripWidth), std::max(0, windowHeight - gripHeight), windowWidth, windowHeight};
}

TRect TrackedBounds(const TRect& start, int dx, int dy)
{
    const int minWidth = std::min(MinTrackWidth, start.Width());
    const int minHeight = std::min(MinTrackHeight, start.Height());
    return TRect::Bounds(start.Left, start.Top, std::max(minWidth, start.Width() + dx),
                         std::max(minHeight, start.Height() + dy));
}

}  // namespace sizegrip
