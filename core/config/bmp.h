#pragma once
#include <cstdint>

namespace orvanta {

struct Display;
class Storage;
class Trace;

// Neither side of a picture may exceed this many pixels; larger ones draw nothing.
inline constexpr int64_t kMaxBmpDimension = 16384;

// The header fields as far as the walk reads them: the planes only after the signature,
// the depth only with one plane, the compression only at 24 bits per pixel.
struct BmpHeader {
    bool signature = false; // the file starts with "BM"
    int32_t fileSize = 0;
    int32_t offset = 0; // of the pixel data
    int32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0; // negative for a top-down picture
    int32_t planes = 0;
    int32_t depth = 0;
    int32_t compression = 0;
    bool drawable() const { return signature && planes == 1 && depth == 24 && compression == 0; }
};

// Walks the header of the file open in the storage slot from its start, tracing each field
// as the picture loader does. Every byte the file lacks reads as 0.
BmpHeader readBmpHeader(Storage& storage, const Trace& trace);

// Draws an uncompressed 24-bit BMP picture with its top-left pixel at (x, y) through the
// pixel cursor, tracing the header walk. Leaves the storage slot closed. Returns 0.
int drawBmp(Display& display, Storage& storage, const Trace& trace, const char* fileName, int32_t x,
            int32_t y);

} // namespace orvanta
