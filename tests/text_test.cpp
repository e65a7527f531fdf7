// Text output: cursor movement and wrapping, the glyph lookup, magnified glyph pixels,
// erasing with fg = bg, number printing and its trace, and the font itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/display/text.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

constexpr int32_t kWhite = 0xFFFF, kBlue = 0x001F, kGreen = 0x07E0;

class TextTest : public SystemTest {
  protected:
    // Runs `draw` on a reference display that starts black, with the fixture's text state.
    void onReference(const std::function<void(Display&)>& draw) {
        reference = std::make_unique<Display>();
        reference->tft = tft;
        draw(*reference);
    }
    bool sameAsReference() const {
        return std::memcmp(surface.pixels, reference->surface.pixels, sizeof surface.pixels) == 0;
    }
    std::unique_ptr<Display> reference;
};

TEST_F(TextTest, CursorWrapsBeforeTheCellAndMovesWithTheScale) {
    struct Cell {
        int32_t x, y;
        unsigned char c;
    };
    struct Case {
        const char* name;
        int32_t scale, x, y;
        const char* text;
        int32_t endX, endY;
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {"fits at 122", 1, 122, 0, "AB", 6, 8, {{122, 0, 'A'}, {0, 8, 'B'}}},
        {"wraps at 123", 1, 123, 0, "A", 6, 8, {{0, 8, 'A'}}},
        {"scale 2 fits at 116", 2, 116, 0, "A", 128, 0, {{116, 0, 'A'}}},
        {"scale 2 wraps at 117", 2, 117, 0, "A", 12, 16, {{0, 16, 'A'}}},
        {"line feed", 2, 30, 0, "\n", 0, 16, {}},
        {"carriage return", 2, 5, 3, "\r", 5, 3, {}},
        {"negative x", 1, -3, 10, "AB", 9, 10, {{3, 10, 'B'}}},
        {"below the surface", 1, 0, 130, "ABCDEFGHIJKLMNOPQRSTUV", 6, 138, {}},
        {"scale 0", 0, 40, 40, "AB", 40, 40, {}},
        {"cursor at the 32-bit limit", 1, INT32_MAX - 2, 0, "A", 6, 8, {{0, 8, 'A'}}},
        {"huge scale", INT32_MAX, 0, 0, "A", -6, -8, {}},
    };
    for (const Case& c : cases) {
        surface = Surface{};
        setTextScale(display, c.scale);
        setTextColors(display, kWhite, kBlue);
        moveCursor(display, c.x, c.y);
        printText(display, c.text);
        EXPECT_EQ(tft.cursorX, c.endX) << c.name;
        EXPECT_EQ(tft.cursorY, c.endY) << c.name;
        onReference([&](Display& d) {
            for (const Cell& cell : c.cells)
                drawGlyph(d, cell.x, cell.y, cell.c, kWhite, kBlue, c.scale, c.scale);
        });
        EXPECT_TRUE(sameAsReference()) << c.name;
    }
}

TEST_F(TextTest, HighCodesShowTheFollowingEntry) {
    const struct {
        unsigned char code;
        int entry;
    } cases[] = {{175, 175}, {176, 0xB1}, {219, 0xDC}, {247, 0xF8}, {254, 0xFF}, {255, 0}};
    for (const auto& c : cases) {
        surface = Surface{};
        drawGlyph(display, 0, 0, c.code, kWhite, kBlue, 1, 1);
        EXPECT_TRUE(showsGlyph(0, 0, 1, c.entry, kWhite, kBlue)) << int(c.code);
    }
}

TEST_F(TextTest, MagnifiedGlyphPixelsAreBlockOutlines) {
    // Scale 3 leaves each block's centre as it was; scale 2 blocks are solid; a negative
    // scale covers the blocks between the same corners, mirroring the glyph.
    for (const int32_t scale : {2, 3, -2}) {
        clearDisplay(display, kGreen);
        const int32_t x0 = 40, y0 = 40, s = std::abs(scale);
        drawGlyph(display, x0, y0, 'A', kWhite, kBlue, scale, scale);
        for (int32_t i = 0; i < 6; ++i)
            for (int32_t j = 0; j < 8; ++j) {
                const bool set = i < 5 && ((glyphTable[0x41][i] >> j) & 1);
                const int32_t left = scale > 0 ? x0 + i * s : x0 - (i + 1) * s;
                const int32_t top = scale > 0 ? y0 + j * s : y0 - (j + 1) * s;
                for (int32_t dx = 0; dx < s; ++dx)
                    for (int32_t dy = 0; dy < s; ++dy) {
                        const bool centre = s == 3 && dx == 1 && dy == 1;
                        // The spacing column is one frame; its inside rows stay too.
                        const bool frameInside =
                            s == 3 && i == 5 && dx == 1 && j * 3 + dy > 0 && j * 3 + dy < 23;
                        const int32_t expected =
                            centre || frameInside ? kGreen : (set ? kWhite : kBlue);
                        EXPECT_EQ(pixel(left + dx, top + dy), expected)
                            << "scale " << scale << " glyph pixel " << i << "," << j;
                    }
            }
    }
}

TEST_F(TextTest, EqualColoursPaintOnlyTheSetBits) {
    const auto allGreen = [&] {
        return std::all_of(std::begin(surface.pixels), std::end(surface.pixels),
                           [](Rgb24 p) { return p == color565ToRgb(kGreen); });
    };
    clearDisplay(display, kGreen);
    setTextScale(display, 1);
    setTextColors(display, kWhite, kWhite);
    printText(display, " ");
    EXPECT_TRUE(allGreen()) << "a space with fg = bg paints";
    // Printing again with fg = bg = background erases exactly what the first print painted.
    for (const int32_t scale : {1, 2, 3}) {
        setTextScale(display, scale);
        for (const int32_t fg : {kWhite, kGreen}) {
            setTextColors(display, fg, kGreen);
            moveCursor(display, 20, 40);
            printText(display, "Sf8 W5");
            EXPECT_EQ(allGreen(), fg == kGreen) << "scale " << scale;
        }
    }
}

TEST_F(TextTest, NumbersPrintAsFormattedAndIntegersAreTraced) {
    const struct {
        std::function<void()> print;
        const char* text;
        const char* trace;
    } cases[] = {
        {[this] { printInt(display, -42); }, "-42", "tft.print: -42\n"},
        {[this] { printInt(display, INT32_MIN); }, "-2147483648", "tft.print: -2147483648\n"},
        {[this] { printFloat(display, 2.5f); }, "2.500000", ""},
        {[this] { printFloat(display, -FLT_MAX); },
         "-340282346638528859811704183484516925440.000000", ""},
    };
    for (const auto& c : cases) {
        surface = Surface{};
        takeTrace();
        setTextScale(display, 1);
        setTextColors(display, kWhite, kBlue);
        moveCursor(display, 0, 0);
        c.print();
        const int32_t x = tft.cursorX, y = tft.cursorY;
        EXPECT_EQ(takeTrace(), c.trace);
        onReference([&](Display& d) {
            moveCursor(d, 0, 0);
            printText(d, c.text);
        });
        EXPECT_TRUE(sameAsReference()) << c.text;
        EXPECT_EQ(reference->tft.cursorX, x);
        EXPECT_EQ(reference->tft.cursorY, y);
    }
}

TEST_F(TextTest, FontGolden) {
    // All 256 entries bit for bit, in a 16 x 16 grid on a dark blue background.
    for (int c = 0; c < 256; ++c)
        for (int32_t i = 0; i < 6; ++i)
            for (int32_t j = 0; j < 8; ++j) {
                const bool set = i < 5 && ((glyphTable[c][i] >> j) & 1);
                plot(display, 16 + (c % 16) * 6 + i, (c / 16) * 8 + j, set ? kWhite : 0x0008);
            }
    EXPECT_TRUE(matchesGolden(imageFromSurface(surface), "font"));
}

} // namespace
} // namespace orvanta::test
