// Prints how many registry values per second a layout-sized save writes, each value a
// separate locked, atomic change of the store file, and how fast they read back.
#include "Registry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kBars = 8;
constexpr int kLinksPerBar = 25;

// Writes a layout like the bar store's; returns the number of values written.
int WriteLayout(TRegistry& reg)
{
    int count = 0;
    for (int bar = 0; bar < kBars; ++bar) {
        const QString barKey = QStringLiteral("\\Software\\Morvath\\Toolbars\\Bar%1").arg(bar);
        reg.OpenKey(barKey, true);
        reg.WriteString("Caption", QStringLiteral("Bar %1").arg(bar));
        reg.WriteInteger("Row", bar);
        reg.WriteBool("Visible", true);
        count += 3;
        for (int link = 0; link < kLinksPerBar; ++link) {
            reg.OpenKey(barKey + QStringLiteral("\\ItemLink%1").arg(link), true);
            reg.WriteString("ItemName", QStringLiteral("btItem%1").arg(link));
            reg.WriteBool("BeginGroup", link % 5 == 0);
            reg.WriteBinaryData("UserDefine", QByteArray(1, '\0'));
            count += 3;
        }
    }
    return count;
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    TRegistryStore store(dir.path() + "/vesk/registry.json");
    TRegistry reg(&store);

    QElapsedTimer timer;
    timer.start();
    const int written = WriteLayout(reg);
    const double writeSeconds = timer.nsecsElapsed() / 1e9;

    timer.restart();
    int read = 0;
    for (int bar = 0; bar < kBars; ++bar)
        for (int link = 0; link < kLinksPerBar; ++link) {
            reg.OpenKey(QStringLiteral("\\Software\\Morvath\\Toolbars\\Bar%1\\ItemLink%2").arg(bar).arg(link), false);
            read += reg.ReadString("ItemName").isEmpty() ? 0 : 1;
        }
    const double readSeconds = timer.nsecsElapsed() / 1e9;

    std::printf("wrote %d values in %.3f s: %.0f values/s\n", written, writeSeconds, written / writeSeconds);
    std::printf("read %d values in %.3f s: %.0f values/s\n", read, readSeconds, read / readSeconds);
    return 0;
}
