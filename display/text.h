#pragma once
// Text in the built-in 5 x 8 font at the shared cursor of `tft`.
#include <cstdint>

namespace orvanta {

// 256 entries of five column bytes in code page 437 order; bit 0 of a byte is the top row.
extern const uint8_t glyphTable[256][5];

void setTextColors(int32_t fg, int32_t bg);
void setTextScale(int32_t s);
void enableTextWrap(bool flag);
void printText(const char* text);
void printInt(int32_t n);
void printFloat(float f);
void drawGlyph(int32_t x, int32_t y, unsigned char c, int32_t fg, int32_t bg, int32_t sx,
               int32_t sy);

} // namespace orvanta
