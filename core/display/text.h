#pragma once
// Text in the built-in 5 x 8 font at the shared cursor of `tft`.
#include <cstdint>

#include "core/display/arith.h"
#include "core/display/surface.h"

namespace orvanta {

// 256 entries of five column bytes in code page 437 order; bit 0 of a byte is the top row.
extern const uint8_t glyphTable[256][5];

void setTextColors(Display& display, int32_t fg, int32_t bg);
void setTextScale(Display& display, int32_t s);
void enableTextWrap(Display& display, bool flag);
void printText(Display& display, const char* text);
// Prints the number and traces it as "tft.print: " and its digits.
void printInt(Display& display, int32_t n);
void printFloat(Display& display, float f);
void drawGlyph(Display& display, int32_t x, int32_t y, unsigned char c, int32_t fg, int32_t bg,
               int32_t sx, int32_t sy);

// The cursor walk of printText: a line feed and the wrap test move the cursor to the next
// text row, a carriage return is skipped, and every other character gets its cell at the
// cursor, which then moves one cell on. `cell(x, y, c)` is called for each cell; the walk
// stops early, returning false, when it returns false. The checker walks with it too.
template <class Cell> bool walkText(Tft& tft, const char* text, Cell&& cell) {
    for (const char* p = text; *p != 0; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        const bool lineFeed = c == '\n';
        if (c == '\r') continue;
        // The wrap test counts the whole cell including its spacing column; it is made in
        // 64 bits so that a cursor near the 32-bit limit compares as the numbers say.
        if (lineFeed || int64_t{tft.cursorX} + 6 * int64_t{tft.textScaleX} > DISPLAY_SIZE) {
            tft.cursorX = 0;
            tft.cursorY = add32(tft.cursorY, mul32(8, tft.textScaleY));
        }
        if (lineFeed) continue;
        if (!cell(tft.cursorX, tft.cursorY, c)) return false;
        tft.cursorX = add32(tft.cursorX, mul32(6, tft.textScaleX));
    }
    return true;
}

} // namespace orvanta
