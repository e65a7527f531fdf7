// The short cuts taken for speed must paint exactly what the general path paints: a
// rectangle given as a quad, tabulated whole-degree sines and cosines, and glyphs at
// scale 1 that run off the right and bottom edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/text.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

class FastPathsTest : public SystemTest {};

TEST_F(FastPathsTest, RectangleQuadsPaintTheirTwoTriangles) {
    std::mt19937_64 rng(77);
    const int32_t spans[] = {20, 300, 2000000000};
    for (int n = 0; n < 400; ++n) {
        const auto coord = [&] {
            const int64_t span = spans[rng() % 3];
            return static_cast<int32_t>(static_cast<int64_t>(rng() % (2 * span + 1)) - span + 64);
        };
        const int32_t xa = coord(), ya = coord(), xb = coord(), yb = coord();
        // Both windings: first edge horizontal, or first edge vertical.
        const bool flat = n % 2 == 0;
        const int32_t x1 = flat ? xb : xa, y1 = flat ? ya : yb;
        const int32_t x3 = flat ? xa : xb, y3 = flat ? yb : ya;
        clearDisplay(display, 0);
        solidTriangle(display, xa, ya, x1, y1, xb, yb, 0xFFFF);
        solidTriangle(display, x3, y3, xa, ya, xb, yb, 0xFFFF);
        const Surface expected = surface;
        clearDisplay(display, 0);
        solidQuad(display, xa, ya, x1, y1, xb, yb, x3, y3, 0xFFFF);
        ASSERT_TRUE(std::equal(std::begin(surface.pixels), std::end(surface.pixels),
                               std::begin(expected.pixels)))
            << "rectangle " << xa << "," << ya << " to " << xb << "," << yb;
    }
}

TEST_F(FastPathsTest, DegreeHelpersMatchTheLibraryAtEveryWholeDegree) {
    const double degree = static_cast<double>(0.017453292f);
    for (int32_t deg = -1500; deg <= 1500; ++deg) {
        ASSERT_EQ(sinScaled(deg, 1000000, 0.8),
                  truncToInt32((std::sin(deg * degree) * 1000000) * 0.8))
            << deg;
        ASSERT_EQ(cosScaled(deg, 1000000, 0.8),
                  truncToInt32((std::cos(deg * degree) * 1000000) * 0.8))
            << deg;
    }
}

TEST_F(FastPathsTest, ScaleOneGlyphsAreClippedAtTheFarEdges) {
    for (const bool opaque : {true, false}) {
        clearDisplay(display, 0x001F);
        drawGlyph(display, 125, 123, 'W', 0xF800, opaque ? 0x07E0 : 0xF800, 1, 1);
        for (int32_t i = 0; i < 3; ++i) {
            for (int32_t j = 0; j < 5; ++j) {
                const bool on = (glyphTable[0x57][i] >> j) & 1;
                const int32_t want = on ? 0xF800 : (opaque ? 0x07E0 : 0x001F);
                ASSERT_EQ(pixel(125 + i, 123 + j), want) << i << "," << j;
            }
        }
    }
}

} // namespace
} // namespace orvanta::test
