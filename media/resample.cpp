#include <algorithm>

#include "media/convert.h"

namespace orvanta {

namespace {

struct Share {
    int64_t source;
    uint64_t weight;
};

// For each of `out` cells spread over `in` source cells starting at `first`: the source
// cells it covers and by how much, in units of 1/out of a source cell, so that every
// output cell's weights add up to `in`.
std::vector<std::vector<Share>> shares(int64_t first, int64_t in, int64_t out) {
    std::vector<std::vector<Share>> result(static_cast<std::size_t>(out));
    for (int64_t o = 0; o < out; ++o) {
        const int64_t begin = o * in, end = (o + 1) * in;
        for (int64_t s = begin / out; s * out < end; ++s) {
            const int64_t overlap = std::min(end, (s + 1) * out) - std::max(begin, s * out);
            if (overlap > 0)
                result[static_cast<std::size_t>(o)].push_back(
                    {first + s, static_cast<uint64_t>(overlap)});
        }
    }
    return result;
}

} // namespace

RgbImage composeOver(RgbaImage&& image, uint32_t background) {
    const unsigned under[3] = {background & 0xFF, (background >> 8) & 0xFF,
                               (background >> 16) & 0xFF};
    std::vector<uint8_t>& bytes = image.rgba;
    const std::size_t count = bytes.size() / 4;
    // Each pixel's three bytes land at or before its four, so the pass runs in place.
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned alpha = bytes[i * 4 + 3];
        for (int c = 0; c < 3; ++c)
            bytes[i * 3 + c] = static_cast<uint8_t>(
                (bytes[i * 4 + c] * alpha + under[c] * (255 - alpha) + 127) / 255);
    }
    bytes.resize(count * 3);
    RgbImage result;
    result.width = image.width;
    result.height = image.height;
    result.rgb = std::move(bytes);
    return result;
}

RgbImage averageArea(const RgbImage& image, const PictureRect& area, int32_t width,
                     int32_t height) {
    RgbImage result;
    result.width = width;
    result.height = height;
    result.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    const auto columns = shares(area.x, area.width, width);
    const auto rows = shares(area.y, area.height, height);
    const uint64_t total = static_cast<uint64_t>(area.width) * area.height;
    std::vector<uint64_t> sum(static_cast<std::size_t>(width) * 3);
    for (int32_t oy = 0; oy < height; ++oy) {
        std::fill(sum.begin(), sum.end(), 0);
        for (const Share& row : rows[static_cast<std::size_t>(oy)]) {
            const uint8_t* in = image.rgb.data() + row.source * image.width * 3;
            for (std::size_t ox = 0; ox < columns.size(); ++ox) {
                uint64_t r = 0, g = 0, b = 0;
                for (const Share& column : columns[ox]) {
                    const uint8_t* p = in + column.source * 3;
                    r += p[0] * column.weight;
                    g += p[1] * column.weight;
                    b += p[2] * column.weight;
                }
                sum[ox * 3] += r * row.weight;
                sum[ox * 3 + 1] += g * row.weight;
                sum[ox * 3 + 2] += b * row.weight;
            }
        }
        uint8_t* out = result.rgb.data() + static_cast<std::size_t>(oy) * width * 3;
        for (std::size_t i = 0; i < sum.size(); ++i)
            out[i] = static_cast<uint8_t>((sum[i] + total / 2) / total);
    }
    return result;
}

void fittedSize(int64_t width, int64_t height, int64_t boxWidth, int64_t boxHeight,
                int32_t* fitWidth, int32_t* fitHeight) {
    if (width <= boxWidth && height <= boxHeight) {
        *fitWidth = static_cast<int32_t>(width);
        *fitHeight = static_cast<int32_t>(height);
    } else if (width * boxHeight >= height * boxWidth) {
        *fitWidth = static_cast<int32_t>(boxWidth);
        *fitHeight = static_cast<int32_t>(
            std::max<int64_t>(1, (2 * height * boxWidth + width) / (2 * width)));
    } else {
        *fitHeight = static_cast<int32_t>(boxHeight);
        *fitWidth = static_cast<int32_t>(
            std::max<int64_t>(1, (2 * width * boxHeight + height) / (2 * height)));
    }
}

} // namespace orvanta
