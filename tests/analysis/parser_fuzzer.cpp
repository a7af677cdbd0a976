// libFuzzer entry point (built only with VESK_FUZZ=ON).
#include "ParserFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzOneInput(data, size);
    return 0;
}
