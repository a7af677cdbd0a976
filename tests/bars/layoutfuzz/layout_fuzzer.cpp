// libFuzzer entry point of the bar layout store (built only with VESK_FUZZ=ON), once per
// stored format: VESK_LAYOUT_FUZZ_FORMAT is Registry or Ini.
#include "LayoutFuzz.h"

#include <QApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    LayoutFuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LayoutFuzzOneInput(TLayoutFuzzFormat::VESK_LAYOUT_FUZZ_FORMAT, data, size);
    return 0;
}
