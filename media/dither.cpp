#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/display/surface.h"
#include "media/convert.h"

namespace orvanta {

namespace {

// For a channel of `bits` bits: the level whose panel widening lies nearest each 8-bit
// value, so that the error left to spread is as small as it can be.
std::array<uint8_t, 256> nearestLevels(int bits) {
    const int top = (1 << bits) - 1;
    std::array<uint8_t, 256> levels{};
    for (int v = 0; v < 256; ++v) {
        int best = 0;
        for (int k = 0; k <= top; ++k)
            if (std::abs(k * 255 / top - v) < std::abs(best * 255 / top - v)) best = k;
        levels[static_cast<std::size_t>(v)] = static_cast<uint8_t>(best);
    }
    return levels;
}

} // namespace

void ditherToPanel(RgbImage& image) {
    static const std::array<uint8_t, 256> five = nearestLevels(5), six = nearestLevels(6);
    const int32_t width = image.width;
    // Errors in sixteenths, for this row and the next, with a spare cell at each end.
    std::vector<int32_t> current(static_cast<std::size_t>(width + 2) * 3), next(current.size());
    for (int32_t y = 0; y < image.height; ++y) {
        std::fill(next.begin(), next.end(), 0);
        // Serpentine order keeps the error from drifting to one side.
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int32_t i = 0; i < width; ++i) {
            const int32_t x = forward ? i : width - 1 - i;
            const uint32_t source = image.pixel(x, y);
            int32_t wanted[3];
            for (int c = 0; c < 3; ++c) {
                const int32_t value = static_cast<int32_t>((source >> (8 * c)) & 0xFF) +
                                      current[static_cast<std::size_t>(x + 1) * 3 + c] / 16;
                wanted[c] = std::clamp(value, 0, 255);
            }
            const int32_t colour = five[static_cast<std::size_t>(wanted[0])] << 11 |
                                   six[static_cast<std::size_t>(wanted[1])] << 5 |
                                   five[static_cast<std::size_t>(wanted[2])];
            const Rgb24 shown = color565ToRgb(colour);
            image.setPixel(x, y, shown);
            for (int c = 0; c < 3; ++c) {
                const int32_t error = wanted[c] - static_cast<int32_t>((shown >> (8 * c)) & 0xFF);
                const auto at = [&](int32_t column) {
                    return static_cast<std::size_t>(column + 1) * 3 + c;
                };
                current[at(x + step)] += error * 7;
                next[at(x - step)] += error * 3;
                next[at(x)] += error * 5;
                next[at(x + step)] += error * 1;
            }
        }
        std::swap(current, next);
    }
}

} // namespace orvanta
