#pragma once
// 8-bit RGB pictures in memory and their PNG files, for the renderer and the tests.
#include <cstdint>
#include <string>
#include <vector>

#include "core/display/surface.h"

namespace orvanta {

struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes, rows top to bottom

    uint32_t pixel(int32_t x, int32_t y) const; // as Rgb24
    void setPixel(int32_t x, int32_t y, uint32_t rgb24);
    bool operator==(const RgbImage& other) const = default;
};

// The surface's exact Rgb24 colours, each pixel repeated zoom x zoom times.
RgbImage imageFromSurface(const Surface& surface, int32_t zoom = 1);

// Encodes an 8-bit RGB PNG into `bytes`, replacing what they held.
bool encodePng(const RgbImage& image, std::vector<uint8_t>* bytes, std::string* error = nullptr);
// Writes `bytes` as the whole of the file at `path`. Returns false and sets `error` when the
// file cannot be written.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error = nullptr);
// Writes an 8-bit RGB PNG. Returns false and sets `error` when the file cannot be written.
bool writePng(const std::string& path, const RgbImage& image, std::string* error = nullptr);
// Reads any PNG that libpng can read, converted to 8-bit RGB.
bool readPng(const std::string& path, RgbImage* image, std::string* error = nullptr);

} // namespace orvanta
