#pragma once
// Everything the window's paint cycle computes, kept free of the window system so that
// tests reach it without a display: the zoom and Loop commands with their check marks,
// the picture's place in the client area, the cursor's display pixel and the overlay texts.
#include <cstddef>
#include <cstdint>

#include "config/config_state.h"
#include "display/surface.h"

namespace orvanta {

// The program has one instance, owned by the window. The menu's check marks are mirrored
// here so that the commands can decide from them without asking the window.
struct HostState {
    int32_t zoomFactor = 1;    // 1..4
    bool clearPending = false; // fill the client area with black at the next paint
    // The successor saved while Loop is on; empty while Loop is off, and also while Loop is
    // on but had an empty successor to save.
    char loopConfigName[kConfigNameSize] = "";
    int32_t checkedZoom = 0; // the checked "Fokus" item as its zoom, 0 for none (the start)
    bool loopChecked = false;
};

// A "Fokus" item: zoom 1..4. Choosing the already checked zoom clears the window again.
// Any other value is ignored, so zoomFactor can never become a divisor of zero.
void chooseZoom(HostState& state, int32_t zoom);

// The Loop item. The decision follows the check mark: a checked item is unchecked and the
// saved successor goes back into nextConfigName; an unchecked item is checked and
// nextConfigName is saved.
void toggleLoop(HostState& state);

// After each frame: while a successor is saved, the next due switch reloads this file.
void holdLoopedConfig(const HostState& state);

struct PicturePlacement {
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t size = DISPLAY_SIZE; // width and height of the enlarged picture
};

// Centres the enlarged picture in a client area; each division truncates towards zero,
// and the origin is negative when the client area is smaller than the picture.
PicturePlacement placePicture(int32_t clientWidth, int32_t clientHeight, int32_t zoom);

// What the overlay reports for the cursor at client point (px, py).
struct CursorReading {
    int32_t x = 0;
    int32_t y = 0;
    int32_t colour = 0; // Color565
};

// Maps a client point to its display pixel, truncating towards zero, and reads that pixel's
// colour from the surface. A point that maps outside 0..127 reads as 0, 0, colour 0.
CursorReading readCursor(const Surface& surface, const PicturePlacement& placement, int32_t zoom,
                         int32_t px, int32_t py);

inline constexpr std::size_t kOverlayLineSize = 100;
inline constexpr int kOverlayLines = 4;

struct Overlay {
    char text[kOverlayLines][kOverlayLineSize] = {};
    int32_t length[kOverlayLines] = {};
};

// The four status lines, drawn at client (10, 10), (10, 30), (10, 50) and (10, 70).
Overlay formatOverlay(const HostState& state, const CursorReading& cursor);

// Writes the surface enlarged by zoom (nearest neighbour) as packed 8-bit RGB rows into
// `rgb`, which holds at least (128 x zoom)^2 x 3 bytes.
void enlargeSurface(const Surface& surface, int32_t zoom, uint8_t* rgb);

} // namespace orvanta
