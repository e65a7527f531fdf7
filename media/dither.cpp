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
    // The errors carried to this row and the next, with a spare cell at each end. They are
    // kept whole, as fractions of a level, so that no rounding shifts the mean colour.
    std::vector<float> current(static_cast<std::size_t>(width + 2) * 3), next(current.size());
    for (int32_t y = 0; y < image.height; ++y) {
        std::fill(next.begin(), next.end(), 0.0f);
        // Serpentine order keeps the error from drifting to one side.
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int32_t i = 0; i < width; ++i) {
            const int32_t x = forward ? i : width - 1 - i;
            const uint32_t source = image.pixel(x, y);
            float wanted[3];
            std::size_t nearest[3];
            for (int c = 0; c < 3; ++c) {
                const float value = static_cast<float>((source >> (8 * c)) & 0xFF) +
                                    current[static_cast<std::size_t>(x + 1) * 3 + c];
                wanted[c] = std::clamp(value, 0.0f, 255.0f);
                nearest[c] = static_cast<std::size_t>(wanted[c] + 0.5f);
            }
            const int32_t colour = five[nearest[0]] << 11 | six[nearest[1]] << 5 | five[nearest[2]];
            const Rgb24 shown = color565ToRgb(colour);
            image.setPixel(x, y, shown);
            for (int c = 0; c < 3; ++c) {
                const float error =
                    (wanted[c] - static_cast<float>((shown >> (8 * c)) & 0xFF)) / 16;
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
