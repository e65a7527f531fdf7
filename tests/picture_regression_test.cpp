// Faults the picture fuzzer found in the converter's decoders, one test per fault, each
// named after what went wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <string>

#include "media/convert.h"
#include "media/picture.h"
#include "tests/bmp_builder.h"

namespace orvanta::test {
namespace {

RgbaImage decodeOrFail(const std::string& file) {
    RgbaImage image;
    std::string error;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()),
                                         file.size());
    EXPECT_TRUE(decodePicture(bytes, &image, &error)) << error;
    return image;
}

// One row of `pixels` (each 4 bytes) with a 40-byte header and bit-field masks after it.
std::string bitFieldBmp(uint32_t bits, const uint32_t (&masks)[3], const std::string& pixels) {
    const uint32_t width = static_cast<uint32_t>(pixels.size()) / (bits / 8);
    std::string out = "BM";
    appendLE32(out, 66 + static_cast<uint32_t>(pixels.size()));
    appendLE32(out, 0);
    appendLE32(out, 66);
    for (uint32_t v : {40u, width, 1u}) appendLE32(out, v);
    appendLE16(out, 1);
    appendLE16(out, bits);
    appendLE32(out, 3);
    out.append(20, '\0');
    for (uint32_t mask : masks) appendLE32(out, mask);
    return out + pixels;
}

// A colour mask of zero divided by zero when the pixels were widened to 8 bits, and a mask
// as wide as the pixel overflowed 32 bits and read white as black.
TEST(PictureRegression, BitFieldBmpWithAZeroOrFullWidthMaskDividedByZeroOrOverflowed) {
    const RgbaImage zero =
        decodeOrFail(bitFieldBmp(16, {0, 0x07E0, 0x001F}, std::string("\xFF\xFF\x1F\x00", 4)));
    ASSERT_EQ(zero.width, 2);
    EXPECT_EQ(zero.rgba[0], 0);   // no red bits at all
    EXPECT_EQ(zero.rgba[1], 255); // green 63 of 63
    EXPECT_EQ(zero.rgba[2], 255);
    EXPECT_EQ(zero.rgba[4 + 2], 255); // the second pixel: blue only
    EXPECT_EQ(zero.rgba[4 + 1], 0);

    const RgbaImage wide =
        decodeOrFail(bitFieldBmp(32, {0xFFFFFFFF, 0xFF00, 0xFF}, std::string(4, '\xFF')));
    ASSERT_EQ(wide.width, 1);
    EXPECT_EQ(wide.rgba[0], 255);
    EXPECT_EQ(wide.rgba[1], 255);
}

// A GIF of 500 bytes whose empty frame lay far outside its screen made a canvas of 36
// million transparent pixels, and converting it took seconds: every pixel was composed
// over the background in one pass and averaged in another, the crop's outside included.
// Now only the area's pixels are composed, in the same pass that averages them; the
// benchmark BM_ConvertHugeSparseGif times it. Here the one pass must give exactly the
// mean the definition gives: each source pixel composed, weighted by how much of it each
// output pixel covers.
TEST(PictureRegression, HugeCanvasWasComposedWholeBeforeAveragingAndTookSeconds) {
    std::mt19937 random(28);
    RgbaImage image;
    image.width = 37, image.height = 29;
    image.rgba.resize(37 * 29 * 4);
    for (uint8_t& byte : image.rgba) byte = static_cast<uint8_t>(random());
    const uint32_t background = 0x3070B0;
    const PictureRect area{3, 2, 31, 26};
    const int32_t width = 9, height = 7;
    const RgbImage got = averageArea(image, area, width, height, background);
    ASSERT_EQ(got.width, width);
    for (int32_t oy = 0; oy < height; ++oy)
        for (int32_t ox = 0; ox < width; ++ox)
            for (int c = 0; c < 3; ++c) {
                uint64_t sum = 0;
                for (int64_t sy = 0; sy < area.height; ++sy)
                    for (int64_t sx = 0; sx < area.width; ++sx) {
                        // Overlaps in units of 1/width of a source column, 1/height of a row.
                        const int64_t wx =
                            std::max<int64_t>(0, std::min((ox + 1) * area.width, (sx + 1) * width) -
                                                     std::max(ox * area.width, sx * width));
                        const int64_t wy = std::max<int64_t>(
                            0, std::min((oy + 1) * area.height, (sy + 1) * height) -
                                   std::max(oy * area.height, sy * height));
                        const uint8_t* p =
                            image.rgba.data() + ((area.y + sy) * 37 + area.x + sx) * 4;
                        const unsigned under = (background >> (8 * c)) & 0xFF;
                        const unsigned composed = (p[c] * p[3] + under * (255 - p[3]) + 127) / 255;
                        sum += composed * static_cast<uint64_t>(wx * wy);
                    }
                const uint64_t total = static_cast<uint64_t>(area.width * area.height);
                ASSERT_EQ((got.pixel(ox, oy) >> (8 * c)) & 0xFF, (sum + total / 2) / total)
                    << ox << "," << oy << " channel " << c;
            }
    // Without shrinking, the area alone is composed, in place.
    const RgbImage cut = composeOver(RgbaImage(image), area, background);
    ASSERT_EQ(cut.width, 31);
    const uint8_t* corner = image.rgba.data() + (2 * 37 + 3) * 4;
    EXPECT_EQ(cut.pixel(0, 0) & 0xFF,
              (corner[0] * corner[3] + 0xB0 * (255 - corner[3]) + 127) / 255);
}

} // namespace
} // namespace orvanta::test
