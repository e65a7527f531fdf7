#include "host/resources/icon.h"

#include <cmath>
#include <memory>

#include "core/display/primitives.h"

namespace orvanta {

namespace {
constexpr int32_t kBackground = 0x10A2; // dark slate
constexpr int32_t kBezel = 0x52AA;      // grey frame around the panel
constexpr int32_t kSky = 0x965C;        // the horizon's light blue
constexpr int32_t kGround = 0x8A22;     // brown
constexpr int32_t kWhite = 0xFFFF;
constexpr int32_t kRed = 0xF800;
constexpr int32_t kCentre = 64;
constexpr int32_t kDial = 46;
} // namespace

void drawProgramIcon(Display& display) {
    clearDisplay(display, kBackground);
    solidRoundBox(display, 6, 6, 116, 116, 18, kBezel);
    solidRoundBox(display, 12, 12, 104, 104, 14, 0x0000);

    // A white rim and, inside it, an artificial horizon: sky above the centre line, ground
    // below it, the ground drawn as one chord per row.
    solidCircle(display, kCentre, kCentre, kDial + 2, kWhite);
    solidCircle(display, kCentre, kCentre, kDial, kSky);
    for (int32_t dy = 1; dy <= kDial; ++dy) {
        const int32_t half = static_cast<int32_t>(std::sqrt(double(kDial * kDial - dy * dy)));
        strokeLine(display, kCentre - half, kCentre + dy, kCentre + half + 1, kCentre + dy,
                   kGround);
    }

    // Twelve scale marks and a needle pointing to two o'clock.
    for (int32_t deg = 0; deg < 360; deg += 30) {
        strokeLine(display, kCentre + sinScaled(deg, kDial - 9, 1),
                   kCentre - cosScaled(deg, kDial - 9, 1), kCentre + sinScaled(deg, kDial - 1, 1),
                   kCentre - cosScaled(deg, kDial - 1, 1), kWhite);
    }
    const int32_t needle = 60;
    solidTriangle(display, kCentre + sinScaled(needle, 40, 1), kCentre - cosScaled(needle, 40, 1),
                  kCentre + sinScaled(needle + 90, 5, 1), kCentre - cosScaled(needle + 90, 5, 1),
                  kCentre + sinScaled(needle - 90, 5, 1), kCentre - cosScaled(needle - 90, 5, 1),
                  kRed);
    solidCircle(display, kCentre, kCentre, 5, kWhite);
}

std::vector<uint8_t> programIconRgb(int32_t side) {
    auto display = std::make_unique<Display>();
    drawProgramIcon(*display);
    const Surface& surface = display->surface;
    if (side < 1 || side > DISPLAY_SIZE || DISPLAY_SIZE % side != 0) side = DISPLAY_SIZE;
    const int32_t step = DISPLAY_SIZE / side;
    std::vector<uint8_t> rgb(static_cast<std::size_t>(side) * side * 3);
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (int32_t j = 0; j < step; ++j)
                for (int32_t i = 0; i < step; ++i) {
                    const Rgb24 c = surface.at(x * step + i, y * step + j);
                    for (int k = 0; k < 3; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
                }
            for (int k = 0; k < 3; ++k)
                rgb[(static_cast<std::size_t>(y) * side + x) * 3 + k] =
                    static_cast<uint8_t>(sum[k] / static_cast<uint32_t>(step * step));
        }
    }
    return rgb;
}

} // namespace orvanta
