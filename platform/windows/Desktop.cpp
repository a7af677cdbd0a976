#include "Desktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <climits>

namespace {

std::function<std::vector<TMonitorInfo>()> monitorsFunction;
std::function<TPoint()> cursorFunction;
std::function<bool()> ctrlFunction;

// Distance between two ranges (0 when they meet).
long long Gap(int lo1, int hi1, int lo2, int hi2)
{
    if (hi1 <= lo2) return (long long)lo2 - hi1;
    if (hi2 <= lo1) return (long long)lo1 - hi2;
    return 0;
}

}  // namespace

std::vector<TMonitorInfo> GetMonitors()
{
    std::vector<TMonitorInfo> monitors;
    if (monitorsFunction)
        monitors = monitorsFunction();
    else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        for (QScreen* screen : QGuiApplication::screens())
            monitors.push_back({TRect::FromQRect(screen->geometry()), TRect::FromQRect(screen->availableGeometry())});
    if (monitors.empty()) monitors.push_back({{0, 0, 640, 480}, {0, 0, 640, 480}});
    return monitors;
}

void SetMonitorsFunction(std::function<std::vector<TMonitorInfo>()> fn)
{
    monitorsFunction = std::move(fn);
}

TRect NearestWorkArea(const std::vector<TMonitorInfo>& monitors, const TRect& r)
{
    if (monitors.empty()) return {};
    const TMonitorInfo* best = nullptr;
    long long bestArea = 0;
    for (const TMonitorInfo& m : monitors) {
        const TRect common = m.Bounds.Intersected(r);
        const long long area = common.IsEmpty() ? 0 : (long long)common.Width() * common.Height();
        if (area > bestArea) best = &m, bestArea = area;
    }
    if (best) return best->WorkArea;
    long long bestDistance = LLONG_MAX;
    for (const TMonitorInfo& m : monitors) {
        const long long dx = Gap(r.Left, std::max(r.Left + 1, r.Right), m.Bounds.Left, m.Bounds.Right);
        const long long dy = Gap(r.Top, std::max(r.Top + 1, r.Bottom), m.Bounds.Top, m.Bounds.Bottom);
        const long long distance = dx * dx + dy * dy;
        if (distance < bestDistance) best = &m, bestDistance = distance;
    }
    return best->WorkArea;
}

TPoint GetCursorPos()
{
    if (cursorFunction) return cursorFunction();
    return QCursor::pos();
}

void SetCursorPosFunction(std::function<TPoint()> fn)
{
    cursorFunction = std::move(fn);
}

bool IsCtrlDown()
{
    if (ctrlFunction) return ctrlFunction();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

void SetCtrlDownFunction(std::function<bool()> fn)
{
    ctrlFunction = std::move(fn);
}
