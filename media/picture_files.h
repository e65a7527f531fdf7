#pragma once
// The picture command's whole work on a file already in memory: sniff, decode, convert,
// and encode the BMP the device draws and the preview PNG. The command, the fuzz harness
// and anything else that converts a picture file for a user call this one function, so
// that all of them run under the same limits.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/convert.h"

namespace orvanta {

// The largest picture file converted. Larger files are refused before they are read: no
// picture within the pixel limit needs more.
inline constexpr uint64_t kMaxPictureFileBytes = 256u << 20;

struct PictureFiles {
    std::vector<uint8_t> bmp;     // the 24-bit BMP the device draws
    std::vector<uint8_t> preview; // a PNG of the panel showing it; empty when not asked for
};

// Converts `file` with `options`. With a previewZoom of 1 to 16 the preview is made as
// well, each panel pixel repeated previewZoom x previewZoom times; 0 makes none. Returns
// false with a one-sentence `error` when the file is too large or cannot be converted.
bool makePictureFiles(std::span<const uint8_t> file, const ConvertOptions& options,
                      int32_t previewZoom, ConvertResult* result, PictureFiles* files,
                      std::string* error);

} // namespace orvanta
