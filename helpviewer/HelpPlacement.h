#pragma once
// The help window's placement as the registry keeps it, and the checks applied to what is
// read back: values come from a file any program may have written, so a value of the wrong
// type counts as absent, a size below the minimum is ignored, and a rectangle that lies on
// no screen is not used.
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class TRegistry;

inline const QString kHelpPlacementKey = QStringLiteral("\\Software\\Morvath\\Help");

// The smallest window size taken from the registry.
inline constexpr QSize kMinimumHelpWindowSize{160, 120};

struct TStoredPlacement {
    std::optional<int> left, top, width, height;
    std::optional<bool> maximized;
};

// Reads the values of the open key; a value missing or of another type stays empty.
TStoredPlacement ReadStoredPlacement(TRegistry& registry);
// Writes the rectangle and the maximized flag into the open key.
void WriteStoredPlacement(TRegistry& registry, const QRect& normal, bool maximized);

// The bounds a window gets from stored over its current bounds: each value present
// replaces the current one, except a width or height below the minimum; when the result
// meets none of screens (their geometries), the current bounds stay.
QRect PlacedBounds(const QRect& current, const TStoredPlacement& stored, const QList<QRect>& screens);
