#pragma once
// The simulated 128 x 128 panel: the surface the drawing layer writes to, the colour
// conversions between RGB565 and the surface's 24-bit words, and the display object
// `tft` with its shared cursor and text settings.
#include <cstdint>

namespace orvanta {

class Trace;

inline constexpr int32_t DISPLAY_SIZE = 128;

// A 16-bit RGB565 colour carried in a signed 32-bit integer; only the low 16 bits count.
using Color565 = int32_t;
// The surface's colour word: red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.
using Rgb24 = uint32_t;

struct Surface {
    Rgb24 pixels[DISPLAY_SIZE * DISPLAY_SIZE] = {};
    Rgb24 at(int32_t x, int32_t y) const { return pixels[y * DISPLAY_SIZE + x]; }
};

// Who wrote a pixel last: an index into the owner table of the device that records it.
// The two fixed entries are the pixel nothing has written and the frame-rate text.
using OwnerIndex = uint16_t;
inline constexpr OwnerIndex kOwnerNone = 0;
inline constexpr OwnerIndex kOwnerFps = 1;

// The display object. All fields start at zero and nothing but the drawing and text
// operations changes them: configuration loads never reset the cursor or text state.
struct Tft {
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    int32_t textScaleX = 0;
    int32_t textScaleY = 0;
    int32_t textColor = 0;
    int32_t textBgColor = 0;
};

// What the drawing and text operations work on: the surface, `tft`, and the trace that
// printInt writes to (none: the printed numbers are not traced). While `owners` points to
// a map of one index per pixel, every pixel write also stores `writer` there; recording
// never changes what is drawn.
struct Display {
    Surface surface;
    Tft tft;
    const Trace* trace = nullptr;
    OwnerIndex* owners = nullptr;
    OwnerIndex writer = kOwnerNone;
};

Rgb24 color565ToRgb(int32_t colour);
int32_t rgbToColor565(Rgb24 colour);

void plot(Display& display, int32_t x, int32_t y, int32_t colour);
void moveCursor(Display& display, int32_t x, int32_t y);
void setPixelWindow(Display& display, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void pushPixel(Display& display, int32_t colour);
void clearDisplay(Display& display, int32_t colour);
void rotateDisplay(Display& display, int32_t rotation);

} // namespace orvanta
