// The converter's options on pictures built byte by byte, and the BMP kinds no common
// program writes: run-length 4-bit, top-down rows and the two readings of a 32-bit
// picture's fourth byte.
#include <gtest/gtest.h>

#include <string>

#include "core/display/surface.h"
#include "media/convert.h"
#include "tests/bmp_builder.h"

namespace orvanta::test {
namespace {

std::span<const uint8_t> bytesOf(const std::string& file) {
    return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

ConvertResult convert(const std::string& file, const ConvertOptions& options = {}) {
    ConvertResult result;
    std::string error;
    EXPECT_TRUE(convertPicture(bytesOf(file), options, &result, &error)) << error;
    return result;
}

std::string bmp24(int32_t width, int32_t height, PixelSource pixels = patternPixel) {
    BmpBuilder b;
    b.width = width;
    b.height = height;
    b.pixels = pixels;
    return b.build();
}

// A BMP with a 40-byte header, the given colour table and pixel data as they stand.
std::string bmpWith(int32_t width, int32_t height, uint32_t bits, uint32_t compression,
                    const std::string& table, const std::string& data) {
    std::string out = "BM";
    const uint32_t offset = 54 + static_cast<uint32_t>(table.size());
    appendLE32(out, offset + static_cast<uint32_t>(data.size()));
    appendLE32(out, 0);
    appendLE32(out, offset);
    appendLE32(out, 40);
    appendLE32(out, static_cast<uint32_t>(width));
    appendLE32(out, static_cast<uint32_t>(height));
    appendLE16(out, 1);
    appendLE16(out, bits);
    appendLE32(out, compression);
    out.append(20, '\0');
    return out + table + data;
}

TEST(PictureOptionsTest, SizesFollowFitAndCrop) {
    const struct {
        int32_t width, height;
        ConvertOptions options;
        int32_t wantWidth, wantHeight;
    } cases[] = {
        {300, 200, {}, 128, 85},
        {200, 300, {}, 85, 128},
        {50, 40, {}, 50, 40},
        {300, 200, {.fit = PictureRect{0, 0, 64, 64}}, 64, 43},
        {50, 40, {.fit = PictureRect{0, 0, 300, 300}}, 50, 40},
        {300, 200, {.crop = PictureRect{10, 20, 30, 40}}, 30, 40},
        {300, 200, {.fit = PictureRect{0, 0, 10, 10}, .crop = PictureRect{0, 0, 300, 20}}, 10, 1},
        {20, 20, {.place = PictureRect{120, -5, 0, 0}}, 128, 128},
    };
    for (const auto& c : cases) {
        const ConvertResult r = convert(bmp24(c.width, c.height), c.options);
        EXPECT_EQ(r.picture.width, c.wantWidth) << c.width << "x" << c.height;
        EXPECT_EQ(r.picture.height, c.wantHeight) << c.width << "x" << c.height;
    }
    ConvertResult r;
    std::string error;
    EXPECT_FALSE(
        convertPicture(bytesOf(bmp24(30, 20)), {.crop = PictureRect{10, 0, 21, 20}}, &r, &error));
    EXPECT_EQ(error, "the crop 10,0,21,20 does not lie within the 30 x 20 picture");
}

TEST(PictureOptionsTest, CropPlaceAndAveragingKeepOrMixTheRightPixels) {
    const ConvertResult cropped = convert(bmp24(60, 50), {.crop = PictureRect{7, 9, 20, 30}});
    const ConvertResult placed =
        convert(bmp24(20, 20), {.background = 0x123456, .place = PictureRect{120, -5, 0, 0}});
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 20; ++x)
            ASSERT_EQ(cropped.picture.pixel(x, y), patternPixel(x + 7, y + 9)) << x << "," << y;
    EXPECT_EQ(placed.picture.pixel(127, 0), patternPixel(7, 5));
    EXPECT_EQ(placed.picture.pixel(119, 0), 0x123456u);
    EXPECT_EQ(placed.picture.pixel(127, 15), 0x123456u);

    // Three columns into two: each output column takes two thirds of its outer neighbour
    // and one third of the middle one.
    const uint32_t row[] = {0x000000, 0x5A5A5A, 0xFFFFFF};
    const ConvertResult shrunk = convert(bmp24(3, 1, [&row](int32_t x, int32_t) { return row[x]; }),
                                         {.fit = PictureRect{0, 0, 2, 2}});
    ASSERT_EQ(shrunk.picture.width, 2);
    EXPECT_EQ(shrunk.picture.pixel(0, 0), 0x1E1E1Eu); // (0 + 0 + 90) / 3
    EXPECT_EQ(shrunk.picture.pixel(1, 0), 0xC8C8C8u); // (90 + 255 + 255) / 3
}

TEST(PictureOptionsTest, AlphaOfThirtyTwoBitPicturesAndTheBackground) {
    // Blue, green, red, fourth byte: half-transparent red and opaque green.
    const std::string halfRed = std::string("\x00\x00\xff\x80\x00\xff\x00\xff", 8);
    const std::string zeros = std::string("\x00\x00\xff\x00\x00\xff\x00\x00", 8);
    const ConvertOptions overBlue{.background = 0xFF0000};
    const ConvertResult alpha = convert(bmpWith(2, 1, 32, 0, "", halfRed), overBlue);
    EXPECT_EQ(alpha.picture.pixel(0, 0), 0x7F0080u); // 255 * 128 / 255 red, 127 blue
    EXPECT_EQ(alpha.picture.pixel(1, 0), 0x00FF00u);
    const ConvertResult noAlpha = convert(bmpWith(2, 1, 32, 0, "", zeros), overBlue);
    EXPECT_EQ(noAlpha.picture.pixel(0, 0), 0x0000FFu) << "all-zero fourth bytes are no alpha";
    EXPECT_EQ(noAlpha.picture.pixel(1, 0), 0x00FF00u);
    // The same zeros under a header's alpha mask make the picture transparent.
    std::string masked = bmpWith(2, 1, 32, 6, std::string(16, '\0'), zeros);
    masked[14] = 56, masked[10] = 70;
    masked.replace(54, 16, std::string("\0\0\xff\0\0\xff\0\0\xff\0\0\0\0\0\0\xff", 16));
    EXPECT_EQ(convert(masked, overBlue).picture.pixel(1, 0), 0xFF0000u);
}

TEST(PictureOptionsTest, RunLengthFourBitAndTopDownRows) {
    std::string table;
    for (uint32_t i = 0; i < 16; ++i) appendLE32(table, i * 0x100010u); // blue and red
    // Bottom row: a run of 5 alternating 1,2 then an absolute run 3,4,5; top row: a jump
    // right by 2, then 2 pixels of 15; then the end.
    const std::string data("\x05\x12\x00\x03\x34\x50\x00\x00\x00\x02\x02\x00\x02\xff\x00\x01", 16);
    const RgbImage p = convert(bmpWith(8, 2, 4, 2, table, data), {.background = 0x0000FF}).picture;
    const uint32_t want[2][8] = {
        {0xFF, 0xFF, 0xF000F0, 0xF000F0, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x100010, 0x200020, 0x100010, 0x200020, 0x100010, 0x300030, 0x400040, 0x500050}};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(p.pixel(x, y), want[y][x]) << x << "," << y;

    EXPECT_EQ(convert(bmp24(9, -7)).picture, convert(bmp24(9, 7)).picture);
}

TEST(PictureOptionsTest, DitheringWritesOnlyPanelColoursAndKeepsTheirMean) {
    const auto grey100 = [](int32_t, int32_t) { return 0x646464u; };
    const ConvertResult plain = convert(bmp24(64, 64, grey100));
    const ConvertResult dithered = convert(bmp24(64, 64, grey100), {.dither = true});
    EXPECT_EQ(plain.changedByPanel, 64 * 64);
    double sum[3] = {0, 0, 0};
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const uint32_t p = dithered.picture.pixel(x, y);
            ASSERT_EQ(color565ToRgb(rgbToColor565(p)), p) << x << "," << y;
            for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
        }
    // The panel's nearest levels are 98 and 106 for red and blue, 97 and 101 for green.
    for (double s : sum) EXPECT_NEAR(s / (64 * 64), 100.0, 0.5);
}

} // namespace
} // namespace orvanta::test
