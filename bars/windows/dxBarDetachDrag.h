#pragma once
// The detach drag of a menu: pressing a detachable menu's detach bar and dragging out of it
// turns the sub item's detaching bar into a floating toolbar that follows the pointer. A
// local loop takes the mouse and the keys until the button is released (the bar stays
// floating), Esc is pressed or the pointer comes back over the detach bar (the menu opens
// again); whatever ends it but a drop, the bar goes back to where it was, docked and
// visible as before.
#include "WinTypes.h"

class TdxBar;
class TdxBarSubItemControl;
class TCustomdxBarControl;

// zone: the detach bar on the screen. Returns whether the bar was dropped floating.
bool dxBarDetachDrag(TdxBarSubItemControl* owner, TdxBar* bar, const TRect& zone, TCustomdxBarControl* captureWindow);
// A detach drag is running.
bool dxBarDetachDragging();
