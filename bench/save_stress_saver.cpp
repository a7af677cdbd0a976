// The saver of save_stress.sh: writes a 5 MB document through the editor's save path.
//   save_stress_saver FILE [SAVES]  saves the two versions into FILE in turn, forever or
//                                   SAVES times
//   save_stress_saver --versions D  writes the two versions as D/old.htm and D/new.htm
#include "TextFile.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QStringList Version(char tag) {
    QStringList lines;
    const QString line = QStringLiteral("<p>%1 line of version %1, caf\u00e9 \u20ac</p>").arg(QLatin1Char(tag));
    qsizetype size = 0;
    for (int i = 0; size < 5 * 1024 * 1024; ++i) {
        lines.append(line + QString::number(i));
        size += lines.last().size() + 2;
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const QStringList versions[2] = {Version('a'), Version('b')};
    if (argc == 3 && std::strcmp(argv[1], "--versions") == 0) {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        WriteTextFile(dir + QStringLiteral("/old.htm"), versions[0], false);
        WriteTextFile(dir + QStringLiteral("/new.htm"), versions[1], false);
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: save_stress_saver FILE [SAVES] | --versions DIR\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const unsigned saves = argc == 3 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 0;
    // Each finished save is told on the standard error.
    for (unsigned i = 1; saves == 0 || i <= saves; ++i) {
        WriteTextFile(path, versions[i % 2], false);
        std::fprintf(stderr, "saved %u\n", i);
    }
    return 0;
}
