#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "config/bmp.h"
#include "config/parser.h"
#include "config/storage.h"
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
        fill(kMarker);
    }
    void fill(Rgb24 colour) {
        for (Rgb24& p : surface.pixels) p = colour;
    }
    bool untouched() const {
        for (Rgb24 p : surface.pixels)
            if (p != kMarker) return false;
        return true;
    }
    // Checks that picture pixel (px, py) landed at (x + px, y + py) wherever that is on
    // the surface, and that nothing else changed.
    void expectPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                       const test::PixelSource& source) {
        int32_t wrong = 0;
        for (int32_t sy = 0; sy < DISPLAY_SIZE; ++sy)
            for (int32_t sx = 0; sx < DISPLAY_SIZE; ++sx) {
                const int64_t px = int64_t{sx} - x, py = int64_t{sy} - y;
                const bool inside = px >= 0 && px < width && py >= 0 && py < height;
                const Rgb24 want =
                    inside ? color565ToRgb(test::expectedColor565(
                                 source(static_cast<int32_t>(px), static_cast<int32_t>(py))))
                           : kMarker;
                if (surface.at(sx, sy) != want && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << sx << "," << sy;
            }
        EXPECT_EQ(wrong, 0);
    }
    static std::string rowLines(int32_t width, int32_t rows) {
        std::string s;
        for (int32_t i = 0; i < rows; ++i)
            s += "End BMP-Line " + std::to_string(width) + " " + std::to_string(i) + "\n";
        return s;
    }
};

TEST_F(BmpTest, HeaderWalkTracesAsFarAsTheFileGets) {
    const std::string head = "\nLoading image 'p.bmp'\n";
    auto header = [](int32_t w, int32_t h, int32_t size) {
        return "File size: " + std::to_string(size) + "\nImage Offset: 54 10\nHeader size: 40\n" +
               "bmpWidth: " + std::to_string(w) + "\nbmpHeight: " + std::to_string(h) + "\n";
    };
    struct Case {
        const char* what;
        test::BmpBuilder bmp;
        std::string trace; // after the "Loading image" line
    };
    test::BmpBuilder base;
    base.width = 2;
    base.height = 2;
    auto with = [&](auto change) {
        test::BmpBuilder b = base;
        change(b);
        return b;
    };
    const Case cases[] = {
        {"planes 0", with([](auto& b) { b.planes = 0; }), header(2, 2, 70)},
        {"planes 2", with([](auto& b) { b.planes = 2; }), header(2, 2, 70)},
        {"8 bit", with([](auto& b) { b.bitsPerPixel = 8; }), header(2, 2, 70) + "Bit Depth: 8\n"},
        {"32 bit", with([](auto& b) { b.bitsPerPixel = 32; }),
         header(2, 2, 70) + "Bit Depth: 32\n"},
        {"compressed", with([](auto& b) { b.compression = 1; }),
         header(2, 2, 70) + "Bit Depth: 24\n"},
        {"wide", with([](auto& b) { b.width = 16385, b.writePixels = false; }),
         header(16385, 2, 54) + "Bit Depth: 24\nImage size: 16385x2\n"},
        {"tall", with([](auto& b) { b.height = INT32_MAX, b.writePixels = false; }),
         header(2, INT32_MAX, 54) + "Bit Depth: 24\nImage size: 2x2147483647\n"},
        {"tall top-down", with([](auto& b) { b.height = INT32_MIN, b.writePixels = false; }),
         header(2, INT32_MIN, 54) + "Bit Depth: 24\nImage size: 2x-2147483648\n"},
        {"just too tall", with([](auto& b) { b.height = -16385, b.writePixels = false; }),
         header(2, -16385, 54) + "Bit Depth: 24\nImage size: 2x-16385\n"},
        {"both huge", with([](auto& b) { b.width = INT32_MAX, b.height = INT32_MAX; }),
         header(INT32_MAX, INT32_MAX, 54) + "Bit Depth: 24\nImage size: 2147483647x2147483647\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::BmpBuilder bmp = c.bmp;
        if (bmp.width > 1000 || bmp.height > 1000 || bmp.height < -1000) bmp.writePixels = false;
        writeFile("p.bmp", bmp.build());
        EXPECT_EQ(drawBmp("p.bmp", 0, 0), 0);
        EXPECT_EQ(takeTrace(), head + c.trace);
        EXPECT_TRUE(untouched());
        EXPECT_FALSE(storageIsOpen());
    }

    writeFile("p.bmp", "PK\x03\x04 not a picture");
    drawBmp("p.bmp", 0, 0);
    EXPECT_EQ(takeTrace(), head);
    writeFile("p.bmp", "B");
    drawBmp("p.bmp", 0, 0);
    EXPECT_EQ(takeTrace(), head);
    drawBmp("none.bmp", 0, 0);
    EXPECT_EQ(takeTrace(), "\nLoading image 'none.bmp'\nError: pf_open\n");
    EXPECT_TRUE(untouched());
}

TEST_F(BmpTest, BottomUpAndTopDownDrawTheSamePicture) {
    test::BmpBuilder bmp;
    bmp.width = 128;
    bmp.height = 128;
    bmp.pixels = test::patternPixel;
    writeFile("up.bmp", bmp.build());
    bmp.height = -128;
    writeFile("down.bmp", bmp.build());

    drawBmp("up.bmp", 0, 0);
    expectPicture(0, 0, 128, 128, test::patternPixel);
    const std::string up = takeTrace();
    const Surface first = surface;
    fill(kMarker);
    drawBmp("down.bmp", 0, 0);
    expectPicture(0, 0, 128, 128, test::patternPixel);
    const std::string down = takeTrace();
    EXPECT_NE(up.find("bmpHeight: 128\n"), std::string::npos);
    EXPECT_NE(down.find("bmpHeight: -128\n"), std::string::npos);
    EXPECT_NE(down.find("Image size: 128x-128\n" + rowLines(128, 128)), std::string::npos);
    EXPECT_TRUE(
        std::equal(std::begin(first.pixels), std::end(first.pixels), std::begin(surface.pixels)));

    // The image line clears to black first and draws at the top-left corner. The picture
    // shows at a glance whether it stands the right way: red grows to the right, blue
    // downwards, a white bar sits top left and a yellow square bottom right.
    bmp.height = 100;
    bmp.pixels = [](int32_t x, int32_t y) -> uint32_t {
        if (x >= 8 && x < 40 && y >= 8 && y < 16) return 0xFFFFFF;
        if (x >= 100 && x < 120 && y >= 75 && y < 95) return 0x00FFFF;
        return static_cast<uint32_t>(x * 2) | static_cast<uint32_t>(y * 2) << 16;
    };
    writeFile("up.bmp", bmp.build());
    parseConfigLine("image;up.bmp");
    EXPECT_TRUE(test::matchesGolden(imageFromSurface(surface, 2), "bmp_pattern"));
}

TEST_F(BmpTest, RowsArePaddedToFourBytes) {
    for (int32_t width = 1; width <= 9; ++width) {
        for (int32_t height : {3, -3}) {
            SCOPED_TRACE(testing::Message() << width << "x" << height);
            test::BmpBuilder bmp;
            bmp.width = width;
            bmp.height = height;
            bmp.pixels = test::patternPixel;
            writeFile("p.bmp", bmp.build());
            fill(kMarker);
            drawBmp("p.bmp", 5, 6);
            expectPicture(5, 6, width, 3, test::patternPixel);
            const std::string t = takeTrace();
            EXPECT_EQ(t.substr(t.find("Image size")), "Image size: " + std::to_string(width) + "x" +
                                                          std::to_string(height) + "\n" +
                                                          rowLines(width, 3));
        }
    }
}

TEST_F(BmpTest, ConvertsChannelsByTheirTopBits) {
    struct Case {
        uint32_t rgb;
        int32_t colour;
    };
    const Case cases[] = {{0x0000FF, 63488}, {0xFFFFFF, 65535}, {0x808080, 33808}, {0x070307, 0},
                          {0xFF0000, 31},    {0x00FF00, 2016},  {0x0C0408, 0x0821}};
    for (const Case& c : cases) {
        test::BmpBuilder bmp;
        bmp.pixels = [&](int32_t, int32_t) { return c.rgb; };
        writeFile("p.bmp", bmp.build());
        drawBmp("p.bmp", 0, 0);
        EXPECT_EQ(pixel(0, 0), c.colour) << std::hex << c.rgb;
    }
}

TEST_F(BmpTest, PicturesLargerThanTheSurfaceAreClippedButEveryRowIsTraced) {
    test::BmpBuilder bmp;
    bmp.width = 300;
    bmp.height = 10;
    bmp.pixels = test::patternPixel;
    writeFile("wide.bmp", bmp.build());
    drawBmp("wide.bmp", 0, 0);
    expectPicture(0, 0, 300, 10, test::patternPixel);
    const std::string t = takeTrace();
    EXPECT_EQ(t.substr(t.find("Image size")), "Image size: 300x10\n" + rowLines(300, 10));

    struct Case {
        int32_t x, y;
    };
    bmp.width = 40;
    bmp.height = 30;
    writeFile("p.bmp", bmp.build());
    for (const Case c : {Case{-10, -5}, Case{100, 110}, Case{-39, 127}, Case{128, 0}, Case{0, -30},
                         Case{INT32_MIN, INT32_MAX}, Case{INT32_MAX, 5}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        fill(kMarker);
        drawBmp("p.bmp", c.x, c.y);
        expectPicture(c.x, c.y, 40, 30, test::patternPixel);
        const std::string rows = takeTrace();
        EXPECT_EQ(rows.substr(rows.find("Image size")), "Image size: 40x30\n" + rowLines(40, 30));
        // The cursor is left on the picture's last pixel, as a walk over every pixel would.
        EXPECT_EQ(tft.cursorX, static_cast<int32_t>(static_cast<uint32_t>(c.x) + 39));
        EXPECT_EQ(tft.cursorY, static_cast<int32_t>(static_cast<uint32_t>(c.y) + 29));
    }
}

TEST_F(BmpTest, PixelsWithoutDataAreBlack) {
    test::BmpBuilder bmp;
    bmp.width = 4;
    bmp.height = 3;
    bmp.pixels = [](int32_t, int32_t) { return 0xFFFFFFu; };
    const std::string full = bmp.build();
    // Bottom-up: the first stored row is picture row 2. Cut after one row and 7 bytes, so
    // row 1 keeps two whole pixels and the blue byte of the third.
    writeFile("cut.bmp", full.substr(0, 54 + 12 + 7));
    drawBmp("cut.bmp", 0, 0);
    const int32_t want[3][4] = {{0, 0, 0, 0}, {65535, 65535, 31, 0}, {65535, 65535, 65535, 65535}};
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, y), want[y][x]) << x << "," << y;
    const std::string t = takeTrace();
    EXPECT_EQ(t.substr(t.find("Image size")), "Image size: 4x3\n" + rowLines(4, 3));

    // Offsets beyond the file or before its start read nothing either.
    for (int64_t offset : {int64_t{INT32_MAX}, int64_t{-2000000000}, int64_t{4000}}) {
        SCOPED_TRACE(offset);
        std::string file = full;
        const uint32_t field = static_cast<uint32_t>(offset);
        for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<char>((field >> (8 * i)) & 0xFF);
        writeFile("off.bmp", file);
        fill(kMarker);
        drawBmp("off.bmp", 0, 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, y), 0) << x << "," << y;
    }
}

TEST_F(BmpTest, NonPositiveWidthsDrawNothingButTraceEveryRow) {
    for (int32_t width : {0, -5, INT32_MIN}) {
        SCOPED_TRACE(width);
        test::BmpBuilder bmp;
        bmp.width = width;
        bmp.height = 3;
        writeFile("p.bmp", bmp.build());
        drawBmp("p.bmp", 0, 0);
        const std::string t = takeTrace();
        EXPECT_EQ(t.substr(t.find("Image size")),
                  "Image size: " + std::to_string(width) + "x3\n" + rowLines(0, 3));
        EXPECT_TRUE(untouched());
    }
}

TEST_F(BmpTest, OnlyThePixelOffsetLocatesTheRows) {
    for (uint32_t headerSize : {40u, 108u, 124u}) {
        for (int64_t offset : {int64_t{-1}, int64_t{14 + headerSize + 77}}) {
            SCOPED_TRACE(testing::Message() << headerSize << " " << offset);
            test::BmpBuilder bmp;
            bmp.width = 7;
            bmp.height = 5;
            bmp.headerSize = headerSize;
            bmp.pixelOffset = offset;
            bmp.pixels = test::patternPixel;
            writeFile("p.bmp", bmp.build());
            fill(kMarker);
            drawBmp("p.bmp", 3, 2);
            expectPicture(3, 2, 7, 5, test::patternPixel);
        }
    }
}

TEST_F(BmpTest, ImageLineClearsTheDisplayAndPassesTheNameVerbatim) {
    test::BmpBuilder bmp;
    bmp.pixels = [](int32_t, int32_t) { return 0xFFFFFFu; };
    writeFile("p.bmp", bmp.build());
    parseConfigLine("image;p.bmp;");
    EXPECT_EQ(trace(), "\nLoading image 'p.bmp;'\nError: pf_open\n");
    for (Rgb24 p : surface.pixels) ASSERT_EQ(p, 0u);
    parseConfigLine("image;p.bmp;x");
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
    EXPECT_EQ(pixel(1, 0), 0);
}

// Pictures written by ImageMagick, so that the loader is held to the format as another
// tool writes it and not only to this project's idea of it.
TEST_F(BmpTest, ReadsPicturesWrittenByImageMagick) {
    ASSERT_EQ(std::system("convert -version > /dev/null 2>&1"), 0)
        << "ImageMagick's convert is needed for this test (Debian package imagemagick)";
    RgbImage source;
    source.width = 5;
    source.height = 3;
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) {
            source.rgb.push_back(static_cast<uint8_t>(test::patternPixel(x, y) & 0xFF));
            source.rgb.push_back(static_cast<uint8_t>((test::patternPixel(x, y) >> 8) & 0xFF));
            source.rgb.push_back(static_cast<uint8_t>((test::patternPixel(x, y) >> 16) & 0xFF));
        }
    ASSERT_TRUE(writePng((folder / "source.png").string(), source));
    struct Case {
        const char* format;
        int32_t headerSize;
    };
    for (const Case c : {Case{"BMP3", 40}, Case{"BMP", 124}}) {
        SCOPED_TRACE(c.format);
        const std::string command = "convert '" + (folder / "source.png").string() +
                                    "' -type TrueColor '" + c.format + ":" +
                                    (folder / "tool.bmp").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        fill(kMarker);
        drawBmp("tool.bmp", 10, 20);
        const std::string t = takeTrace();
        EXPECT_NE(t.find("Header size: " + std::to_string(c.headerSize) + "\n"), std::string::npos)
            << t;
        EXPECT_NE(t.find("Image size: 5x3\n"), std::string::npos) << t;
        expectPicture(10, 20, 5, 3, test::patternPixel);
    }
}

} // namespace
} // namespace orvanta
