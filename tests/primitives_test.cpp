// Drawing primitives: the coverage rules, the degree helpers, and invariants over many
// random shapes, among them huge and off-surface ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "core/display/primitives.h"
#include "core/display/raster.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

constexpr int32_t kInk = 0xFFFF;

class PrimitivesTest : public SystemTest {
  protected:
    // Whether (x, y) holds something other than black; false outside the surface.
    bool painted(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < DISPLAY_SIZE && y < DISPLAY_SIZE && surface.at(x, y) != 0;
    }
};

TEST_F(PrimitivesTest, DegreeHelpersTruncateTheSinglePrecisionDegreeProduct) {
    struct Case {
        bool sine;
        int32_t deg, r;
        double k;
        int32_t expected;
    };
    // The last case saturates instead of overflowing.
    const Case cases[] = {{true, 0, 50, 1, 0},     {true, 30, 20, 1, 9},
                          {true, 90, 50, 1, 49},   {true, 90, 50, 0.7, 34},
                          {true, 150, 20, 1, 10},  {true, 270, 50, 1, -49},
                          {true, -30, 20, 1, -9},  {true, 90, -50, 1, -49},
                          {true, 45, 10, 0.7, 4},  {false, 0, 50, 1, 50},
                          {false, 60, 20, 1, 10},  {false, 90, 50, 1, 0},
                          {false, 120, 20, 1, -9}, {false, 180, 50, 1, -49},
                          {false, 360, 50, 1, 49}, {true, 90, INT32_MAX, 1e30, INT32_MAX}};
    for (const Case& c : cases) {
        const int32_t got = c.sine ? sinScaled(c.deg, c.r, c.k) : cosScaled(c.deg, c.r, c.k);
        EXPECT_EQ(got, c.expected) << (c.sine ? "sin " : "cos ") << c.deg << " " << c.r;
    }
}

TEST_F(PrimitivesTest, CoverageRules) {
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::function<bool(int32_t, int32_t)> covers;
    };
    const auto box = [](int32_t l, int32_t t, int32_t r, int32_t b) {
        return [=](int32_t x, int32_t y) { return x >= l && x <= r && y >= t && y <= b; };
    };
    const Case cases[] = {
        {"point line", [this] { strokeLine(display, 5, 5, 5, 5, kInk); }, box(0, 0, -1, -1)},
        {"line right", [this] { strokeLine(display, 0, 0, 3, 0, kInk); }, box(0, 0, 2, 0)},
        {"line left", [this] { strokeLine(display, 3, 0, 0, 0, kInk); }, box(1, 0, 3, 0)},
        {"line down", [this] { strokeLine(display, 7, 2, 7, 6, kInk); }, box(7, 2, 7, 5)},
        {"line up", [this] { strokeLine(display, 7, 6, 7, 2, kInk); }, box(7, 3, 7, 6)},
        {"diagonal", [this] { strokeLine(display, 14, 14, 10, 10, kInk); },
         [](int32_t x, int32_t y) { return x == y && x >= 11 && x <= 14; }},
        {"outline 2x2", [this] { outlineRect(display, 10, 10, 2, 2, kInk); }, box(10, 10, 11, 11)},
        {"outline 3x3", [this] { outlineRect(display, 10, 10, 3, 3, kInk); },
         [=](int32_t x, int32_t y) { return box(10, 10, 12, 12)(x, y) && !(x == 11 && y == 11); }},
        {"outline 1x8", [this] { outlineRect(display, 10, 10, 1, 8, kInk); }, box(10, 10, 10, 17)},
        {"outline negative", [this] { outlineRect(display, 13, 12, -3, -2, kInk); },
         box(10, 10, 12, 11)},
        {"outline empty", [this] { outlineRect(display, 10, 10, 0, 5, kInk); }, box(0, 0, -1, -1)},
        // The far corner wraps in 32 bits as on the device, so this box spans the surface.
        {"outline wrapping", [this] { outlineRect(display, INT32_MAX - 9, 10, 20, 5, kInk); },
         [=](int32_t x, int32_t y) {
             return box(0, 10, 127, 10)(x, y) || box(0, 14, 127, 14)(x, y);
         }},
        {"collinear triangle", [this] { solidTriangle(display, 0, 0, 10, 0, 20, 0, kInk); },
         box(0, 0, 20, 0)},
        {"quad", [this] { solidQuad(display, 0, 0, 10, 0, 10, 10, 0, 10, kInk); },
         box(0, 0, 10, 10)},
        {"round box corner 0", [this] { solidRoundBox(display, 10, 10, 20, 6, 0, kInk); },
         box(10, 10, 29, 15)},
        {"round box empty", [this] { solidRoundBox(display, 10, 10, 20, 0, 4, kInk); },
         box(0, 0, -1, -1)},
        {"circle radius 0", [this] { solidCircle(display, 10, 10, 0, kInk); }, box(0, 0, -1, -1)},
        {"circle radius 1", [this] { solidCircle(display, 10, 10, 1, kInk); }, box(9, 9, 10, 10)},
        {"huge disc", [this] { solidCircle(display, 0, 0, 2000000000, kInk); },
         box(0, 0, 127, 127)},
        {"huge ring", [this] { ringCircle(display, 0, 0, 2000000000, kInk); }, box(0, 0, -1, -1)},
        {"huge triangle",
         [this] {
             solidTriangle(display, -1000000000, -1000000000, 1000000000, 1000000000, -1000000000,
                           1000000000, kInk);
         },
         [](int32_t x, int32_t y) { return y >= x; }},
    };
    for (const Case& c : cases) {
        surface = Surface{};
        c.draw();
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                ASSERT_EQ(painted(x, y), c.covers(x, y)) << c.name << " at " << x << "," << y;
    }
}

TEST_F(PrimitivesTest, CirclesCoverTwoRColumnsAndRowsAroundAnOffCentre) {
    for (const int32_t r : {2, 3, 5, 17, 40, -9}) {
        surface = Surface{};
        const int32_t cx = 60, cy = 64, a = std::abs(r);
        solidCircle(display, cx, cy, r, kInk);
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x) {
                const bool inBox = x >= cx - a && x < cx + a && y >= cy - a && y < cy + a;
                ASSERT_TRUE(inBox || !painted(x, y)) << r << " at " << x << "," << y;
                // Symmetric about the centre half a pixel up and left of (cx, cy).
                ASSERT_EQ(painted(x, y), painted(2 * cx - 1 - x, y)) << r;
                ASSERT_EQ(painted(x, y), painted(y - cy + cx, x - cx + cy)) << r;
            }
        for (int32_t d = -a; d < a; ++d) {
            for (const int32_t mid : {-1, 0}) {
                EXPECT_TRUE(painted(cx + d, cy + mid)) << "middle row, radius " << r;
                EXPECT_TRUE(painted(cx + mid, cy + d)) << "middle column, radius " << r;
            }
        }
    }
}

TEST_F(PrimitivesTest, HugeLineStaysNearestTheIdealLine) {
    const int64_t x0 = -2000000000, y0 = 3, dx = 4000000000, dy = 87;
    strokeLine(display, -2000000000, 3, 2000000000, 90, kInk);
    for (int32_t x = 0; x < DISPLAY_SIZE; ++x) {
        int count = 0;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y) {
            if (!painted(x, y)) continue;
            ++count;
            // |y - ideal| <= 1/2 with ideal = y0 + dy * (x - x0) / dx, in integers.
            EXPECT_LE(2 * std::llabs((y - y0) * dx - dy * (x - x0)), dx) << x << "," << y;
        }
        EXPECT_EQ(count, 1) << "column " << x;
    }
}

// Random shapes drawn straight through the raster core, so that the same shape can be put
// on canvases of different sizes and positions.
struct Shape {
    int kind;
    int64_t v[6];
    void draw(const Canvas& canvas, int64_t offset, Rgb24 rgb) const {
        const int64_t x0 = v[0] + offset, y0 = v[1] + offset, x1 = v[2] + offset,
                      y1 = v[3] + offset;
        switch (kind) {
        case 0:
            rasterLine(canvas, x0, y0, x1, y1, rgb);
            break;
        case 1:
            rasterBoxOutline(canvas, boxBetween(x0, y0, x1, y1), rgb);
            break;
        case 2:
            rasterTriangle(canvas, x0, y0, x1, y1, v[4] + offset, v[5] + offset, rgb);
            break;
        case 3:
            rasterEllipse(canvas, boxBetween(x0, y0, x1, y1), false, rgb);
            break;
        case 4:
            rasterEllipse(canvas, boxBetween(x0, y0, x1, y1), true, rgb);
            break;
        default:
            rasterRoundBox(canvas, boxBetween(x0, y0, x1, y1), v[4], rgb);
            break;
        }
    }
};

Shape randomShape(std::mt19937_64& rng) {
    Shape s{static_cast<int>(rng() % 6), {}};
    const bool huge = rng() % 4 == 0;
    for (int64_t& value : s.v) {
        value = huge ? static_cast<int32_t>(rng()) : static_cast<int64_t>(rng() % 700) - 300;
    }
    if (!huge) s.v[4] = static_cast<int64_t>(rng() % 90) - 10;
    return s;
}

struct TestCanvas {
    explicit TestCanvas(int32_t size, int32_t guard = 0, Rgb24 fill = 0)
        : store(static_cast<size_t>(size * size + 2 * guard), fill), canvas{store.data() + guard,
                                                                            size, size},
          guard(guard) {}
    Rgb24 at(int64_t x, int64_t y) const { return canvas.pixels[y * canvas.width + x]; }
    std::vector<Rgb24> store;
    Canvas canvas;
    int32_t guard;
};

TEST_F(PrimitivesTest, RandomShapesClipEraseAndStayInside) {
    constexpr Rgb24 kBg = 0x123456, kFg = 0xABCDEF, kGuard = 0x5A5A5A;
    constexpr int32_t kBig = 512, kOffset = 192;
    std::mt19937_64 rng(20240611);
    TestCanvas big(kBig);
    for (int n = 0; n < 2000; ++n) {
        const Shape shape = randomShape(rng);
        TestCanvas small(DISPLAY_SIZE, 512, kGuard);
        std::fill(small.canvas.pixels, small.canvas.pixels + DISPLAY_SIZE * DISPLAY_SIZE, kBg);
        // Only the window that is compared needs a clean background.
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            std::fill_n(big.canvas.pixels + (y + kOffset) * kBig + kOffset, DISPLAY_SIZE, kBg);
        shape.draw(small.canvas, 0, kFg);
        shape.draw(big.canvas, kOffset, kFg);
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                ASSERT_EQ(small.at(x, y), big.at(x + kOffset, y + kOffset))
                    << "shape " << n << " kind " << shape.kind << " at " << x << "," << y;
        for (int32_t i = 0; i < small.guard; ++i) {
            ASSERT_EQ(small.store[i], kGuard) << "shape " << n << " wrote before the canvas";
            ASSERT_EQ(small.store[small.store.size() - 1 - i], kGuard) << "shape " << n;
        }
        shape.draw(small.canvas, 0, kBg);
        for (int32_t i = 0; i < DISPLAY_SIZE * DISPLAY_SIZE; ++i)
            ASSERT_EQ(small.canvas.pixels[i], kBg) << "shape " << n << " not erased";
    }
}

TEST_F(PrimitivesTest, RandomEllipsesTouchTheirBoxAndRingsOutlineTheirDiscs) {
    std::mt19937_64 rng(77);
    for (int n = 0; n < 400; ++n) {
        const int64_t w = 1 + static_cast<int64_t>(rng() % 120);
        const int64_t h = 1 + static_cast<int64_t>(rng() % 120);
        const Box box{4, 4, 4 + w, 4 + h};
        TestCanvas disc(128), ring(128);
        rasterEllipse(disc.canvas, box, false, 1);
        rasterEllipse(ring.canvas, box, true, 1);
        const auto inDisc = [&](int64_t x, int64_t y) { return disc.at(x, y) != 0; };
        for (int64_t y = 0; y < 128; ++y)
            for (int64_t x = 0; x < 128; ++x) {
                const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                ASSERT_TRUE(inBox || !inDisc(x, y)) << w << "x" << h;
                ASSERT_TRUE(!ring.at(x, y) || inDisc(x, y))
                    << "ring outside disc " << w << "x" << h;
                if (!inDisc(x, y)) continue;
                // A disc pixel next to the outside belongs to the ring; one surrounded by
                // the disc does not, so the ring is one pixel wide.
                const bool edge = !inDisc(x - 1, y) || !inDisc(x + 1, y) || !inDisc(x, y - 1) ||
                                  !inDisc(x, y + 1);
                ASSERT_EQ(ring.at(x, y) != 0, edge) << w << "x" << h << " at " << x << "," << y;
            }
        for (int64_t x = box.left; x < box.right; ++x) {
            ASSERT_TRUE(inDisc(x, box.top + (h - 1) / 2)) << "middle row " << w << "x" << h;
            ASSERT_TRUE(inDisc(x, box.top + h / 2)) << "middle row " << w << "x" << h;
        }
        for (int64_t y = box.top; y < box.bottom; ++y) {
            ASSERT_TRUE(inDisc(box.left + (w - 1) / 2, y)) << "middle column " << w << "x" << h;
            ASSERT_TRUE(inDisc(box.left + w / 2, y)) << "middle column " << w << "x" << h;
        }
        // A rounded box is symmetric in both axes, and a corner as large as the box makes
        // it the inscribed ellipse.
        const int64_t corner = static_cast<int64_t>(rng() % 130);
        TestCanvas round(128);
        rasterRoundBox(round.canvas, box, corner, 1);
        for (int64_t y = box.top; y < box.bottom; ++y)
            for (int64_t x = box.left; x < box.right; ++x) {
                const Rgb24 p = round.at(x, y);
                ASSERT_EQ(p, round.at(box.right - 1 - (x - box.left), y)) << "corner " << corner;
                ASSERT_EQ(p, round.at(x, box.bottom - 1 - (y - box.top))) << "corner " << corner;
                ASSERT_TRUE(corner < std::max(w, h) || p == disc.at(x, y)) << "corner " << corner;
            }
    }
}

TEST_F(PrimitivesTest, RandomLinesAndTrianglesFollowTheirIdealShapes) {
    std::mt19937_64 rng(5);
    const auto coord = [&] { return static_cast<int64_t>(rng() % 120) + 4; };
    for (int n = 0; n < 500; ++n) {
        const int64_t x0 = coord(), y0 = coord(), x1 = coord(), y1 = coord(), x2 = coord(),
                      y2 = coord();
        TestCanvas line(128), tri(128);
        rasterLine(line.canvas, x0, y0, x1, y1, 1);
        const int64_t dx = x1 - x0, dy = y1 - y0, steps = std::max(std::llabs(dx), std::llabs(dy));
        int64_t count = 0;
        for (int64_t y = 0; y < 128; ++y)
            for (int64_t x = 0; x < 128; ++x) {
                if (!line.at(x, y)) continue;
                ++count;
                // Within half a pixel of the ideal line along the shorter axis.
                const bool xMajor = std::llabs(dx) >= std::llabs(dy);
                const int64_t i = xMajor ? std::llabs(x - x0) : std::llabs(y - y0);
                const int64_t minor = xMajor ? (y - y0) : (x - x0), dm = xMajor ? dy : dx;
                ASSERT_LE(2 * std::llabs(minor * steps - dm * i), steps) << n;
            }
        EXPECT_EQ(count, steps) << n;
        EXPECT_TRUE(steps == 0 || (line.at(x0, y0) && !line.at(x1, y1))) << n;

        rasterTriangle(tri.canvas, x0, y0, x1, y1, x2, y2, 1);
        const int64_t px[3] = {x0, x1, x2}, py[3] = {y0, y1, y2};
        const int64_t area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
        for (int64_t y = 0; y < 128; ++y)
            for (int64_t x = 0; x < 128; ++x) {
                bool inside = area != 0;
                double outside = 0;
                for (int e = 0; e < 3; ++e) {
                    const int64_t ex = px[(e + 1) % 3] - px[e], ey = py[(e + 1) % 3] - py[e];
                    const int64_t c = (ex * (y - py[e]) - ey * (x - px[e])) * (area > 0 ? 1 : -1);
                    inside = inside && c > 0;
                    const double len = std::hypot(double(ex), double(ey));
                    if (len > 0) outside = std::max(outside, -c / len);
                }
                ASSERT_TRUE(!inside || tri.at(x, y)) << "hole in triangle " << n;
                const bool nearBox = x >= std::min({x0, x1, x2}) && x <= std::max({x0, x1, x2}) &&
                                     y >= std::min({y0, y1, y2}) && y <= std::max({y0, y1, y2});
                const bool stray = tri.at(x, y) && area != 0 && !(nearBox && outside <= 1.0);
                ASSERT_FALSE(stray) << "stray pixel " << n;
            }
    }
}

TEST_F(PrimitivesTest, GoldenPictures) {
    const std::vector<std::pair<const char*, std::function<void()>>> families = {
        {"primitives-lines",
         [this] {
             for (int32_t a = 0; a < 360; a += 15)
                 strokeLine(display, 40, 40, 40 + sinScaled(a, 36, 1), 40 + cosScaled(a, 36, 1),
                            a % 45 == 0 ? 0xFFE0 : 0x07FF);
             for (int32_t i = 0; i < 8; ++i)
                 strokeLine(display, 84 + 5 * i, 4, 84 + 5 * i + i, 76, 0xF81F);
             strokeLine(display, -2000000000, 90, 2000000000, 120, 0xFFFF);
             strokeLine(display, 64, -2000000000, 70, 2000000000, 0xF800);
             for (int32_t i = 0; i < 6; ++i)
                 strokeLine(display, 4, 84 + 7 * i, 4 + 20 * i, 124, 0x07E0);
         }},
        {"primitives-rects",
         [this] {
             for (int32_t s = 1; s <= 8; ++s)
                 outlineRect(display, 4 + (s - 1) * s / 2 + s, 4, s, s, 0xFFFF);
             for (int32_t i = 0; i < 10; ++i)
                 outlineRect(display, 20 + 4 * i, 30 + 4 * i, 90 - 8 * i, 90 - 8 * i,
                             i % 2 ? 0x07E0 : 0xF800);
             outlineRect(display, 10, 120, 40, -40, 0x001F);
             outlineRect(display, 100, -10, 40, 20, 0xFFE0);
         }},
        {"primitives-triangles",
         [this] {
             solidTriangle(display, 10, 10, 60, 20, 20, 60, 0xF800);
             solidTriangle(display, 70, 10, 120, 60, 70, 60, 0x07E0);
             solidTriangle(display, 100, 5, 120, 5, 124, 40, 0x001F);
             solidQuad(display, 10, 70, 60, 70, 60, 120, 10, 120, 0xFFE0);
             solidQuad(display, 70, 70, 120, 120, 120, 70, 70, 120, 0x07FF); // self-crossing order
             solidQuad(display, 20, 80, 50, 85, 30, 95, 25, 110, 0xF81F);    // concave
             solidTriangle(display, 0, 64, 127, 64, 64, 64, 0xFFFF);         // collinear
             solidTriangle(display, 96, 127, 127, 96, 2000000000, 2000000000, 0x8410);
         }},
        {"primitives-circles",
         [this] {
             for (int32_t r = 1; r <= 6; ++r) {
                 solidCircle(display, 8 + (r - 1) * r + r * 2, 10, r, 0xFFFF);
                 ringCircle(display, 8 + (r - 1) * r + r * 2, 30, r, 0xFFE0);
             }
             solidCircle(display, 40, 80, 30, 0x001F);
             ringCircle(display, 40, 80, 30, 0xFFFF);
             ringCircle(display, 40, 80, 20, 0xF800);
             solidCircle(display, 40, 80, 10, 0x07E0);
             for (int32_t r = 4; r <= 28; r += 6) ringCircle(display, 100, 80, r, 0x07FF);
             solidCircle(display, 2000124, 100, 2000000, 0xF81F);
         }},
        {"primitives-roundboxes",
         [this] {
             const int32_t corners[] = {0, 1, 2, 4, 7, 12, 20, 100};
             for (int32_t i = 0; i < 8; ++i)
                 solidRoundBox(display, 4 + (i % 4) * 31, 4 + (i / 4) * 31, 28, 26, corners[i],
                               i % 2 ? 0x07E0 : 0xFD20);
             solidRoundBox(display, 4, 70, 120, 20, 16, 0x001F);
             solidRoundBox(display, 124, 124, -60, -30, -12, 0xFFFF);
         }},
    };
    for (const auto& [name, draw] : families) {
        surface = Surface{};
        draw();
        EXPECT_TRUE(matchesGolden(imageFromSurface(surface), name));
    }
}

} // namespace
} // namespace orvanta::test
