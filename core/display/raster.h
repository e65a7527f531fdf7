#pragma once
// The one rasteriser behind every shape. Each shape is described row by row as horizontal
// spans computed in closed form from its own geometry; the visible rows are found once by
// intersecting the shape's extent with the canvas, and only those rows are evaluated. The
// pixels a shape paints therefore never depend on clipping, and the work done is bounded
// by the canvas size, however large the shape is.
#include <cstdint>

#include "core/display/surface.h"

namespace orvanta {

// A rectangular pixel buffer, rows top to bottom without padding. The primitives draw on
// the display's surface; tests use larger canvases to compare clipped and unclipped
// drawings. With `owners`, a map of the same shape, every pixel painted also gets `writer`
// there.
struct Canvas {
    Rgb24* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    OwnerIndex* owners = nullptr;
    OwnerIndex writer = kOwnerNone;
};

// The whole surface as a canvas.
Canvas canvasOf(Surface& surface);
// The display's surface as a canvas, recording into its owner map when it has one.
Canvas canvasOf(Display& display);

// A box covering the columns left .. right - 1 and the rows top .. bottom - 1.
struct Box {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
};

// The box between two corners given in either order: left is the smaller x, right the
// larger, and likewise for the rows.
Box boxBetween(int64_t xa, int64_t ya, int64_t xb, int64_t yb);

// Coordinates passed to the functions below come from 32-bit device values, possibly moved
// by a test canvas offset: positions lie within +-2^40 and a box is narrower and lower
// than 2^32 pixels. Within these limits every computation is exact.

// The line from (x0, y0) to (x1, y1) without its end pixel: one pixel per step along the
// longer axis, each the pixel nearest the ideal line (a tie goes away from the start).
void rasterLine(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1, Rgb24 rgb);

// The one-pixel border of the box; boxes one or two pixels wide or high are filled.
void rasterBoxOutline(const Canvas& canvas, const Box& box, Rgb24 rgb);

// Every pixel whose centre lies in the closed triangle, together with its three edges
// drawn as lines 0 -> 1, 1 -> 2 and 2 -> 0.
void rasterTriangle(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                    int64_t x2, int64_t y2, Rgb24 rgb);

// The ellipse inscribed in the box: with `ringOnly` its one-pixel outline, otherwise the
// outline and everything inside it. The disc holds every pixel whose centre lies inside
// the ellipse, the middle row(s) across the full width and the middle column(s) across the
// full height, so that it always touches all four sides of the box. The ring is the part
// of the disc that has a horizontal or vertical neighbour outside the disc.
void rasterEllipse(const Canvas& canvas, const Box& box, bool ringOnly, Rgb24 rgb);

// The filled box with each corner cut to a quarter of the ellipse whose box is corner x
// corner pixels. A negative corner counts as its magnitude, and a corner larger than the
// box is reduced to the box's width and height, which makes the shape the full ellipse.
void rasterRoundBox(const Canvas& canvas, const Box& box, int64_t corner, Rgb24 rgb);

} // namespace orvanta
