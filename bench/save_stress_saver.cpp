// The saver of save_stress.sh: writes a 5 MB document through the editor's save path.
//   save_stress_saver [--named] FILE [SAVES]  saves the two versions into FILE in turn,
//                         forever or SAVES times; --named: as on a file system without
//                         unnamed files, each save's temporary has its name from the start
//   save_stress_saver --versions D  writes the two versions as D/old.htm and D/new.htm
#include "DurableFile.h"
#include "TextFile.h"

#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// 5 MB of one line over and over: the lines share one string, so the saver starts at once.
QStringList Version(char tag)
{
    const QString line = QStringLiteral("<p>%1 line of version %1, caf\u00e9 \u20ac</p>").arg(QLatin1Char(tag));
    return QStringList(5 * 1024 * 1024 / (line.size() + 2) + 1, line);
}

}  // namespace

int main(int argc, char** argv)
{
    const QStringList versions[2] = {Version('a'), Version('b')};
    if (argc == 3 && std::strcmp(argv[1], "--versions") == 0) {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        WriteTextFile(dir + QStringLiteral("/old.htm"), versions[0], false);
        WriteTextFile(dir + QStringLiteral("/new.htm"), versions[1], false);
        return 0;
    }
    const bool named = argc > 1 && std::strcmp(argv[1], "--named") == 0;
    argc -= named;
    argv += named;
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: save_stress_saver [--named] FILE [SAVES] | --versions DIR\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const unsigned saves = argc == 3 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 0;
    // Named: the first create of each save, the unnamed file's, is refused as unsupported.
    TDurableStep last = TDurableStep::SyncFolder;
    const TDurableWriteFault unnamedRefused([&](TDurableStep step) {
        const bool refuse = named && step == TDurableStep::Create && last != TDurableStep::Create;
        last = step;
        return refuse ? EOPNOTSUPP : 0;
    });
    // Each save is told on the standard error as it starts and when it has finished.
    for (unsigned i = 1; saves == 0 || i <= saves; ++i) {
        std::fprintf(stderr, "saving %u\n", i);
        WriteTextFile(path, versions[i % 2], false);
        std::fprintf(stderr, "saved %u\n", i);
    }
    return 0;
}
