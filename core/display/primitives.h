#pragma once
// Shapes in one RGB565 colour on the display's surface, and the degree helpers that place
// needles and marks. Boxes have exclusive far edges; a line excludes its end pixel.
#include <cstdint>

namespace orvanta {

struct Display;

void strokeLine(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour);
void outlineRect(Display& display, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
void solidTriangle(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2,
                   int32_t y2, int32_t colour);
void solidQuad(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2,
               int32_t y2, int32_t x3, int32_t y3, int32_t colour);
void solidCircle(Display& display, int32_t x, int32_t y, int32_t r, int32_t colour);
void ringCircle(Display& display, int32_t x, int32_t y, int32_t r, int32_t colour);
void solidRoundBox(Display& display, int32_t x, int32_t y, int32_t w, int32_t h, int32_t corner,
                   int32_t colour);

// trunc(sin(deg x K) x r x k) and trunc(cos(deg x K) x r x k) in double precision, K the
// single-precision value of 0.017453292.
int32_t sinScaled(int32_t deg, int32_t r, double k);
int32_t cosScaled(int32_t deg, int32_t r, double k);

} // namespace orvanta
