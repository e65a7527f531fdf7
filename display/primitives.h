#pragma once
// Shapes in one RGB565 colour on the current draw target, and the degree helpers that
// place needles and marks. Boxes have exclusive far edges; a line excludes its end pixel.
#include <cstdint>

namespace orvanta {

void strokeLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour);
void outlineRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
void solidTriangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                   int32_t colour);
void solidQuad(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
               int32_t y3, int32_t colour);
void solidCircle(int32_t x, int32_t y, int32_t r, int32_t colour);
void ringCircle(int32_t x, int32_t y, int32_t r, int32_t colour);
void solidRoundBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t corner, int32_t colour);

// trunc(sin(deg x K) x r x k) and trunc(cos(deg x K) x r x k) in double precision, K the
// single-precision value of 0.017453292.
int32_t sinScaled(int32_t deg, int32_t r, double k);
int32_t cosScaled(int32_t deg, int32_t r, double k);

} // namespace orvanta
