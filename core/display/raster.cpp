#include "core/display/raster.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

// Products of two coordinate differences need more than 64 bits.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 Uint128;

inline bool fits64(Int128 v) {
    return v >= INT64_MIN && v <= INT64_MAX;
}

// Floor of a / b for b > 0. The callers keep the quotient within 64 bits; the 64-bit path
// serves every shape of ordinary size.
int64_t floorDiv(Int128 a, Int128 b) {
    if (fits64(a) && fits64(b)) {
        const int64_t x = static_cast<int64_t>(a), y = static_cast<int64_t>(b);
        const int64_t q = x / y;
        return (x % y != 0 && x < 0) ? q - 1 : q;
    }
    const Int128 q = a / b;
    return static_cast<int64_t>((a % b != 0 && a < 0) ? q - 1 : q);
}

// Fills the spans of the rows first .. last, and with `Record` their owner indices too;
// the fill without recording is decided once per shape, not once per span.
template <bool Record, class Spans>
void fillRows(const Canvas& canvas, int64_t first, int64_t last, Rgb24 rgb, Spans& spans) {
    for (int64_t y = first; y <= last; ++y) {
        Rgb24* row = canvas.pixels + y * canvas.width;
        OwnerIndex* ownerRow = Record ? canvas.owners + y * canvas.width : nullptr;
        spans(y, [&](int64_t xa, int64_t xb) {
            const int64_t a = std::max<int64_t>(xa, 0);
            const int64_t b = std::min<int64_t>(xb, canvas.width - 1);
            if (a > b) return;
            std::fill(row + a, row + b + 1, rgb);
            if constexpr (Record) std::fill(ownerRow + a, ownerRow + b + 1, canvas.writer);
        });
    }
}

// The shared clip and fill step: the rows top .. bottom (inclusive) of a shape are cut to
// the canvas once, and `spans(y, emit)` reports the shape's spans on each visible row as
// inclusive column ranges, which are cut to the canvas width before filling. Spans may
// overlap; they all carry the same colour.
template <class Spans>
void paintRows(const Canvas& canvas, int64_t top, int64_t bottom, Rgb24 rgb, Spans spans) {
    if (canvas.pixels == nullptr || canvas.width <= 0 || canvas.height <= 0) return;
    const int64_t first = std::max<int64_t>(top, 0);
    const int64_t last = std::min<int64_t>(bottom, canvas.height - 1);
    if (canvas.owners != nullptr)
        fillRows<true>(canvas, first, last, rgb, spans);
    else
        fillRows<false>(canvas, first, last, rgb, spans);
}

// A line by its start, the magnitudes and signs of its extent, and its step count n along
// the longer axis. Step i (0 <= i < n) moves i along the longer axis and
// floor((2 * minor * i + n) / (2 * n)) along the shorter one: the nearest pixel, computed
// directly so that a row far from the start costs no more than the first.
struct Line {
    int64_t x0 = 0, y0 = 0;
    int64_t adx = 0, ady = 0;
    int64_t sx = 1, sy = 1;
    int64_t n = 0;
    int64_t topRow = 0, bottomRow = -1;
};

Line makeLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    Line l;
    l.x0 = x0;
    l.y0 = y0;
    l.adx = x1 >= x0 ? x1 - x0 : x0 - x1;
    l.ady = y1 >= y0 ? y1 - y0 : y0 - y1;
    l.sx = x1 >= x0 ? 1 : -1;
    l.sy = y1 >= y0 ? 1 : -1;
    l.n = std::max(l.adx, l.ady);
    if (l.n > 0) {
        l.topRow = std::min(y0, y1);
        l.bottomRow = std::max(y0, y1);
    }
    return l;
}

// floor(N / D) and the remainder for D > 0, where the numerator N grows by a fixed step
// from one row to the next. After an exact start, each further row costs two additions and
// a compare instead of a division, and yields exactly what dividing afresh would.
class QuotientStepper {
  public:
    void start(Int128 numerator, int64_t denominator, Int128 step) {
        d_ = denominator;
        q_ = floorDiv(numerator, denominator);
        r_ = static_cast<int64_t>(numerator - Int128{q_} * denominator);
        stepQ_ = floorDiv(step, denominator);
        stepR_ = static_cast<int64_t>(step - Int128{stepQ_} * denominator);
    }
    void next() {
        q_ += stepQ_;
        r_ += stepR_;
        // Whether the remainder wraps follows no pattern a branch predictor could learn.
        const int64_t wrap = r_ >= d_ ? 1 : 0;
        r_ -= d_ & -wrap;
        q_ += wrap;
    }
    int64_t floor() const { return q_; }
    int64_t ceil() const { return r_ != 0 ? q_ + 1 : q_; }

  private:
    int64_t d_ = 1, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

// Reports a line's pixels row by row; on each row they form one span. Each row's span is
// the closed form above: the first row the line covers is computed exactly, and a row that
// directly follows the previous one steps on from it.
class LineRows {
  public:
    explicit LineRows(const Line& line) : l_(line) {}

    template <class Emit> void row(int64_t y, Emit&& emit) {
        if (l_.n == 0) return;
        const int64_t k = (y - l_.y0) * l_.sy;
        const bool follows = y - 1 == last_;
        if (l_.adx >= l_.ady) {
            // Mostly horizontal: the steps i whose rounded minor offset is k form a range.
            if (k < 0 || k > l_.ady) return;
            int64_t lo = 0, hi = l_.n - 1;
            if (l_.ady != 0) {
                if (follows) {
                    first_.next();
                    beyond_.next();
                } else {
                    const Int128 twoN = Int128{2} * l_.n;
                    first_.start(twoN * k - l_.n, 2 * l_.ady, twoN * l_.sy);
                    beyond_.start(twoN * (k + 1) - l_.n, 2 * l_.ady, twoN * l_.sy);
                }
                last_ = y;
                lo = std::max<int64_t>(lo, first_.ceil());
                hi = std::min<int64_t>(hi, beyond_.ceil() - 1);
            } else if (k != 0) {
                return;
            }
            if (lo > hi) return;
            const int64_t xa = l_.x0 + l_.sx * lo, xb = l_.x0 + l_.sx * hi;
            emit(std::min(xa, xb), std::max(xa, xb));
        } else {
            // Mostly vertical: row y is step k, one pixel.
            if (k < 0 || k >= l_.n) return;
            if (follows)
                first_.next();
            else
                first_.start(Int128{2} * l_.adx * k + l_.n, 2 * l_.n, Int128{2} * l_.adx * l_.sy);
            last_ = y;
            const int64_t x = l_.x0 + l_.sx * first_.floor();
            emit(x, x);
        }
    }

  private:
    Line l_;
    int64_t last_ = INT64_MIN; // the row the steppers stand on
    QuotientStepper first_, beyond_;
};

// Where the closed triangle's edge from a to b meets row y: the columns from the ceiling to
// the floor of the exact crossing, or both ends of a horizontal edge. Rows are walked like
// LineRows walks them.
class EdgeCrossing {
  public:
    EdgeCrossing(int64_t xa, int64_t ya, int64_t xb, int64_t yb)
        : xa_(xa), ya_(ya), xb_(xb), top_(std::min(ya, yb)), bottom_(std::max(ya, yb)),
          dx_(yb >= ya ? xb - xa : xa - xb), dy_(yb >= ya ? yb - ya : ya - yb) {}

    void widen(int64_t y, int64_t& lo, int64_t& hi) {
        if (y < top_ || y > bottom_) return;
        if (dy_ == 0) {
            lo = std::min({lo, xa_, xb_});
            hi = std::max({hi, xa_, xb_});
            return;
        }
        if (y - 1 == last_)
            crossing_.next();
        else
            crossing_.start(Int128{dx_} * (y - ya_), dy_, dx_);
        last_ = y;
        lo = std::min(lo, xa_ + crossing_.ceil());
        hi = std::max(hi, xa_ + crossing_.floor());
    }

  private:
    int64_t xa_, ya_, xb_, top_, bottom_;
    int64_t dx_, dy_; // the edge's extent with the sign that makes dy_ non-negative
    int64_t last_ = INT64_MIN;
    QuotientStepper crossing_;
};

// The largest u in 0 .. widest with (u h)^2 <= limit, or -1 when there is none, searched
// from a starting guess. The unsigned type U must hold every product.
template <class U> int64_t largestInside(uint64_t h, U limit, int64_t guess, int64_t widest) {
    const auto inside = [&](int64_t cand) {
        const U uh = U{static_cast<uint64_t>(cand)} * h;
        return uh * uh <= limit;
    };
    int64_t u = std::clamp<int64_t>(guess, 0, widest);
    while (u > 0 && !inside(u)) --u;
    while (u < widest && inside(u + 1)) ++u;
    return inside(u) ? u : -1;
}

// Left inset of row j (0 <= j < h) of the disc inscribed in a w x h box; the row covers
// the columns inset .. w - 1 - inset. With u = 2i + 1 - w and v = 2j + 1 - h the centre of
// pixel (i, j) lies inside the ellipse when (u h)^2 <= w^2 (h^2 - v^2), exact in 128 bits
// for w, h < 2^32.
int64_t ellipseInset(uint64_t w, uint64_t h, int64_t j) {
    const int64_t v = 2 * j + 1 - static_cast<int64_t>(h);
    const uint64_t av = static_cast<uint64_t>(v < 0 ? -v : v);
    const int64_t widest = static_cast<int64_t>(w) - 1;
    int64_t u;
    if (av <= 1) {
        u = widest; // the middle row or rows reach both sides
    } else {
        const uint64_t s = (h - av) * (h + av);
        // A floating estimate lands within a step of the answer; exact tests settle it.
        const double estimate =
            static_cast<double>(w) * std::sqrt(static_cast<double>(s)) / static_cast<double>(h);
        const auto guess = static_cast<int64_t>(estimate);
        // Below 2^16 on both sides every product fits in 64 bits.
        u = w < 65536 && h < 65536 ? largestInside<uint64_t>(h, w * w * s, guess, widest)
                                   : largestInside<Uint128>(h, Uint128{w * w} * s, guess, widest);
        if (((u + widest) & 1) != 0) --u; // u must have the parity of w - 1
        const int64_t middle = static_cast<int64_t>(w & 1) ^ 1;
        u = std::max(u, middle); // the middle column or columns reach top and bottom
    }
    return (widest - u) / 2;
}

} // namespace

Canvas canvasOf(Surface& surface) {
    return {surface.pixels, DISPLAY_SIZE, DISPLAY_SIZE};
}

Canvas canvasOf(Display& display) {
    return {display.surface.pixels, DISPLAY_SIZE, DISPLAY_SIZE, display.owners, display.writer};
}

Box boxBetween(int64_t xa, int64_t ya, int64_t xb, int64_t yb) {
    return {std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
}

void rasterLine(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1, Rgb24 rgb) {
    const Line line = makeLine(x0, y0, x1, y1);
    LineRows rows(line);
    paintRows(canvas, line.topRow, line.bottomRow, rgb,
              [&](int64_t y, auto&& emit) { rows.row(y, emit); });
}

void rasterBoxOutline(const Canvas& canvas, const Box& box, Rgb24 rgb) {
    if (box.empty()) return;
    const int64_t right = box.right - 1, bottom = box.bottom - 1;
    paintRows(canvas, box.top, bottom, rgb, [&](int64_t y, auto&& emit) {
        if (y == box.top || y == bottom) {
            emit(box.left, right);
        } else {
            emit(box.left, box.left);
            emit(right, right);
        }
    });
}

void rasterTriangle(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                    int64_t x2, int64_t y2, Rgb24 rgb) {
    LineRows edges[3] = {LineRows(makeLine(x0, y0, x1, y1)), LineRows(makeLine(x1, y1, x2, y2)),
                         LineRows(makeLine(x2, y2, x0, y0))};
    EdgeCrossing crossings[3] = {EdgeCrossing(x0, y0, x1, y1), EdgeCrossing(x1, y1, x2, y2),
                                 EdgeCrossing(x2, y2, x0, y0)};
    const int64_t top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
    paintRows(canvas, top, bottom, rgb, [&](int64_t y, auto&& emit) {
        // The closed triangle meets row y in one interval; its ends lie on the edges.
        int64_t lo = INT64_MAX, hi = INT64_MIN;
        for (EdgeCrossing& crossing : crossings) crossing.widen(y, lo, hi);
        // The edge lines' spans mostly touch that interval and are merged into it, so that
        // the row is usually filled in one go; a span apart from it is filled on its own.
        const auto merge = [&](int64_t a, int64_t b) {
            if (lo > hi) {
                lo = a;
                hi = b;
            } else if (a <= hi + 1 && b >= lo - 1) {
                lo = std::min(lo, a);
                hi = std::max(hi, b);
            } else {
                emit(a, b);
            }
        };
        for (LineRows& edge : edges) edge.row(y, merge);
        if (lo <= hi) emit(lo, hi);
    });
}

void rasterEllipse(const Canvas& canvas, const Box& box, bool ringOnly, Rgb24 rgb) {
    if (box.empty()) return;
    const uint64_t w = static_cast<uint64_t>(box.right - box.left);
    const uint64_t h = static_cast<uint64_t>(box.bottom - box.top);
    const int64_t last = static_cast<int64_t>(w) - 1;
    // Rows arrive in order, so the ring keeps the insets of the rows around the current one.
    int64_t cachedRow = INT64_MIN, above = 0, here = 0, below = 0;
    const auto insetsAround = [&](int64_t j) {
        if (j == cachedRow + 1) {
            above = here;
            here = below;
        } else {
            above = j > 0 ? ellipseInset(w, h, j - 1) : 0;
            here = ellipseInset(w, h, j);
        }
        below = j + 1 < static_cast<int64_t>(h) ? ellipseInset(w, h, j + 1) : 0;
        cachedRow = j;
    };
    paintRows(canvas, box.top, box.bottom - 1, rgb, [&](int64_t y, auto&& emit) {
        const int64_t j = y - box.top;
        if (!ringOnly) {
            const int64_t inset = ellipseInset(w, h, j);
            emit(box.left + inset, box.left + last - inset);
            return;
        }
        insetsAround(j);
        const int64_t inset = here;
        // The interior is the disc shrunk by one pixel in each of the four directions.
        int64_t inner = INT64_MAX;
        if (j > 0 && j + 1 < static_cast<int64_t>(h)) inner = std::max({inset + 1, above, below});
        if (inner > last - inner) {
            emit(box.left + inset, box.left + last - inset);
        } else {
            emit(box.left + inset, box.left + inner - 1);
            emit(box.left + last - inner + 1, box.left + last - inset);
        }
    });
}

void rasterRoundBox(const Canvas& canvas, const Box& box, int64_t corner, Rgb24 rgb) {
    if (box.empty()) return;
    const int64_t w = box.right - box.left, h = box.bottom - box.top;
    const int64_t size = corner < 0 ? -corner : corner;
    const int64_t cw = std::min(size, w), ch = std::min(size, h);
    paintRows(canvas, box.top, box.bottom - 1, rgb, [&](int64_t y, auto&& emit) {
        // Rows in the upper half of the corner ellipse take their inset from its top rows,
        // rows in its lower half from its bottom rows; the rows between are full.
        const int64_t fromTop = y - box.top, fromBottomStart = y - (box.bottom - ch);
        int64_t inset = 0;
        if (cw > 0 && ch > 0) {
            const auto ew = static_cast<uint64_t>(cw), eh = static_cast<uint64_t>(ch);
            if (2 * fromTop + 1 < ch)
                inset = ellipseInset(ew, eh, fromTop);
            else if (2 * fromBottomStart + 1 > ch)
                inset = ellipseInset(ew, eh, fromBottomStart);
        }
        emit(box.left + inset, box.right - 1 - inset);
    });
}

} // namespace orvanta
