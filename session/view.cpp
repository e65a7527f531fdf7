#include "session/view.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/display/arith.h"

namespace orvanta {

PicturePlacement placePicture(int32_t clientWidth, int32_t clientHeight, int32_t zoom) {
    PicturePlacement p;
    p.size = mul32(DISPLAY_SIZE, zoom);
    const int32_t half = div32(p.size, 2);
    p.originX = sub32(div32(clientWidth, 2), half);
    p.originY = sub32(div32(clientHeight, 2), half);
    return p;
}

CursorReading readCursor(const Surface& surface, const PicturePlacement& placement, int32_t zoom,
                         int32_t px, int32_t py, std::optional<Rgb24> shown) {
    CursorReading r;
    if (zoom < 1) return r;
    // Truncation towards zero puts the points up to zoom - 1 pixels left of or above the
    // picture on column or row 0, where the window shows its background.
    const int32_t dx = sub32(px, placement.originX), dy = sub32(py, placement.originY);
    const int32_t x = div32(dx, zoom), y = div32(dy, zoom);
    if (x < 0 || x >= DISPLAY_SIZE || y < 0 || y >= DISPLAY_SIZE) return r;
    r.x = x;
    r.y = y;
    if (shown)
        r.colour = rgbToColor565(*shown);
    else if (dx >= 0 && dy >= 0)
        r.colour = rgbToColor565(surface.at(x, y));
    return r;
}

namespace {
template <typename... Args>
int32_t formatLine(char (&buffer)[kOverlayLineSize], const char* format, Args... args) {
    const int n = std::snprintf(buffer, kOverlayLineSize, format, args...);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return n < static_cast<int>(kOverlayLineSize) ? n : static_cast<int>(kOverlayLineSize) - 1;
}
} // namespace

Overlay formatOverlay(const HostState& state, const ConfigState& config,
                      const CursorReading& cursor) {
    Overlay o;
    o.length[0] = formatLine(o.text[0], "X: %03ld, Y: %03ld", static_cast<long>(cursor.x),
                             static_cast<long>(cursor.y));
    o.length[1] = formatLine(o.text[1], "Color: %05d", static_cast<int>(cursor.colour));
    // The trailing blanks paint over the end of a longer line left by an earlier paint.
    o.length[2] = formatLine(o.text[2], "This config-file: %s%-20.20s                 ",
                             state.loopConfigName[0] != '\0' ? "... looping on ..." : "",
                             config.thisConfigName);
    o.length[3] = formatLine(o.text[3], "Next config-file: %-20.20s", config.nextConfigName);
    return o;
}

std::optional<PixelPosition> pixelUnderPoint(const PicturePlacement& placement, int32_t zoom,
                                             int32_t px, int32_t py) {
    if (zoom < 1) return std::nullopt;
    const int32_t dx = sub32(px, placement.originX), dy = sub32(py, placement.originY);
    if (dx < 0 || dy < 0) return std::nullopt;
    const int32_t x = div32(dx, zoom), y = div32(dy, zoom);
    if (x >= DISPLAY_SIZE || y >= DISPLAY_SIZE) return std::nullopt;
    return PixelPosition{x, y};
}

OverlayLine formatLineOverlay(const PixelOwner& owner) {
    OverlayLine o;
    const std::string text = "Line: " + describeOwner(owner);
    o.length = formatLine(o.text, "%-*.*s", static_cast<int>(kLineOverlayLength),
                          static_cast<int>(kLineOverlayLength), text.c_str());
    return o;
}

void enlargeSurface(const Surface& surface, int32_t zoom, uint8_t* rgb) {
    if (zoom < 1) return;
    const int32_t side = DISPLAY_SIZE * zoom;
    for (int32_t sy = 0; sy < DISPLAY_SIZE; ++sy) {
        uint8_t* row = rgb + static_cast<std::size_t>(sy) * zoom * side * 3;
        uint8_t* out = row;
        for (int32_t sx = 0; sx < DISPLAY_SIZE; ++sx) {
            const Rgb24 c = surface.at(sx, sy);
            for (int32_t k = 0; k < zoom; ++k) {
                *out++ = static_cast<uint8_t>(c);
                *out++ = static_cast<uint8_t>(c >> 8);
                *out++ = static_cast<uint8_t>(c >> 16);
            }
        }
        // The other rows of the block repeat the first one.
        const std::size_t rowBytes = static_cast<std::size_t>(side) * 3;
        for (int32_t k = 1; k < zoom; ++k) std::copy(row, row + rowBytes, row + k * rowBytes);
    }
}

} // namespace orvanta
