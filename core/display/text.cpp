#include "core/display/text.h"

#include <cstdio>
#include <type_traits>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/trace/trace.h"

namespace orvanta {

namespace {

// Codes from 176 on show the entry after their own, so entry 0xB0 is never shown and code
// 255 wraps round to the blank entry 0.
int glyphIndex(unsigned char c) {
    return c <= 175 ? c : (c + 1) & 0xFF;
}

// Paints glyph pixel (i, j) of a magnified cell at (x, y) as the outline of its block,
// which is solid up to scale 2 and hollow from scale 3 on. Scale 1 is drawGlyph's own.
void paintGlyphPixel(Display& display, int32_t x, int32_t y, int32_t i, int32_t j, int32_t colour,
                     int32_t sx, int32_t sy) {
    outlineRect(display, add32(x, mul32(i, sx)), add32(y, mul32(j, sy)), sx, sy, colour);
}

} // namespace

void setTextColors(Display& display, int32_t fg, int32_t bg) {
    display.tft.textColor = fg;
    display.tft.textBgColor = bg;
}

void setTextScale(Display& display, int32_t s) {
    display.tft.textScaleX = s;
    display.tft.textScaleY = s;
}

void enableTextWrap(Display&, bool) {}

void printText(Display& display, const char* text) {
    Tft& tft = display.tft;
    walkText(tft, text, [&](int32_t x, int32_t y, unsigned char c) {
        drawGlyph(display, x, y, c, tft.textColor, tft.textBgColor, tft.textScaleX, tft.textScaleY);
        return true;
    });
}

void printInt(Display& display, int32_t n) {
    char buffer[100] = {};
    std::snprintf(buffer, sizeof buffer, "%i", static_cast<int>(n));
    printText(display, buffer);
    if (display.trace == nullptr) return;
    traceText(*display.trace, "tft.print: ");
    traceLine(*display.trace, buffer);
}

void printFloat(Display& display, float f) {
    // The longest text, for -FLT_MAX, has 47 characters.
    char buffer[100] = {};
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(f));
    printText(display, buffer);
}

void drawGlyph(Display& display, int32_t x, int32_t y, unsigned char c, int32_t fg, int32_t bg,
               int32_t sx, int32_t sy) {
    // Cells starting left of or above the surface are rejected along with those starting
    // beyond it, even when part of them would be visible.
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(DISPLAY_SIZE) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(DISPLAY_SIZE))
        return;
    const uint8_t* columns = glyphTable[glyphIndex(c)];
    const bool withBackground = bg != fg;
    if (sx == 1 && sy == 1) {
        // Each glyph pixel is one surface pixel here, so the colours are converted once per
        // cell; pixels beyond the right or bottom edge are dropped, as plot drops them.
        Surface& surface = display.surface;
        const Rgb24 fgRgb = color565ToRgb(fg), bgRgb = color565ToRgb(bg);
        const auto cell = [&](auto record) {
            for (int32_t i = 0; i < 5 && x + i < DISPLAY_SIZE; ++i) {
                for (int32_t j = 0; j < 8 && y + j < DISPLAY_SIZE; ++j) {
                    const bool on = (columns[i] >> j) & 1;
                    if (!on && !withBackground) continue;
                    const int32_t at = (y + j) * DISPLAY_SIZE + x + i;
                    surface.pixels[at] = on ? fgRgb : bgRgb;
                    if constexpr (decltype(record)::value) display.owners[at] = display.writer;
                }
            }
        };
        // Whether the cell records its owners is decided once, outside the pixel loop.
        if (display.owners != nullptr)
            cell(std::true_type{});
        else
            cell(std::false_type{});
    } else {
        for (int32_t i = 0; i < 5; ++i) {
            for (int32_t j = 0; j < 8; ++j) {
                if ((columns[i] >> j) & 1)
                    paintGlyphPixel(display, x, y, i, j, fg, sx, sy);
                else if (withBackground)
                    paintGlyphPixel(display, x, y, i, j, bg, sx, sy);
            }
        }
    }
    if (!withBackground) return;
    if (sx == 1 && sy == 1)
        strokeLine(display, x + 5, y, x + 5, y + 8, bg);
    else
        outlineRect(display, add32(x, mul32(5, sx)), y, sx, mul32(8, sy), bg);
}

} // namespace orvanta
