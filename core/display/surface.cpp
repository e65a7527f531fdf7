#include "core/display/surface.h"

#include <algorithm>

namespace orvanta {

namespace {

// Every single-pixel write funnels through here: out-of-surface positions are dropped.
inline void setPixel(Display& display, int32_t x, int32_t y, Rgb24 rgb) {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(DISPLAY_SIZE) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(DISPLAY_SIZE))
        return;
    display.surface.pixels[y * DISPLAY_SIZE + x] = rgb;
    if (display.owners != nullptr) display.owners[y * DISPLAY_SIZE + x] = display.writer;
}

} // namespace

Rgb24 color565ToRgb(int32_t colour) {
    const uint32_t c = static_cast<uint32_t>(colour) & 0xFFFFu;
    const uint32_t r5 = (c >> 11) & 0x1F, g6 = (c >> 5) & 0x3F, b5 = c & 0x1F;
    const uint32_t r = r5 * 255 / 31, g = g6 * 255 / 63, b = b5 * 255 / 31;
    return r | g << 8 | b << 16;
}

int32_t rgbToColor565(Rgb24 colour) {
    const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return static_cast<int32_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

void plot(Display& display, int32_t x, int32_t y, int32_t colour) {
    setPixel(display, x, y, color565ToRgb(colour));
}

void moveCursor(Display& display, int32_t x, int32_t y) {
    display.tft.cursorX = x;
    display.tft.cursorY = y;
}

void setPixelWindow(Display& display, int32_t x0, int32_t y0, int32_t, int32_t) {
    moveCursor(display, x0, y0);
}

void pushPixel(Display& display, int32_t colour) {
    setPixel(display, display.tft.cursorX, display.tft.cursorY, color565ToRgb(colour));
}

void clearDisplay(Display& display, int32_t colour) {
    const Rgb24 rgb = color565ToRgb(colour);
    for (Rgb24& p : display.surface.pixels) p = rgb;
    if (display.owners != nullptr)
        std::fill(display.owners, display.owners + DISPLAY_SIZE * DISPLAY_SIZE, display.writer);
}

void rotateDisplay(Display&, int32_t) {}

} // namespace orvanta
