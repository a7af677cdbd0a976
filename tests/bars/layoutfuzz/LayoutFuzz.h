#pragma once
// One fuzz input for the bar layout store: the bytes are a registry store file or an ini
// file, loaded into the editor's main form (read from its form resource, without the
// browser control); the layout is then checked, saved, read back and the form freed.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

enum class TLayoutFuzzFormat { Registry, Ini };

// The first broken invariant, or nullptr; the sanitizers catch memory faults.
const char* LayoutFuzzOneInputChecked(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size);
// The same checks on a form kept from input to input (replaced every few hundred inputs
// through the path above), so that long runs spend their time in the store.
const char* LayoutFuzzOneInputWarm(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size);
// Frees the kept form (storing its layout, as the editor's end does).
void LayoutFuzzEndWarm();
// The kept-form variant, aborting on a broken invariant (the libFuzzer entry points call this).
void LayoutFuzzOneInput(TLayoutFuzzFormat format, const std::uint8_t* data, std::size_t size);
// Sets up what the inputs need once per process: the library, its classes, a store file.
void LayoutFuzzInitialize();
// The editor's layout as each format stores it, as seeds for the inputs.
QByteArray LayoutFuzzSeed(TLayoutFuzzFormat format);
