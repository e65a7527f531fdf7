#include "core/display/primitives.h"

#include <cmath>

#include "core/display/arith.h"
#include "core/display/raster.h"
#include "core/display/surface.h"

namespace orvanta {

namespace {

// The degree factor is the single-precision value of 0.017453292, slightly below pi / 180;
// the instruments' needles land where this factor puts them.
constexpr double kDegree = static_cast<double>(0.017453292f);
static_assert(kDegree == 0.01745329238474369049072265625);

// Far corners are computed as the device computes them, in wrapping 32-bit arithmetic.
Box boxFrom(int32_t x, int32_t y, int32_t w, int32_t h) {
    return boxBetween(x, y, add32(x, w), add32(y, h));
}

Box circleBox(int32_t x, int32_t y, int32_t r) {
    return boxBetween(sub32(x, r), sub32(y, r), add32(x, r), add32(y, r));
}

} // namespace

void strokeLine(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour) {
    rasterLine(canvasOf(display), x0, y0, x1, y1, color565ToRgb(colour));
}

void outlineRect(Display& display, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    rasterBoxOutline(canvasOf(display), boxFrom(x, y, w, h), color565ToRgb(colour));
}

void solidTriangle(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2,
                   int32_t y2, int32_t colour) {
    rasterTriangle(canvasOf(display), x0, y0, x1, y1, x2, y2, color565ToRgb(colour));
}

void solidQuad(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2, int32_t x3, int32_t y3, int32_t colour) {
    // An axis-parallel rectangle (the bars of a gauge) is split along a diagonal into two
    // closed triangles that together hold every pixel of the closed rectangle and nothing
    // else, since their edge lines stay within it; the same pixels are filled directly.
    const bool horizontalFirst = y0 == y1 && x1 == x2 && y2 == y3 && x3 == x0;
    const bool verticalFirst = x0 == x1 && y1 == y2 && x2 == x3 && y3 == y0;
    if (horizontalFirst || verticalFirst) {
        const Box corners = boxBetween(x0, y0, x2, y2);
        rasterRoundBox(canvasOf(display),
                       {corners.left, corners.top, corners.right + 1, corners.bottom + 1}, 0,
                       color565ToRgb(colour));
        return;
    }
    solidTriangle(display, x0, y0, x1, y1, x2, y2, colour);
    solidTriangle(display, x3, y3, x0, y0, x2, y2, colour);
}

void solidCircle(Display& display, int32_t x, int32_t y, int32_t r, int32_t colour) {
    rasterEllipse(canvasOf(display), circleBox(x, y, r), false, color565ToRgb(colour));
}

void ringCircle(Display& display, int32_t x, int32_t y, int32_t r, int32_t colour) {
    rasterEllipse(canvasOf(display), circleBox(x, y, r), true, color565ToRgb(colour));
}

void solidRoundBox(Display& display, int32_t x, int32_t y, int32_t w, int32_t h, int32_t corner,
                   int32_t colour) {
    rasterRoundBox(canvasOf(display), boxFrom(x, y, w, h), corner, color565ToRgb(colour));
}

namespace {

// The sine and cosine of the whole-degree angles the instruments turn through, filled on
// first use by the same library calls that sinScaled and cosScaled make otherwise, so a
// value from the table is bit for bit the value the call returns.
class DegreeTable {
  public:
    static constexpr int32_t kLimit = 1080; // three turns either way

    DegreeTable() {
        for (int32_t deg = -kLimit; deg <= kLimit; ++deg) {
            sin_[deg + kLimit] = std::sin(deg * kDegree);
            cos_[deg + kLimit] = std::cos(deg * kDegree);
        }
    }
    static bool covers(int32_t deg) { return deg >= -kLimit && deg <= kLimit; }
    double sin(int32_t deg) const { return sin_[deg + kLimit]; }
    double cos(int32_t deg) const { return cos_[deg + kLimit]; }

  private:
    double sin_[2 * kLimit + 1];
    double cos_[2 * kLimit + 1];
};

const DegreeTable& degreeTable() {
    static const DegreeTable table;
    return table;
}

double sinDegrees(int32_t deg) {
    return DegreeTable::covers(deg) ? degreeTable().sin(deg) : std::sin(deg * kDegree);
}

double cosDegrees(int32_t deg) {
    return DegreeTable::covers(deg) ? degreeTable().cos(deg) : std::cos(deg * kDegree);
}

} // namespace

// Each product is rounded to double in the order written and the result truncated, so
// that whole-number products falling just short lose a unit exactly as on the device.
int32_t sinScaled(int32_t deg, int32_t r, double k) {
    return truncToInt32((sinDegrees(deg) * r) * k);
}

int32_t cosScaled(int32_t deg, int32_t r, double k) {
    return truncToInt32((cosDegrees(deg) * r) * k);
}

} // namespace orvanta
