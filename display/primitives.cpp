#include "display/primitives.h"

#include <cmath>

#include "display/arith.h"
#include "display/raster.h"
#include "display/surface.h"

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

void strokeLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour) {
    rasterLine(targetCanvas(), x0, y0, x1, y1, color565ToRgb(colour));
}

void outlineRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    rasterBoxOutline(targetCanvas(), boxFrom(x, y, w, h), color565ToRgb(colour));
}

void solidTriangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                   int32_t colour) {
    rasterTriangle(targetCanvas(), x0, y0, x1, y1, x2, y2, color565ToRgb(colour));
}

void solidQuad(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
               int32_t y3, int32_t colour) {
    solidTriangle(x0, y0, x1, y1, x2, y2, colour);
    solidTriangle(x3, y3, x0, y0, x2, y2, colour);
}

void solidCircle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    rasterEllipse(targetCanvas(), circleBox(x, y, r), false, color565ToRgb(colour));
}

void ringCircle(int32_t x, int32_t y, int32_t r, int32_t colour) {
    rasterEllipse(targetCanvas(), circleBox(x, y, r), true, color565ToRgb(colour));
}

void solidRoundBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t corner, int32_t colour) {
    rasterRoundBox(targetCanvas(), boxFrom(x, y, w, h), corner, color565ToRgb(colour));
}

// Each product is rounded to double in the order written and the result truncated, so
// that whole-number products falling just short lose a unit exactly as on the device.
int32_t sinScaled(int32_t deg, int32_t r, double k) {
    return truncToInt32((std::sin(deg * kDegree) * r) * k);
}

int32_t cosScaled(int32_t deg, int32_t r, double k) {
    return truncToInt32((std::cos(deg * kDegree) * r) * k);
}

} // namespace orvanta
