#pragma once
// One fuzz input for the HTML scanner: the bytes become the input lines, every event is
// assigned, and the parse and the attribute helpers run over them.
#include <cstddef>
#include <cstdint>

// The first broken invariant, or nullptr; the sanitizers catch memory faults.
const char* FuzzOneInputChecked(const std::uint8_t* data, std::size_t size);
// As above, aborting on a broken invariant (the libFuzzer entry point calls this).
void FuzzOneInput(const std::uint8_t* data, std::size_t size);
