#pragma once
// What the window layer asks of the desktop: its monitors with their work areas, the cursor
// position and the state of the Ctrl key. Each is a replaceable function so that tests can
// stand in one or two screens, a cursor and a key (an empty function restores the real one).
#include "WinTypes.h"

#include <functional>
#include <vector>

struct TMonitorInfo {
    TRect Bounds;    // the whole screen
    TRect WorkArea;  // the screen less its panels
    bool operator==(const TMonitorInfo&) const = default;
};

// The monitors in the desktop's order; at least one (a 640 x 480 stand-in without screens).
std::vector<TMonitorInfo> GetMonitors();
void SetMonitorsFunction(std::function<std::vector<TMonitorInfo>()> fn);

// The work area of the monitor nearest to a rectangle: the one it overlaps most, else the
// one closest to it.
TRect NearestWorkArea(const std::vector<TMonitorInfo>& monitors, const TRect& r);

TPoint GetCursorPos();
void SetCursorPosFunction(std::function<TPoint()> fn);

// The Ctrl key is down now (not as of the last event).
bool IsCtrlDown();
void SetCtrlDownFunction(std::function<bool()> fn);
