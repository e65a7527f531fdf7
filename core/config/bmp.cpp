#include "core/config/bmp.h"

#include <algorithm>
#include <cstring>

#include "core/display/arith.h"
#include "core/display/surface.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"

namespace orvanta {

namespace {

constexpr int32_t kBmpSignature = 19778; // "BM"
constexpr int32_t kBufferBytes = 600;    // 200 pixels

int32_t bgrToColor565(const unsigned char* bgr) {
    const uint32_t blue = bgr[0], green = bgr[1], red = bgr[2];
    return static_cast<int32_t>((red & 0xF8u) << 8 | (green & 0xFCu) << 3 | blue >> 3);
}

void drawPixels(Display& display, Storage& storage, const Trace& trace, int32_t x, int32_t y,
                int32_t width, int32_t height, int32_t offset) {
    traceText(trace, "Image size: ");
    traceInt(trace, width);
    traceText(trace, "x");
    traceIntLine(trace, height);

    // A negative width reads as no columns at all. Offsets and row sizes are 64-bit, so
    // no header value can overflow them; a position before the file start reads nothing.
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
    const int64_t columns = std::max<int64_t>(width, 0);
    if (rows > kMaxBmpDimension || columns > kMaxBmpDimension) return;
    const int64_t rowSize = (columns * 3 + 3) & ~int64_t{3};

    setPixelWindow(display, x, y, add32(x, sub32(width, 1)),
                   add32(y, static_cast<int32_t>(rows - 1)));

    // Only the columns that can land on the surface are read: one seek and one read per
    // row, at most 128 pixels, which fits the 600-byte buffer.
    const int64_t firstColumn = std::clamp<int64_t>(-static_cast<int64_t>(x), 0, columns);
    const int64_t endColumn =
        std::clamp<int64_t>(DISPLAY_SIZE - static_cast<int64_t>(x), 0, columns);
    unsigned char buffer[kBufferBytes];
    for (int64_t i = 0; i < rows; ++i) {
        const int64_t row = static_cast<int64_t>(y) + i;
        if (row >= 0 && row < DISPLAY_SIZE && firstColumn < endColumn) {
            const int64_t stored = topDown ? i : rows - 1 - i;
            storageSeek(storage, offset + stored * rowSize + firstColumn * 3);
            const uint32_t bytes = static_cast<uint32_t>((endColumn - firstColumn) * 3);
            // Bytes the file does not have stay zero, so pixels without data are black.
            std::memset(buffer, 0, bytes);
            uint32_t count = 0;
            storageRead(storage, buffer, bytes, &count);
            for (int64_t j = firstColumn; j < endColumn; ++j) {
                moveCursor(display, static_cast<int32_t>(x + j), static_cast<int32_t>(row));
                pushPixel(display, bgrToColor565(buffer + (j - firstColumn) * 3));
            }
        }
        traceText(trace, "End BMP-Line ");
        traceInt(trace, static_cast<int32_t>(columns));
        traceText(trace, " ");
        traceInt(trace, static_cast<int32_t>(i));
        traceLineEnd(trace);
    }
    // The cursor ends where a pixel-by-pixel walk over the whole picture leaves it.
    if (rows > 0 && columns > 0)
        moveCursor(display, add32(x, static_cast<int32_t>(columns - 1)),
                   add32(y, static_cast<int32_t>(rows - 1)));
}

} // namespace

BmpHeader readBmpHeader(Storage& storage, const Trace& trace) {
    BmpHeader h;
    h.signature = readLE16(storage) == kBmpSignature;
    if (!h.signature) return h;
    h.fileSize = readLE32(storage);
    traceText(trace, "File size: ");
    traceIntLine(trace, h.fileSize);
    readLE32(storage); // the two creator fields
    h.offset = readLE32(storage);
    traceText(trace, "Image Offset: ");
    traceIntPair(trace, h.offset, 10);
    h.headerSize = readLE32(storage);
    traceText(trace, "Header size: ");
    traceIntLine(trace, h.headerSize);
    h.width = readLE32(storage);
    h.height = readLE32(storage);
    traceText(trace, "bmpWidth: ");
    traceIntLine(trace, h.width);
    traceText(trace, "bmpHeight: ");
    traceIntLine(trace, h.height);
    h.planes = readLE16(storage);
    if (h.planes != 1) return h;
    h.depth = readLE16(storage);
    traceText(trace, "Bit Depth: ");
    traceIntLine(trace, h.depth);
    if (h.depth == 24) h.compression = readLE32(storage);
    return h;
}

int drawBmp(Display& display, Storage& storage, const Trace& trace, const char* fileName, int32_t x,
            int32_t y) {
    if (fileName == nullptr) fileName = "";
    traceLineEnd(trace);
    traceText(trace, "Loading image '");
    traceText(trace, fileName);
    traceLine(trace, "'");
    // With no file open every header byte reads as 0, so the signature test fails.
    if (storageOpen(storage, fileName) != 0) traceError(trace, "pf_open");
    const BmpHeader header = readBmpHeader(storage, trace);
    if (header.drawable())
        drawPixels(display, storage, trace, x, y, header.width, header.height, header.offset);
    return storageOpen(storage, nullptr);
}

} // namespace orvanta
