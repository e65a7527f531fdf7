#pragma once
// A private working folder for one fuzzing process. The simulator reads files by name, so
// every input is written to a real file; the folder lives under the system's temporary
// folder, is reused for every input and is removed when the process ends.
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvanta::fuzz {

// The folder, created on first use.
const std::string& scratchFolder();

// Replaces the file `name` in the scratch folder by `size` bytes of `data`.
void writeScratchFile(const char* name, const uint8_t* data, std::size_t size);
inline void writeScratchFile(const char* name, const std::string& text) {
    writeScratchFile(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// A small bottom-up 24-bit BMP picture of width x height pixels with a colour gradient, or
// the same stored top-down when height is negative.
std::string gradientBmp(int32_t width, int32_t height);

} // namespace orvanta::fuzz
