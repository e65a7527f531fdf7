#include "config/bmp.h"

#include <algorithm>
#include <cstring>

#include "config/storage.h"
#include "display/arith.h"
#include "display/surface.h"
#include "host/trace.h"

namespace orvanta {

namespace {

constexpr int32_t kBmpSignature = 19778; // "BM"
constexpr int64_t kMaxDimension = 16384;
constexpr int32_t kBufferBytes = 600; // 200 pixels

int32_t bgrToColor565(const unsigned char* bgr) {
    const uint32_t blue = bgr[0], green = bgr[1], red = bgr[2];
    return static_cast<int32_t>((red & 0xF8u) << 8 | (green & 0xFCu) << 3 | blue >> 3);
}

void drawPixels(int32_t x, int32_t y, int32_t width, int32_t height, int32_t offset) {
    traceText("Image size: ");
    traceInt(width);
    traceText("x");
    traceIntLine(height);

    // A negative width reads as no columns at all. Offsets and row sizes are 64-bit, so
    // no header value can overflow them; a position before the file start reads nothing.
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
    const int64_t columns = std::max<int64_t>(width, 0);
    if (rows > kMaxDimension || columns > kMaxDimension) return;
    const int64_t rowSize = (columns * 3 + 3) & ~int64_t{3};

    setPixelWindow(x, y, add32(x, sub32(width, 1)), add32(y, static_cast<int32_t>(rows - 1)));

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
            storageSeek(offset + stored * rowSize + firstColumn * 3);
            const uint32_t bytes = static_cast<uint32_t>((endColumn - firstColumn) * 3);
            // Bytes the file does not have stay zero, so pixels without data are black.
            std::memset(buffer, 0, bytes);
            uint32_t count = 0;
            storageRead(buffer, bytes, &count);
            for (int64_t j = firstColumn; j < endColumn; ++j) {
                moveCursor(static_cast<int32_t>(x + j), static_cast<int32_t>(row));
                pushPixel(bgrToColor565(buffer + (j - firstColumn) * 3));
            }
        }
        traceText("End BMP-Line ");
        traceInt(static_cast<int32_t>(columns));
        traceText(" ");
        traceInt(static_cast<int32_t>(i));
        traceLineEnd();
    }
    // The cursor ends where a pixel-by-pixel walk over the whole picture leaves it.
    if (rows > 0 && columns > 0)
        moveCursor(add32(x, static_cast<int32_t>(columns - 1)),
                   add32(y, static_cast<int32_t>(rows - 1)));
}

} // namespace

int drawBmp(const char* fileName, int32_t x, int32_t y) {
    if (fileName == nullptr) fileName = "";
    traceLineEnd();
    traceText("Loading image '");
    traceText(fileName);
    traceLine("'");
    // With no file open every header byte reads as 0, so the signature test fails.
    if (storageOpen(fileName) != 0) traceError("pf_open");

    if (readLE16() == kBmpSignature) {
        traceText("File size: ");
        traceIntLine(readLE32());
        readLE32(); // the two creator fields
        const int32_t offset = readLE32();
        traceText("Image Offset: ");
        traceIntPair(offset, 10);
        traceText("Header size: ");
        traceIntLine(readLE32());
        const int32_t width = readLE32();
        const int32_t height = readLE32();
        traceText("bmpWidth: ");
        traceIntLine(width);
        traceText("bmpHeight: ");
        traceIntLine(height);
        if (readLE16() == 1) {
            const int32_t depth = readLE16();
            traceText("Bit Depth: ");
            traceIntLine(depth);
            if (depth == 24 && readLE32() == 0) drawPixels(x, y, width, height, offset);
        }
    }
    return storageOpen(nullptr);
}

} // namespace orvanta
