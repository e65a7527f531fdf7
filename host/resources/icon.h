#pragma once
// The program icon: a small cockpit gauge drawn with the simulator's own shapes, so the
// window, the About box and the installed icon file all show the same picture.
#include <cstdint>
#include <vector>

#include "core/display/surface.h"

namespace orvanta {

// Draws the icon over the whole 128 x 128 surface of `display`.
void drawProgramIcon(Display& display);

// The icon as packed 8-bit RGB rows, side x side pixels. `side` divides 128; each output
// pixel averages the square of surface pixels it covers.
std::vector<uint8_t> programIconRgb(int32_t side);

} // namespace orvanta
