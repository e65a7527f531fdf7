#pragma once
// What an instrument line tells about its drawing before it runs: where on the display it
// can draw, the disc its diameter field gives, the text it prints, and the mistakes that
// only the instrument itself can name. The checker reads these facts; the device never
// needs them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

enum class FactLevel { Error, Warning, Note };

struct LineFinding {
    FactLevel level;
    std::string message;
    int32_t field;    // the field the finding is about (1 the first after the keyword)
    const char* code; // stable name of the finding, listed in the configuration guide
};

// A box of display columns x0..x1 and rows y0..y1, inclusive, in 64 bits so that no
// configured value can overflow it.
struct Extent {
    int64_t x0, y0, x1, y1;
};

// The disc of an instrument sized by a diameter field.
struct Disc {
    int64_t diameter;
    int64_t radius;
};

// Text printed at a text cursor: `text`, or `count` digits when the text is not known.
struct TextRun {
    int32_t x, y, scale;
    std::string text;
    int32_t count;
};

struct LineFacts {
    // The checker reports the disc first, then the findings, the extent and the text.
    std::optional<Disc> disc;
    std::vector<LineFinding> findings;
    std::optional<Extent> extent;
    std::optional<TextRun> text;
};

// The extent of a span of `aLength` columns from `a` and `bLength` rows from `b`, which
// may be negative, ends included.
inline Extent spanExtent(int64_t a, int64_t aLength, int64_t b, int64_t bLength) {
    return {a < a + aLength ? a : a + aLength, b < b + bLength ? b : b + bLength,
            a < a + aLength ? a + aLength : a, b < b + bLength ? b + bLength : b};
}

// A user's text inside a message: in single quotes, control bytes as \xNN so that a message
// stays one line, and a text longer than 60 bytes cut there with an ellipsis.
std::string quoteUserText(std::string_view text);

inline Extent circleExtent(int64_t x, int64_t y, int64_t radius) {
    const int64_t r = radius < 0 ? -radius : radius;
    return {x - r, y - r, x + r, y + r};
}

} // namespace orvanta
