#include "host/win32/ico_file.h"

namespace orvanta {

namespace {
void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

bool usable(const IconPicture& p) {
    return p.side >= 1 && p.side <= 256 &&
           p.rgb.size() == static_cast<std::size_t>(p.side) * p.side * 3;
}

// A bitmap header (height doubled, counting the mask), the colour rows bottom to top as
// blue, green, red, alpha, then the transparency mask, all clear, rows padded to 32 bits.
std::vector<uint8_t> bitmapOf(const IconPicture& p) {
    const uint32_t side = static_cast<uint32_t>(p.side);
    const uint32_t maskRow = (side + 31) / 32 * 4;
    std::vector<uint8_t> out;
    put32(out, 40);
    put32(out, side);
    put32(out, side * 2);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // uncompressed
    put32(out, side * side * 4 + maskRow * side);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (uint32_t row = side; row-- > 0;)
        for (uint32_t x = 0; x < side; ++x) {
            const uint8_t* rgb = p.rgb.data() + (static_cast<std::size_t>(row) * side + x) * 3;
            out.insert(out.end(), {rgb[2], rgb[1], rgb[0], 0xFF});
        }
    out.resize(out.size() + static_cast<std::size_t>(maskRow) * side, 0);
    return out;
}
} // namespace

std::vector<uint8_t> encodeIcon(const std::vector<IconPicture>& pictures) {
    std::vector<std::vector<uint8_t>> bitmaps;
    std::vector<uint32_t> sides;
    for (const IconPicture& p : pictures)
        if (usable(p)) {
            bitmaps.push_back(bitmapOf(p));
            sides.push_back(static_cast<uint32_t>(p.side));
        }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<uint32_t>(bitmaps.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(bitmaps.size());
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        // A side of 256 is written as 0.
        out.push_back(static_cast<uint8_t>(sides[i] & 0xFF));
        out.push_back(static_cast<uint8_t>(sides[i] & 0xFF));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(bitmaps[i].size());
    }
    for (const auto& b : bitmaps) out.insert(out.end(), b.begin(), b.end());
    return out;
}

} // namespace orvanta
