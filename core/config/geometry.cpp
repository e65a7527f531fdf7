#include "core/config/geometry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "core/config/keywords.h"
#include "core/display/surface.h"
#include "core/instruments/digit_counter.h"
#include "core/syntax/fields.h"

namespace orvanta {

namespace {

// Field numbers as in the keyword table: 1 is the first after the keyword.
const GeometrySpec kGeometry[] = {
    {"image",
     false,
     0,
     0,
     {0, 0},
     0,
     Sizing::None,
     "the picture's own size at (0, 0); the line clears the whole panel first"},
    {"GyroHorizonRect",
     false,
     1,
     2,
     {3, 4},
     0,
     Sizing::Edges,
     "the rectangle of width x height from (left, top); its first and last columns stay "
     "undrawn, and a height below 20 pushes the bands up to ten rows past its edges"},
    {"LED",
     true,
     1,
     2,
     {3, 0},
     0,
     Sizing::Diameter,
     "the disc of radius diameter / 2: columns x - r .. x + r - 1, rows y - r .. y + r - 1"},
    {"Kompass",
     true,
     1,
     2,
     {3, 0},
     0,
     Sizing::Diameter,
     "x - r .. x + r, r = diameter / 2, with the letters' cells at seven tenths of r, "
     "and a letter that would cross the right edge at the left one row lower"},
    {"Tacho",
     false,
     1,
     2,
     {3, 4},
     0,
     Sizing::Edges,
     "columns left .. left + width and rows top .. top + height, both ends included"},
    {"RoundPointer",
     true,
     1,
     2,
     {3, 0},
     0,
     Sizing::Diameter,
     "x - r .. x + r, r = diameter / 2: the disc and one pixel for the needle"},
    {"Radar",
     true,
     1,
     2,
     {3, 0},
     0,
     Sizing::Diameter,
     "x - R .. x + R, R = 9 x (diameter / 2) / 10, and the echo's disc of radius 5 at "
     "3 x (R / 4), which reaches past scopes of R below 20"},
    {"DigitCounter",
     false,
     1,
     2,
     {4, 0},
     3,
     Sizing::Scale,
     "digits x 6 x scale by 8 x scale from (x, y); digits past the right edge wrap to x = 0 "
     "one text row lower"},
    {"ToggleText",
     false,
     1,
     2,
     {4, 0},
     3,
     Sizing::Scale,
     "min(length, 20) x 6 x scale by 8 x scale from (x, y); characters past the right edge "
     "wrap to x = 0 one text row lower"},
};

int64_t absolute(int64_t v) {
    return v < 0 ? -v : v;
}

PanelRect between(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// The pixels x0..x1 and y0..y1, ends included, in either order.
PanelRect inclusive(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const PanelRect r = between(x0, y0, x1, y1);
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

PanelRect unite(const PanelRect& a, const PanelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

ObjectBox fromParts(std::vector<PanelRect> parts, bool tight) {
    ObjectBox box;
    for (const PanelRect& part : parts) box.bounds = unite(box.bounds, part);
    box.parts = std::move(parts);
    box.tight = tight;
    return box;
}

// The cells `count` characters take when printed from (x, y) at `scale`, as the printer
// moves its cursor: a character whose cell would cross the right edge goes to x = 0 one
// text row lower first. Cells in one row are joined. Once the cursor is below the panel
// nothing more can show, so the walk stops there.
std::vector<PanelRect> textCells(int64_t x, int64_t y, int64_t scale, int64_t count) {
    std::vector<PanelRect> rows;
    const int64_t w = 6 * scale, h = 8 * scale;
    if (count <= 0) return rows;
    if (scale == 0) return {{x, y, x, y}};
    for (int64_t i = 0; i < count; ++i) {
        if (x + w > DISPLAY_SIZE) {
            x = 0;
            y += h;
        }
        // The first cell always counts, so that text dragged below the panel keeps a box.
        if (i > 0 && scale > 0 && y >= DISPLAY_SIZE) break;
        const PanelRect cell = between(x, y, x + w, y + h);
        if (!rows.empty() && rows.back().top == cell.top &&
            (rows.back().right == cell.left || rows.back().left == cell.right))
            rows.back() = unite(rows.back(), cell);
        else
            rows.push_back(cell);
        x += w;
        // A negative scale walks left for ever; cells from a negative cursor never show.
        if (scale < 0 && x < 0) break;
    }
    return rows;
}

ObjectBox gyroBox(const FieldTable& f) {
    const int64_t left = f.number(1), top = f.number(2), width = f.number(3), height = f.number(4);
    const int64_t l = left + 1, r = left + width - 2, mid = top + height / 2;
    const int64_t swing = absolute(height) / 4 + 2;
    const int64_t radius = (width <= height ? width : height) / 2;
    const int64_t cx = left + width / 2, a = absolute(radius) / 10;
    const int64_t c = absolute(6 * radius / 10);
    // The rectangle, the bands between rows top + 10 and top + height - 10 with the
    // horizon swinging about the middle row, the horizon line from left + 2, and the ladder.
    PanelRect box = between(left, top, left + width, top + height);
    box = unite(box, inclusive(std::min(l, r), std::min(top + 10, top + height - 10),
                               std::max({l, r, left + 1}), std::max(top + 10, top + height - 10)));
    box =
        unite(box, inclusive(std::min(l, r), mid - swing, std::max({l, r, left + 2}), mid + swing));
    box = unite(box, inclusive(cx - a, mid - c, cx + a, mid + c));
    return fromParts({box}, false);
}

ObjectBox tachoBox(const FieldTable& f) {
    const int64_t left = f.number(1), top = f.number(2), interval = f.number(5);
    const PanelRect box = inclusive(left, top, left + f.number(3), top + f.number(4));
    // Only a gauge due in its first frame paints its whole rectangle.
    return fromParts({box}, interval >= -1 && interval <= 1);
}

ObjectBox roundBox(const GeometrySpec& spec, const FieldTable& f) {
    const int64_t x = f.number(1), y = f.number(2), diameter = f.number(3);
    const int64_t r = absolute(diameter / 2);
    const std::string_view keyword = spec.keyword;
    if (keyword == "LED") return fromParts({between(x - r, y - r, x + r, y + r)}, r > 0);
    if (keyword == "Radar") {
        const int64_t scope = absolute(9 * (diameter / 2) / 10);
        const int64_t echo = absolute(scope / 4 * 3);
        return fromParts({inclusive(x - scope, y - scope, x + scope, y + scope),
                          inclusive(x - echo - 5, y - echo - 5, x + echo + 4, y + echo + 4)},
                         false);
    }
    std::vector<PanelRect> parts{inclusive(x - r, y - r, x + r, y + r)};
    if (keyword == "Kompass") {
        // The letters print at scale 1 with their cursor 3 up and left of the point seven
        // tenths out, or at scale 2 and 6 from a radius of 80 on.
        const int64_t scale = diameter / 2 < 80 ? 1 : 2, shift = -3 * scale;
        const int64_t reach = 7 * r / 10;
        const int64_t x0 = x + shift - reach, x1 = x + shift + reach, y0 = y + shift - reach,
                      y1 = y + shift + reach;
        parts.push_back({x0, y0, x1 + 6 * scale, y1 + 8 * scale});
        if (x1 + 6 * scale > DISPLAY_SIZE)
            parts.push_back({0, y0 + 8 * scale, 6 * scale, y1 + 16 * scale});
    }
    return fromParts(std::move(parts), false);
}

ObjectBox textBox(const GeometrySpec& spec, const FieldTable& f) {
    const int64_t x = f.number(1), y = f.number(2), scale = f.number(4);
    int64_t count = 0;
    if (std::strcmp(spec.keyword, "ToggleText") == 0)
        count = std::min<int64_t>(std::strlen(f.field(3)), 20);
    else
        count = std::min<int64_t>(f.number(3), DigitCounter::kMaxDigitsPerRun);
    std::vector<PanelRect> cells = textCells(x, y, scale, count);
    const bool tight = scale > 0 && !cells.empty();
    return fromParts(std::move(cells), tight);
}

} // namespace

const GeometrySpec* geometryTable() {
    return kGeometry;
}

int32_t geometryCount() {
    return static_cast<int32_t>(std::size(kGeometry));
}

const GeometrySpec* geometryOf(const KeywordSpec& spec) {
    for (const GeometrySpec& g : kGeometry)
        if (std::strcmp(g.keyword, spec.name) == 0) return &g;
    return nullptr;
}

ObjectBox objectBox(const GeometrySpec& spec, const FieldTable& fields, int32_t pictureWidth,
                    int32_t pictureHeight) {
    switch (spec.sizing) {
    case Sizing::None:
        return fromParts({between(0, 0, pictureWidth, absolute(pictureHeight))}, false);
    case Sizing::Edges:
        return std::strcmp(spec.keyword, "Tacho") == 0 ? tachoBox(fields) : gyroBox(fields);
    case Sizing::Diameter:
        return roundBox(spec, fields);
    case Sizing::Scale:
        return textBox(spec, fields);
    }
    return {};
}

} // namespace orvanta
