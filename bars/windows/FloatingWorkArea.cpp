#include "FloatingWorkArea.h"

namespace floatingframe {

TRect MoveIntoWorkArea(const TRect& r, const TRect& workArea)
{
    if (workArea.IsEmpty()) return r;
    TRect out = r;
    if (out.Bottom > workArea.Bottom) out = out.Offset(0, workArea.Bottom - out.Bottom);
    if (out.Top < workArea.Top) out = out.Offset(0, workArea.Top - out.Top);
    if (out.Right > workArea.Right) out = out.Offset(workArea.Right - out.Right, 0);
    if (out.Left < workArea.Left) out = out.Offset(workArea.Left - out.Left, 0);
    return out;
}

}  // namespace floatingframe
