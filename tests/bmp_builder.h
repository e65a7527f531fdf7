#pragma once
// Builds BMP files byte by byte for tests and benchmarks, so that every header field, the
// row order, the padding and the pixel offset can be set to exactly the value a case needs.
#include <cstdint>
#include <functional>
#include <string>

namespace orvanta::test {

inline void appendLE16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void appendLE32(std::string& out, uint32_t value) {
    appendLE16(out, value & 0xFFFF);
    appendLE16(out, value >> 16);
}

// The colour of picture pixel (x, y), y counted from the top row, as red, green and blue
// bytes packed like Rgb24 (red in bits 0-7).
using PixelSource = std::function<uint32_t(int32_t x, int32_t y)>;

struct BmpBuilder {
    int32_t width = 1;
    int32_t height = 1; // negative: rows stored top-down
    uint32_t headerSize = 40;
    uint32_t planes = 1;
    uint32_t bitsPerPixel = 24;
    uint32_t compression = 0;
    int64_t pixelOffset = -1;   // -1: right after the headers
    int64_t fileSizeField = -1; // -1: the real size
    bool writePixels = true;    // false: the file ends after the headers
    PixelSource pixels = [](int32_t, int32_t) { return 0u; };

    // The bytes of the file: headers, zeros up to the pixel offset, then rows of 24-bit
    // pixels (blue, green, red) padded to multiples of 4 bytes.
    std::string build() const {
        const uint32_t offset =
            static_cast<uint32_t>(pixelOffset < 0 ? 14 + int64_t{headerSize} : pixelOffset);
        const int64_t rows = height < 0 ? -int64_t{height} : height;
        const int64_t columns = width < 0 ? 0 : width;
        const int64_t rowSize = (columns * 3 + 3) / 4 * 4;
        std::string out = "BM";
        const int64_t total = writePixels ? int64_t{offset} + rows * rowSize : offset;
        appendLE32(out, static_cast<uint32_t>(fileSizeField < 0 ? total : fileSizeField));
        appendLE32(out, 0);
        appendLE32(out, offset);
        appendLE32(out, headerSize);
        appendLE32(out, static_cast<uint32_t>(width));
        appendLE32(out, static_cast<uint32_t>(height));
        appendLE16(out, planes);
        appendLE16(out, bitsPerPixel);
        appendLE32(out, compression);
        appendLE32(out, static_cast<uint32_t>(rows * rowSize)); // image data size
        while (out.size() < 14 + std::size_t{headerSize}) out.push_back('\0');
        out.resize(offset, '\0');
        if (!writePixels) return out;
        for (int64_t stored = 0; stored < rows; ++stored) {
            const int32_t y = static_cast<int32_t>(height < 0 ? stored : rows - 1 - stored);
            for (int32_t x = 0; x < columns; ++x) {
                const uint32_t rgb = pixels(x, y);
                out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
                out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
                out.push_back(static_cast<char>(rgb & 0xFF));
            }
            for (int64_t pad = columns * 3; pad < rowSize; ++pad) out.push_back('\0');
        }
        return out;
    }
};

// A picture in which neighbouring pixels differ in every channel, so that a pixel drawn
// from the wrong row, column or byte order shows.
inline uint32_t patternPixel(int32_t x, int32_t y) {
    const uint32_t r = static_cast<uint32_t>(x * 7 + y * 3) & 0xFF;
    const uint32_t g = static_cast<uint32_t>(x * 2 + y * 5 + 40) & 0xFF;
    const uint32_t b = static_cast<uint32_t>(x * 11 + y * 13 + 90) & 0xFF;
    return r | g << 8 | b << 16;
}

// The RGB565 value the loader draws for a packed red, green, blue pixel.
inline int32_t expectedColor565(uint32_t rgb) {
    const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    return static_cast<int32_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3);
}

} // namespace orvanta::test
