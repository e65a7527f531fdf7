#include "media/convert.h"

#include <algorithm>
#include <memory>

#include "core/display/surface.h"

namespace orvanta {

namespace {

void appendLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The picture on a panel-sized canvas of the background colour, its top-left pixel at
// (x, y); what falls off the canvas is cut away.
RgbImage placeOnPanel(const RgbImage& picture, int64_t x, int64_t y, uint32_t background) {
    RgbImage canvas;
    canvas.width = canvas.height = DISPLAY_SIZE;
    canvas.rgb.resize(static_cast<std::size_t>(DISPLAY_SIZE) * DISPLAY_SIZE * 3);
    for (int32_t row = 0; row < DISPLAY_SIZE; ++row)
        for (int32_t column = 0; column < DISPLAY_SIZE; ++column) {
            const int64_t sx = column - x, sy = row - y;
            const bool inside = sx >= 0 && sy >= 0 && sx < picture.width && sy < picture.height;
            canvas.setPixel(column, row,
                            inside
                                ? picture.pixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy))
                                : background);
        }
    return canvas;
}

int64_t countChangedByPanel(const RgbImage& picture) {
    int64_t changed = 0;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint32_t rgb = picture.pixel(x, y);
            if (color565ToRgb(rgbToColor565(rgb)) != rgb) ++changed;
        }
    return changed;
}

} // namespace

bool convertPicture(std::span<const uint8_t> file, const ConvertOptions& options,
                    ConvertResult* result, std::string* error) {
    RgbaImage decoded;
    result->format = detectPictureFormat(file);
    if (!decodePicture(file, &decoded, error)) return false;
    result->sourceWidth = decoded.width;
    result->sourceHeight = decoded.height;
    PictureRect area{0, 0, decoded.width, decoded.height};
    if (options.crop) {
        const PictureRect& c = *options.crop;
        if (c.x < 0 || c.y < 0 || c.width < 1 || c.height < 1 || c.x + c.width > decoded.width ||
            c.y + c.height > decoded.height) {
            *error = "the crop " + std::to_string(c.x) + "," + std::to_string(c.y) + "," +
                     std::to_string(c.width) + "," + std::to_string(c.height) +
                     " does not lie within the " + std::to_string(decoded.width) + " x " +
                     std::to_string(decoded.height) + " picture";
            return false;
        }
        area = c;
    }
    // Transparent pixels take the background before averaging, which then mixes the
    // colours a viewer sees rather than the hidden colours under transparent pixels. Only
    // the pixels of the area are composed, so a small part of a huge picture costs little.
    const PictureRect box = options.fit.value_or(PictureRect{0, 0, DISPLAY_SIZE, DISPLAY_SIZE});
    int32_t width = 0, height = 0;
    fittedSize(area.width, area.height, box.width, box.height, &width, &height);
    RgbImage picture = width != area.width || height != area.height
                           ? averageArea(decoded, area, width, height, options.background)
                           : composeOver(std::move(decoded), area, options.background);
    if (options.place)
        picture = placeOnPanel(picture, options.place->x, options.place->y, options.background);
    result->changedByPanel = countChangedByPanel(picture);
    if (options.dither) ditherToPanel(picture);
    result->picture = std::move(picture);
    return true;
}

std::vector<uint8_t> encodeBmp24(const RgbImage& image) {
    const uint32_t rowSize = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowSize * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    appendLE(out, 54 + dataSize, 4);
    appendLE(out, 0, 4);  // the two creator fields
    appendLE(out, 54, 4); // pixel data offset
    appendLE(out, 40, 4); // header size
    appendLE(out, static_cast<uint32_t>(image.width), 4);
    appendLE(out, static_cast<uint32_t>(image.height), 4); // positive: bottom-up rows
    appendLE(out, 1, 2);                                   // planes
    appendLE(out, 24, 2);                                  // bits per pixel
    appendLE(out, 0, 4);                                   // no compression
    appendLE(out, dataSize, 4);
    appendLE(out, 2835, 4); // 72 pixels per inch, both ways
    appendLE(out, 2835, 4);
    appendLE(out, 0, 4); // no colour table
    appendLE(out, 0, 4);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t rgb = image.pixel(x, y);
            out.push_back(static_cast<uint8_t>(rgb >> 16));
            out.push_back(static_cast<uint8_t>(rgb >> 8));
            out.push_back(static_cast<uint8_t>(rgb));
        }
        out.resize(out.size() + (rowSize - static_cast<uint32_t>(image.width) * 3), 0);
    }
    return out;
}

RgbImage panelPreview(const RgbImage& picture, int32_t zoom) {
    auto surface = std::make_unique<Surface>(); // black, as the "image" line leaves it
    for (int32_t y = 0; y < std::min(picture.height, DISPLAY_SIZE); ++y)
        for (int32_t x = 0; x < std::min(picture.width, DISPLAY_SIZE); ++x)
            surface->pixels[y * DISPLAY_SIZE + x] =
                color565ToRgb(rgbToColor565(picture.pixel(x, y)));
    return imageFromSurface(*surface, zoom);
}

} // namespace orvanta
