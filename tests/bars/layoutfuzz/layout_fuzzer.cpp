// libFuzzer entry point of the bar layout store (built only with VESK_FUZZ=ON), once per
// stored format: VESK_LAYOUT_FUZZ_FORMAT is Registry or Ini.
#include "LayoutFuzz.h"

#include <QApplication>
#include <QFile>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    LayoutFuzzInitialize();
    // VESK_LAYOUT_FUZZ_WRITE_SEED=file writes the editor's own layout there, as a first
    // corpus entry, and ends.
    if (const char* seedFile = std::getenv("VESK_LAYOUT_FUZZ_WRITE_SEED")) {
        QFile file(QString::fromLocal8Bit(seedFile));
        const QByteArray seed = LayoutFuzzSeed(TLayoutFuzzFormat::VESK_LAYOUT_FUZZ_FORMAT);
        std::exit(file.open(QIODevice::WriteOnly) && file.write(seed) == seed.size() ? 0 : 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LayoutFuzzOneInput(TLayoutFuzzFormat::VESK_LAYOUT_FUZZ_FORMAT, data, size);
    return 0;
}
