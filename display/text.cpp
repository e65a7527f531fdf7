#include "display/text.h"

#include <cstdio>

#include "display/arith.h"
#include "display/primitives.h"
#include "display/surface.h"
#include "host/trace.h"

namespace orvanta {

namespace {

// Codes from 176 on show the entry after their own, so entry 0xB0 is never shown and code
// 255 wraps round to the blank entry 0.
int glyphIndex(unsigned char c) {
    return c <= 175 ? c : (c + 1) & 0xFF;
}

// Paints glyph pixel (i, j) of a magnified cell at (x, y) as the outline of its block,
// which is solid up to scale 2 and hollow from scale 3 on. Scale 1 is drawGlyph's own.
void paintGlyphPixel(int32_t x, int32_t y, int32_t i, int32_t j, int32_t colour, int32_t sx,
                     int32_t sy) {
    outlineRect(add32(x, mul32(i, sx)), add32(y, mul32(j, sy)), sx, sy, colour);
}

void newLine() {
    tft.cursorX = 0;
    tft.cursorY = add32(tft.cursorY, mul32(8, tft.textScaleY));
}

} // namespace

void setTextColors(int32_t fg, int32_t bg) {
    tft.textColor = fg;
    tft.textBgColor = bg;
}

void setTextScale(int32_t s) {
    tft.textScaleX = s;
    tft.textScaleY = s;
}

void enableTextWrap(bool) {}

void printText(const char* text) {
    for (const char* p = text; *p != 0; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            newLine();
            continue;
        }
        if (c == '\r') continue;
        // The wrap test counts the whole cell including its spacing column; it is made in
        // 64 bits so that a cursor near the 32-bit limit compares as the numbers say.
        if (int64_t{tft.cursorX} + 6 * int64_t{tft.textScaleX} > DISPLAY_SIZE) newLine();
        drawGlyph(tft.cursorX, tft.cursorY, c, tft.textColor, tft.textBgColor, tft.textScaleX,
                  tft.textScaleY);
        tft.cursorX = add32(tft.cursorX, mul32(6, tft.textScaleX));
    }
}

void printInt(int32_t n) {
    char buffer[100] = {};
    std::snprintf(buffer, sizeof buffer, "%i", static_cast<int>(n));
    printText(buffer);
    traceText("tft.print: ");
    traceLine(buffer);
}

void printFloat(float f) {
    // The longest text, for -FLT_MAX, has 47 characters.
    char buffer[100] = {};
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(f));
    printText(buffer);
}

void drawGlyph(int32_t x, int32_t y, unsigned char c, int32_t fg, int32_t bg, int32_t sx,
               int32_t sy) {
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
        if (Surface* surface = drawTarget(); surface != nullptr) {
            const Rgb24 fgRgb = color565ToRgb(fg), bgRgb = color565ToRgb(bg);
            for (int32_t i = 0; i < 5 && x + i < DISPLAY_SIZE; ++i) {
                for (int32_t j = 0; j < 8 && y + j < DISPLAY_SIZE; ++j) {
                    const bool on = (columns[i] >> j) & 1;
                    if (on || withBackground)
                        surface->pixels[(y + j) * DISPLAY_SIZE + x + i] = on ? fgRgb : bgRgb;
                }
            }
        }
    } else {
        for (int32_t i = 0; i < 5; ++i) {
            for (int32_t j = 0; j < 8; ++j) {
                if ((columns[i] >> j) & 1)
                    paintGlyphPixel(x, y, i, j, fg, sx, sy);
                else if (withBackground)
                    paintGlyphPixel(x, y, i, j, bg, sx, sy);
            }
        }
    }
    if (!withBackground) return;
    if (sx == 1 && sy == 1)
        strokeLine(x + 5, y, x + 5, y + 8, bg);
    else
        outlineRect(add32(x, mul32(5, sx)), y, sx, mul32(8, sy), bg);
}

} // namespace orvanta
