#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/config/bmp.h"
#include "core/config/parser.h"
#include "core/storage/storage.h"
#include "core/syntax/fields.h"
#include "media/image.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

constexpr Rgb24 kMarker = 0x00FF00; // a surface colour no test picture draws

class BmpTest : public test::SystemTest {
  protected:
    void SetUp() override {
        test::SystemTest::SetUp();
        std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
    }
    // Picture pixel (px, py) must be at (x + px, y + py) wherever that is on the surface,
    // and nothing else may have changed.
    void expectPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                       const test::PixelSource& source = test::patternPixel) {
        int32_t wrong = 0;
        for (int32_t sy = 0; sy < DISPLAY_SIZE; ++sy)
            for (int32_t sx = 0; sx < DISPLAY_SIZE; ++sx) {
                const int64_t px = int64_t{sx} - x, py = int64_t{sy} - y;
                const bool inside = px >= 0 && px < width && py >= 0 && py < height;
                const Rgb24 want =
                    inside ? color565ToRgb(test::expectedColor565(source(int32_t(px), int32_t(py))))
                           : kMarker;
                if (surface.at(sx, sy) != want && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << sx << "," << sy;
            }
    }
    // The trace from "Image size: " on.
    std::string drawTail(const std::string& name, int32_t x = 0, int32_t y = 0) {
        drawBmp(display, device.storage, device.trace, name.c_str(), x, y);
        EXPECT_FALSE(storageIsOpen(device.storage));
        const std::string t = takeTrace();
        return t.substr(std::min(t.size(), t.find("Image size: ")));
    }
    static std::string rowLines(std::string size, int32_t width, int32_t rows) {
        for (int32_t i = 0; i < rows; ++i)
            size += "End BMP-Line " + std::to_string(width) + " " + std::to_string(i) + "\n";
        return size;
    }
};

TEST_F(BmpTest, HeaderWalkTracesAsFarAsTheFileGets) {
    const struct {
        int32_t width, height;
        uint32_t planes, bits, compression;
        const char* tail; // after the "bmpHeight: " line
    } cases[] = {
        {2, 2, 0, 24, 0, ""},
        {2, 2, 2, 24, 0, ""},
        {2, 2, 1, 8, 0, "Bit Depth: 8\n"},
        {2, 2, 1, 32, 0, "Bit Depth: 32\n"},
        {2, 2, 1, 24, 1, "Bit Depth: 24\n"},
        // Too large: nothing after the size line, and no time spent on the rows.
        {16385, 2, 1, 24, 0, "Bit Depth: 24\nImage size: 16385x2\n"},
        {2, -16385, 1, 24, 0, "Bit Depth: 24\nImage size: 2x-16385\n"},
        {2, INT32_MIN, 1, 24, 0, "Bit Depth: 24\nImage size: 2x-2147483648\n"},
        {INT32_MAX, INT32_MAX, 1, 24, 0, "Bit Depth: 24\nImage size: 2147483647x2147483647\n"}};
    for (const auto& c : cases) {
        test::BmpBuilder bmp;
        bmp.width = c.width, bmp.height = c.height, bmp.planes = c.planes;
        bmp.bitsPerPixel = c.bits, bmp.compression = c.compression;
        bmp.writePixels = c.width == 2 && c.height == 2;
        writeFile("p.bmp", bmp.build());
        EXPECT_EQ(drawBmp(display, device.storage, device.trace, "p.bmp", 0, 0), 0);
        EXPECT_EQ(
            takeTrace(),
            "\nLoading image 'p.bmp'\nFile size: " + std::to_string(bmp.writePixels ? 70 : 54) +
                "\nImage Offset: 54 10\nHeader size: 40\nbmpWidth: " + std::to_string(c.width) +
                "\nbmpHeight: " + std::to_string(c.height) + "\n" + c.tail);
        expectPicture(0, 0, 0, 0);
        EXPECT_FALSE(storageIsOpen(device.storage));
    }
    for (const char* notBmp : {"PK\x03\x04 not a picture", "B", ""}) {
        writeFile("p.bmp", notBmp);
        drawBmp(display, device.storage, device.trace, "p.bmp", 0, 0);
        EXPECT_EQ(takeTrace(), "\nLoading image 'p.bmp'\n");
    }
    drawBmp(display, device.storage, device.trace, "none.bmp", 0, 0);
    EXPECT_EQ(takeTrace(), "\nLoading image 'none.bmp'\nError: pf_open\n");
    expectPicture(0, 0, 0, 0);
}

TEST_F(BmpTest, BottomUpAndTopDownDrawTheSamePicture) {
    test::BmpBuilder bmp;
    bmp.width = bmp.height = 128;
    bmp.pixels = test::patternPixel;
    writeFile("up.bmp", bmp.build());
    bmp.height = -128;
    writeFile("down.bmp", bmp.build());
    EXPECT_EQ(drawTail("up.bmp"), rowLines("Image size: 128x128\n", 128, 128));
    expectPicture(0, 0, 128, 128);
    std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
    EXPECT_EQ(drawTail("down.bmp"), rowLines("Image size: 128x-128\n", 128, 128));
    expectPicture(0, 0, 128, 128);

    // The image line clears to black and draws at the top-left corner. The picture shows
    // at a glance whether it stands the right way: red grows to the right, blue downwards,
    // a white bar sits top left and a yellow square bottom right.
    bmp.height = 100;
    bmp.pixels = [](int32_t x, int32_t y) -> uint32_t {
        if (x >= 8 && x < 40 && y >= 8 && y < 16) return 0xFFFFFF;
        if (x >= 100 && x < 120 && y >= 75 && y < 95) return 0x00FFFF;
        return uint32_t(x * 2) | uint32_t(y * 2) << 16;
    };
    writeFile("up.bmp", bmp.build());
    parseConfigLine(loading, "image;up.bmp");
    EXPECT_TRUE(test::matchesGolden(imageFromSurface(surface, 2), "bmp_pattern"));
}

TEST_F(BmpTest, RowsArePaddedAndWidthsBelowOneDrawNothing) {
    for (int32_t width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, -5, INT32_MIN}) {
        for (int32_t height : {3, -3}) {
            SCOPED_TRACE(testing::Message() << width << "x" << height);
            test::BmpBuilder bmp;
            bmp.width = width, bmp.height = height, bmp.pixels = test::patternPixel;
            writeFile("p.bmp", bmp.build());
            std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
            EXPECT_EQ(drawTail("p.bmp", 5, 6), rowLines("Image size: " + std::to_string(width) +
                                                            "x" + std::to_string(height) + "\n",
                                                        std::max(width, 0), 3));
            expectPicture(5, 6, std::max(width, 0), 3);
        }
    }
}

TEST_F(BmpTest, ConvertsChannelsByTheirTopBits) {
    const struct {
        uint32_t rgb;
        int32_t colour;
    } cases[] = {{0x0000FF, 63488}, {0xFFFFFF, 65535}, {0x808080, 33808}, {0x070307, 0},
                 {0xFF0000, 31},    {0x00FF00, 2016},  {0x0C0408, 0x0821}};
    for (const auto& c : cases) {
        test::BmpBuilder bmp;
        bmp.pixels = [&](int32_t, int32_t) { return c.rgb; };
        writeFile("p.bmp", bmp.build());
        drawBmp(display, device.storage, device.trace, "p.bmp", 0, 0);
        EXPECT_EQ(pixel(0, 0), c.colour) << std::hex << c.rgb;
    }
}

TEST_F(BmpTest, PicturesAreClippedToTheSurfaceButEveryRowIsTraced) {
    test::BmpBuilder bmp;
    bmp.width = 300, bmp.height = 10, bmp.pixels = test::patternPixel;
    writeFile("wide.bmp", bmp.build());
    EXPECT_EQ(drawTail("wide.bmp"), rowLines("Image size: 300x10\n", 300, 10));
    expectPicture(0, 0, 300, 10);

    bmp.width = 40, bmp.height = 30;
    writeFile("p.bmp", bmp.build());
    const struct {
        int32_t x, y;
    } places[] = {{-10, -5}, {100, 110}, {-39, 127},      {128, 0},
                  {0, -30},  {-40, 0},   {INT32_MIN, -1}, {INT32_MAX, INT32_MAX}};
    for (const auto& c : places) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
        EXPECT_EQ(drawTail("p.bmp", c.x, c.y), rowLines("Image size: 40x30\n", 40, 30));
        expectPicture(c.x, c.y, 40, 30);
        // The cursor is left on the last pixel, as a walk over every pixel leaves it.
        EXPECT_EQ(tft.cursorX, int32_t(uint32_t(c.x) + 39));
        EXPECT_EQ(tft.cursorY, int32_t(uint32_t(c.y) + 29));
    }
}

TEST_F(BmpTest, PixelsWithoutDataAreBlack) {
    test::BmpBuilder bmp;
    bmp.width = 4, bmp.height = 3, bmp.pixels = [](int32_t, int32_t) { return 0xFFFFFFu; };
    const std::string full = bmp.build();
    // Bottom-up, so the first stored row is picture row 2. The cut leaves row 1 two whole
    // pixels and the blue byte of the third.
    writeFile("cut.bmp", full.substr(0, 54 + 12 + 7));
    EXPECT_EQ(drawTail("cut.bmp"), rowLines("Image size: 4x3\n", 4, 3));
    const int32_t want[3][4] = {{0, 0, 0, 0}, {65535, 65535, 31, 0}, {65535, 65535, 65535, 65535}};
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, y), want[y][x]) << x << "," << y;

    // Pixel offsets beyond the end or before the start of the file read nothing either.
    for (uint32_t offset : {uint32_t(INT32_MAX), uint32_t(-2000000000), 4000u}) {
        std::string file = full;
        for (int i = 0; i < 4; ++i) file[10 + i] = char(offset >> (8 * i));
        writeFile("off.bmp", file);
        drawBmp(display, device.storage, device.trace, "off.bmp", 0, 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, y), 0) << offset;
    }
}

TEST_F(BmpTest, OnlyThePixelOffsetLocatesTheRows) {
    for (uint32_t headerSize : {40u, 108u, 124u}) {
        for (int64_t gap : {0, 77}) {
            test::BmpBuilder bmp;
            bmp.width = 7, bmp.height = 5, bmp.headerSize = headerSize;
            bmp.pixelOffset = 14 + headerSize + gap, bmp.pixels = test::patternPixel;
            writeFile("p.bmp", bmp.build());
            std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
            drawBmp(display, device.storage, device.trace, "p.bmp", 3, 2);
            expectPicture(3, 2, 7, 5);
        }
    }
}

TEST_F(BmpTest, ImageLinePassesTheNameVerbatim) {
    test::BmpBuilder bmp;
    bmp.pixels = [](int32_t, int32_t) { return 0xFFFFFFu; };
    writeFile("p.bmp", bmp.build());
    parseConfigLine(loading, "image;p.bmp;");
    EXPECT_EQ(trace(), "\nLoading image 'p.bmp;'\nError: pf_open\n");
    EXPECT_EQ(std::count(std::begin(surface.pixels), std::end(surface.pixels), 0u), 16384);
    parseConfigLine(loading, "image;p.bmp;x");
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
    EXPECT_EQ(pixel(1, 0), 0);
}

// Pictures written by ImageMagick hold the loader to the format as another tool writes
// it, not only to this project's idea of it.
TEST_F(BmpTest, ReadsPicturesWrittenByImageMagick) {
    ASSERT_EQ(std::system("convert -version > /dev/null 2>&1"), 0)
        << "this test needs ImageMagick's convert (Debian package imagemagick)";
    RgbImage source;
    source.width = 5, source.height = 3;
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            for (int shift : {0, 8, 16})
                source.rgb.push_back(uint8_t(test::patternPixel(x, y) >> shift));
    ASSERT_TRUE(writePng((folder / "source.png").string(), source));
    for (const auto& [format, headerSize] : {std::pair{"BMP3", 40}, std::pair{"BMP", 124}}) {
        const std::string command = "convert '" + (folder / "source.png").string() +
                                    "' -type TrueColor '" + format + ":" +
                                    (folder / "tool.bmp").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::fill(std::begin(surface.pixels), std::end(surface.pixels), kMarker);
        drawBmp(display, device.storage, device.trace, "tool.bmp", 10, 20);
        const std::string t = takeTrace();
        EXPECT_NE(t.find("Header size: " + std::to_string(headerSize) + "\n"), std::string::npos);
        EXPECT_NE(t.find("Image size: 5x3\n"), std::string::npos) << t;
        expectPicture(10, 20, 5, 3);
    }
}

} // namespace
} // namespace orvanta
