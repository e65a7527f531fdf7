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

// Where one of `in` source cells goes among `out` <= `in` output cells: a source cell is
// at most as long as an output cell, so it falls into output cell `cell` and perhaps the
// next, by the same units as shares() counts in.
struct Split {
    std::size_t cell;
    uint64_t here, next;
};

std::vector<Split> splits(int64_t in, int64_t out) {
    std::vector<Split> result(static_cast<std::size_t>(in));
    for (int64_t s = 0; s < in; ++s) {
        const int64_t begin = s * out, end = (s + 1) * out, cell = begin / in;
        const int64_t boundary = (cell + 1) * in;
        result[static_cast<std::size_t>(s)] =
            end <= boundary
                ? Split{static_cast<std::size_t>(cell), static_cast<uint64_t>(out), 0}
                : Split{static_cast<std::size_t>(cell), static_cast<uint64_t>(boundary - begin),
                        static_cast<uint64_t>(end - boundary)};
    }
    return result;
}

// The background's channels, and a row of RGBA pixels composed over them. The three
// channels are written out rather than looped over: this runs for every pixel of the
// largest pictures.
struct Under {
    unsigned red, green, blue;
    explicit Under(uint32_t background)
        : red(background & 0xFF), green((background >> 8) & 0xFF), blue((background >> 16) & 0xFF) {
    }
    void compose(const uint8_t* rgba, int64_t count, uint8_t* rgb) const {
        for (const uint8_t* end = rgba + count * 4; rgba != end; rgba += 4, rgb += 3) {
            const unsigned alpha = rgba[3], rest = 255 - alpha;
            rgb[0] = static_cast<uint8_t>((rgba[0] * alpha + red * rest + 127) / 255);
            rgb[1] = static_cast<uint8_t>((rgba[1] * alpha + green * rest + 127) / 255);
            rgb[2] = static_cast<uint8_t>((rgba[2] * alpha + blue * rest + 127) / 255);
        }
    }
    // Composes a row as above and adds each channel, times `weight`, to `sums`.
    void composeAdding(const uint8_t* rgba, int64_t count, uint64_t weight, uint64_t* sums) const {
        for (const uint8_t* end = rgba + count * 4; rgba != end; rgba += 4, sums += 3) {
            const unsigned alpha = rgba[3], rest = 255 - alpha;
            sums[0] += (rgba[0] * alpha + red * rest + 127) / 255 * weight;
            sums[1] += (rgba[1] * alpha + green * rest + 127) / 255 * weight;
            sums[2] += (rgba[2] * alpha + blue * rest + 127) / 255 * weight;
        }
    }
};

} // namespace

RgbImage composeOver(RgbaImage&& image, const PictureRect& area, uint32_t background) {
    const Under under(background);
    std::vector<uint8_t>& bytes = image.rgba;
    // Pixel i of the area lands at byte 3i, at or before its own four bytes, so the pass
    // runs in place and the area's rows close up at the front.
    uint8_t* out = bytes.data();
    for (int64_t y = area.y; y < area.y + area.height; ++y) {
        under.compose(bytes.data() + (y * image.width + area.x) * 4, area.width, out);
        out += area.width * 3;
    }
    bytes.resize(static_cast<std::size_t>(area.width * area.height) * 3);
    RgbImage result;
    result.width = static_cast<int32_t>(area.width);
    result.height = static_cast<int32_t>(area.height);
    result.rgb = std::move(bytes);
    return result;
}

RgbImage averageArea(const RgbaImage& image, const PictureRect& area, int32_t width, int32_t height,
                     uint32_t background) {
    const Under under(background);
    RgbImage result;
    result.width = width;
    result.height = height;
    result.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    const std::vector<Split> columns = splits(area.width, width);
    const auto rows = shares(area.y, area.height, height);
    const uint64_t total = static_cast<uint64_t>(area.width) * area.height;
    // First down: each source column of the output row's source rows is composed and added,
    // weighted by the row's share, in one straight pass over the pixels. Then across: each
    // column sum goes to the one or two output pixels it falls into.
    const std::size_t count = static_cast<std::size_t>(area.width) * 3;
    std::vector<uint64_t> down(count);
    std::vector<uint64_t> sum(static_cast<std::size_t>(width + 1) * 3);
    for (int32_t oy = 0; oy < height; ++oy) {
        std::fill(down.begin(), down.end(), 0);
        for (const Share& row : rows[static_cast<std::size_t>(oy)])
            under.composeAdding(image.rgba.data() + (row.source * image.width + area.x) * 4,
                                area.width, row.weight, down.data());
        std::fill(sum.begin(), sum.end(), 0);
        for (std::size_t x = 0; x < columns.size(); ++x) {
            const Split& c = columns[x];
            for (int channel = 0; channel < 3; ++channel) {
                sum[c.cell * 3 + channel] += down[x * 3 + channel] * c.here;
                sum[c.cell * 3 + 3 + channel] += down[x * 3 + channel] * c.next;
            }
        }
        uint8_t* out = result.rgb.data() + static_cast<std::size_t>(oy) * width * 3;
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * 3; ++i)
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
