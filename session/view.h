#pragma once
// What a paint shows besides the frame: the picture's place in the client area, the
// display pixel under the cursor and the four overlay texts.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/config/config_state.h"
#include "core/display/surface.h"
#include "core/runtime/provenance.h"
#include "session/host_state.h"

namespace orvanta {

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

// Maps a client point to its display pixel, truncating towards zero; a point that maps
// outside 0..127 reads as 0, 0, colour 0. The colour is the one the window shows at the
// point, `shown`, read back from the window. A host that cannot read it back passes none:
// the colour is then the surface's over the picture and black elsewhere, which is what the
// window shows in the band left of and above the picture that truncation maps to 0.
CursorReading readCursor(const Surface& surface, const PicturePlacement& placement, int32_t zoom,
                         int32_t px, int32_t py, std::optional<Rgb24> shown);

inline constexpr std::size_t kOverlayLineSize = 100;
inline constexpr int kOverlayLines = 4;

struct Overlay {
    char text[kOverlayLines][kOverlayLineSize] = {};
    int32_t length[kOverlayLines] = {};
};

// The four status lines, drawn at client (10, 10), (10, 30), (10, 50) and (10, 70).
Overlay formatOverlay(const HostState& state, const ConfigState& config,
                      const CursorReading& cursor);

// The display pixel that client point (px, py) shows, or none when the point lies outside
// the picture, including the band left of and above it that readCursor maps to 0.
std::optional<PixelPosition> pixelUnderPoint(const PicturePlacement& placement, int32_t zoom,
                                             int32_t px, int32_t py);

// The fifth overlay text, below the four at (10, 90): "Line: " and the pixel's owner,
// padded with blanks to a fixed length, since nothing erases the window between paints.
inline constexpr int32_t kOverlayLineY = 90;
inline constexpr int32_t kLineOverlayLength = 64;
struct OverlayLine {
    char text[kOverlayLineSize] = {};
    int32_t length = 0;
};
OverlayLine formatLineOverlay(const PixelOwner& owner);

// Writes the surface enlarged by zoom (nearest neighbour) as packed 8-bit RGB rows into
// `rgb`, which holds at least (128 x zoom)^2 x 3 bytes.
void enlargeSurface(const Surface& surface, int32_t zoom, uint8_t* rgb);

} // namespace orvanta
