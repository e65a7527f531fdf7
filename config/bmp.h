#pragma once
#include <cstdint>

namespace orvanta {

// Draws an uncompressed 24-bit BMP picture with its top-left pixel at (x, y) through the
// pixel cursor, tracing the header walk. Leaves the storage slot closed. Returns 0.
int drawBmp(const char* fileName, int32_t x, int32_t y);

} // namespace orvanta
