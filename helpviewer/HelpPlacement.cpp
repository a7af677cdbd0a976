#include "HelpPlacement.h"

#include "Registry.h"

namespace {

std::optional<int> ReadDword(TRegistry& registry, const QString& name)
{
    if (registry.GetDataType(name) != rdInteger) return std::nullopt;
    return registry.ReadInteger(name);
}

}  // namespace

TStoredPlacement ReadStoredPlacement(TRegistry& registry)
{
    TStoredPlacement stored;
    stored.width = ReadDword(registry, QStringLiteral("Width"));
    stored.height = ReadDword(registry, QStringLiteral("Height"));
    stored.top = ReadDword(registry, QStringLiteral("Top"));
    stored.left = ReadDword(registry, QStringLiteral("Left"));
    if (const std::optional<int> maximized = ReadDword(registry, QStringLiteral("Maximized")))
        stored.maximized = *maximized != 0;
    return stored;
}

void WriteStoredPlacement(TRegistry& registry, const QRect& normal, bool maximized)
{
    registry.WriteBool(QStringLiteral("Maximized"), maximized);
    registry.WriteInteger(QStringLiteral("Width"), normal.width());
    registry.WriteInteger(QStringLiteral("Height"), normal.height());
    registry.WriteInteger(QStringLiteral("Top"), normal.top());
    registry.WriteInteger(QStringLiteral("Left"), normal.left());
}

QRect PlacedBounds(const QRect& current, const TStoredPlacement& stored, const QList<QRect>& screens)
{
    QRect placed = current;
    if (stored.width && *stored.width >= kMinimumHelpWindowSize.width()) placed.setWidth(*stored.width);
    if (stored.height && *stored.height >= kMinimumHelpWindowSize.height()) placed.setHeight(*stored.height);
    if (stored.left) placed.moveLeft(*stored.left);
    if (stored.top) placed.moveTop(*stored.top);
    for (const QRect& screen : screens)
        if (screen.intersects(placed)) return placed;
    return current;
}
