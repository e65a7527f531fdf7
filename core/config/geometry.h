#pragma once
// Where each drawing keyword's line puts its pixels: which fields place it, which size it,
// and the box on the panel that follows from them by the drawing rules. It stands beside
// the keyword table and names the same fields; a design tool moves and resizes an object
// by changing exactly these fields.
#include <cstdint>
#include <vector>

namespace orvanta {

class FieldTable;
struct KeywordSpec;

// How a line is resized.
enum class Sizing {
    None,     // the picture: its own size
    Edges,    // a rectangle: width and height, each edge on its own
    Diameter, // a round instrument: the radius is diameter / 2, so the diameter steps by 2
    Scale,    // text cells: whole steps of the text scale
};

struct GeometrySpec {
    const char* keyword;
    bool centred;   // x and y name the centre, not the top-left corner
    int32_t xField; // 0 for the picture, drawn at (0, 0) always
    int32_t yField;
    int32_t sizeFields[2]; // width and height, or the diameter or scale alone; 0 for none
    int32_t countField;    // DigitCounter's digits or ToggleText's text; 0 for none
    Sizing sizing;
    const char* box; // the rule, in words
};

// The geometry entry of a drawing keyword, or null for the commands.
const GeometrySpec* geometryOf(const KeywordSpec& spec);
const GeometrySpec* geometryTable();
int32_t geometryCount();

// Panel columns left .. right - 1 and rows top .. bottom - 1, in 64 bits so that no
// configured value can overflow it.
struct PanelRect {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
    bool holds(int64_t x, int64_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

struct ObjectBox {
    PanelRect bounds;             // every pixel the line can draw lies in here
    std::vector<PanelRect> parts; // the same pixels in pieces, such as text rows that wrap
    // Whether the drawing reaches every edge of `bounds` that lies on the panel once the
    // object has drawn, so that the box can be trusted as the object's outline.
    bool tight = false;
};

// The box of a line of `spec` with these fields. A picture line passes the picture's size
// (width, and height as the file gives it, negative for top-down).
ObjectBox objectBox(const GeometrySpec& spec, const FieldTable& fields, int32_t pictureWidth = 0,
                    int32_t pictureHeight = 0);

} // namespace orvanta
