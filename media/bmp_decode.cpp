#include <algorithm>
#include <array>
#include <bit>

#include "media/picture.h"

namespace orvanta {

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Bytes {
    std::span<const uint8_t> data;
    bool has(uint64_t at, uint64_t count) const {
        return at <= data.size() && count <= data.size() - at;
    }
    uint32_t le16(std::size_t at) const { return data[at] | data[at + 1] << 8; }
    uint32_t le32(std::size_t at) const {
        return le16(at) | static_cast<uint32_t>(le16(at + 2)) << 16;
    }
};

// One colour channel of a 16- or 32-bit pixel. Its value is widened to 8 bits by scaling
// and truncating, the way the panel widens RGB565, so a 5-6-5 picture keeps exactly the
// colours the panel shows. A channel without a mask reads as 0, and a mask may be as wide
// as the whole pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t maximum = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        maximum = (uint64_t{1} << std::bit_width(mask >> shift)) - 1;
    }
    uint8_t operator()(uint32_t pixel) const {
        if (mask == 0) return 0;
        return static_cast<uint8_t>(uint64_t{(pixel & mask) >> shift} * 255 / maximum);
    }
};

struct Layout {
    int64_t width = 0, rows = 0;
    bool topDown = false;
    uint32_t bits = 0, compression = 0;
    uint64_t offset = 0;
    std::array<uint32_t, 256> palette{}; // Rgb24 colours; unused entries are black
    Channel red, green, blue, alpha;
    bool guessAlpha = false; // a 32-bit picture whose fourth byte is alpha unless all zero
};

void put(RgbaImage* image, const Layout& l, int64_t storedRow, int64_t x, uint32_t rgb,
         uint8_t alpha = 255) {
    const int64_t y = l.topDown ? storedRow : l.rows - 1 - storedRow;
    uint8_t* out = image->rgba.data() + (y * l.width + x) * 4;
    out[0] = rgb & 0xFF;
    out[1] = (rgb >> 8) & 0xFF;
    out[2] = (rgb >> 16) & 0xFF;
    out[3] = alpha;
}

bool readHeader(const Bytes& b, Layout* l, std::string* error) {
    if (!b.has(0, 18)) {
        *error = "the file ends inside its BMP header";
        return false;
    }
    l->offset = b.le32(10);
    const uint32_t headerSize = b.le32(14);
    static constexpr uint32_t kKnown[] = {12, 40, 52, 56, 108, 124};
    if (std::find(std::begin(kKnown), std::end(kKnown), headerSize) == std::end(kKnown)) {
        *error = "the BMP header of " + std::to_string(headerSize) + " bytes is of no known kind";
        return false;
    }
    if (!b.has(14, headerSize)) {
        *error = "the file ends inside its BMP header";
        return false;
    }
    const bool core = headerSize == 12;
    int64_t height = 0;
    uint32_t planes = 0, colours = 0;
    if (core) {
        l->width = b.le16(18);
        height = b.le16(20);
        planes = b.le16(22);
        l->bits = b.le16(24);
    } else {
        l->width = static_cast<int32_t>(b.le32(18));
        height = static_cast<int32_t>(b.le32(22));
        planes = b.le16(26);
        l->bits = b.le16(28);
        l->compression = b.le32(30);
        colours = b.le32(46);
    }
    l->topDown = height < 0;
    l->rows = height < 0 ? -height : height;
    if (planes != 1) {
        *error = "the BMP header gives " + std::to_string(planes) + " colour planes instead of 1";
        return false;
    }
    const uint32_t bits = l->bits, c = l->compression;
    const bool known = (c == kRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                                      bits == 24 || bits == 32)) ||
                       (c == kRle8 && bits == 8) || (c == kRle4 && bits == 4) ||
                       ((c == kBitFields || c == kAlphaBitFields) && (bits == 16 || bits == 32));
    if (!known) {
        *error = "the BMP file stores " + std::to_string(bits) + " bits per pixel with " +
                 "compression method " + std::to_string(c) + ", which cannot be read";
        return false;
    }
    if (!pictureSizeAllowed(l->width, l->rows, error)) return false;

    // Colour masks stand in the longer headers, or follow the 40-byte one.
    std::size_t tableAt = 14 + headerSize;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (c == kBitFields || c == kAlphaBitFields) {
        const std::size_t at = headerSize >= 52 ? 54 : tableAt;
        const int count = headerSize >= 56 || c == kAlphaBitFields ? 4 : 3;
        if (!b.has(at, count * 4)) {
            *error = "the file ends inside its colour masks";
            return false;
        }
        for (int i = 0; i < count; ++i) masks[i] = b.le32(at + i * 4);
        if (headerSize == 40) tableAt += count * 4;
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        masks[3] = headerSize >= 56 ? b.le32(66) : 0;
        if (masks[3] == 0) masks[3] = 0xFF000000, l->guessAlpha = true;
    }
    l->red = Channel(masks[0]), l->green = Channel(masks[1]), l->blue = Channel(masks[2]);
    l->alpha = Channel(masks[3]);

    if (bits <= 8) {
        const uint32_t entries = colours == 0 || colours > (1u << bits) ? 1u << bits : colours;
        const std::size_t entrySize = core ? 3 : 4;
        if (!b.has(tableAt, entries * entrySize)) {
            *error = "the file ends inside its colour table";
            return false;
        }
        for (uint32_t i = 0; i < entries; ++i) {
            const std::size_t at = tableAt + i * entrySize;
            l->palette[i] = b.data[at + 2] | b.data[at + 1] << 8 | b.data[at] << 16;
        }
    }
    return true;
}

bool readRows(const Bytes& b, const Layout& l, RgbaImage* image, std::string* error) {
    const uint64_t rowSize = ((static_cast<uint64_t>(l.width) * l.bits + 31) / 32) * 4;
    if (!b.has(l.offset, rowSize * l.rows)) {
        *error = "the file ends inside its pixel data";
        return false;
    }
    if (!allocatePicture(l.width, l.rows, image, error)) return false;
    bool anyAlpha = false;
    for (int64_t s = 0; s < l.rows; ++s) {
        const uint8_t* row = b.data.data() + l.offset + s * rowSize;
        for (int64_t x = 0; x < l.width; ++x) {
            if (l.bits <= 8) {
                const int64_t bit = x * l.bits;
                const unsigned index =
                    (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
                put(image, l, s, x, l.palette[index]);
            } else if (l.bits == 24) {
                const uint8_t* p = row + x * 3;
                put(image, l, s, x, p[2] | p[1] << 8 | p[0] << 16);
            } else {
                const uint8_t* p = row + x * (l.bits / 8);
                uint32_t v = p[0] | p[1] << 8;
                if (l.bits == 32) v |= static_cast<uint32_t>(p[2] | p[3] << 8) << 16;
                const uint8_t alpha = l.alpha.mask != 0 ? l.alpha(v) : 255;
                anyAlpha = anyAlpha || alpha != 0;
                put(image, l, s, x, l.red(v) | l.green(v) << 8 | l.blue(v) << 16, alpha);
            }
        }
    }
    // Many programs write zeros into the fourth byte of a 32-bit pixel: then it is no alpha.
    if (l.guessAlpha && !anyAlpha)
        for (std::size_t i = 3; i < image->rgba.size(); i += 4) image->rgba[i] = 255;
    return true;
}

// Run-length data: pairs of a count and a colour, or a zero and an escape (end of row, end
// of picture, a jump, or a run of literal pixels). Pixels the data skips stay transparent.
bool readRunLengths(const Bytes& b, const Layout& l, RgbaImage* image, std::string* error) {
    if (!allocatePicture(l.width, l.rows, image, error)) return false;
    const bool four = l.compression == kRle4;
    uint64_t p = l.offset;
    int64_t x = 0, s = 0;
    auto plot = [&](unsigned index) {
        if (x < l.width && s < l.rows) put(image, l, s, x, l.palette[index & 0xFF]);
        ++x;
    };
    while (s < l.rows) {
        if (!b.has(p, 2)) {
            *error = "the file ends inside its pixel data";
            return false;
        }
        const unsigned count = b.data[p], value = b.data[p + 1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                plot(four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
        } else if (value == 0) {
            x = 0, ++s;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!b.has(p, 2)) {
                *error = "the file ends inside its pixel data";
                return false;
            }
            x += b.data[p], s += b.data[p + 1];
            p += 2;
        } else {
            const uint64_t bytes = four ? (value + 1) / 2 : value;
            if (!b.has(p, bytes)) {
                *error = "the file ends inside its pixel data";
                return false;
            }
            for (unsigned i = 0; i < value; ++i)
                plot(four ? (b.data[p + i / 2] >> (i % 2 == 0 ? 4 : 0)) & 0xF : b.data[p + i]);
            p += (bytes + 1) & ~uint64_t{1};
        }
    }
    return true;
}

} // namespace

bool decodeBmp(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    const Bytes b{bytes};
    Layout layout;
    if (!readHeader(b, &layout, error)) return false;
    const bool runs = layout.compression == kRle8 || layout.compression == kRle4;
    const bool ok =
        runs ? readRunLengths(b, layout, image, error) : readRows(b, layout, image, error);
    if (!ok) *image = RgbaImage();
    return ok;
}

} // namespace orvanta
