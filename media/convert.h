#pragma once
// Turns any picture file into the one kind the device draws, an uncompressed 24-bit BMP no
// larger than the panel: cropped, composed over a background, fitted by area averaging,
// placed on a panel-sized canvas and optionally dithered to the panel's RGB565 colours.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/image.h"
#include "media/picture.h"

namespace orvanta {

struct PictureRect {
    int64_t x = 0, y = 0, width = 0, height = 0;
};

struct ConvertOptions {
    // The box to fit into, shrinking only; without one a picture larger than the panel is
    // fitted into the panel and a smaller one keeps its size.
    std::optional<PictureRect> fit{}; // width and height used
    std::optional<PictureRect> crop{};
    uint32_t background = 0; // Rgb24 under transparent pixels and around a placed picture
    bool dither = false;
    std::optional<PictureRect> place{}; // x and y used: the canvas is the panel
};

struct ConvertResult {
    RgbImage picture;
    PictureFormat format = PictureFormat::Unknown;
    int32_t sourceWidth = 0, sourceHeight = 0;
    // Pixels of the picture, before any dithering, whose colour the panel cannot show
    // exactly and so shows changed.
    int64_t changedByPanel = 0;
};

bool convertPicture(std::span<const uint8_t> file, const ConvertOptions& options,
                    ConvertResult* result, std::string* error);

// The part `area` of `image` with every pixel composed over `background` (Rgb24) and the
// alpha dropped, in place.
RgbImage composeOver(RgbaImage&& image, const PictureRect& area, uint32_t background);
// The part `area` of `image`, composed over `background` as above, shrunk to width x height
// by area averaging: each output pixel is the mean of the source area it covers, partly
// covered pixels weighted by their share. The size must be no larger than the area's.
// Only the area's pixels are read, each once or, where two output rows share its row,
// twice.
RgbImage averageArea(const RgbaImage& image, const PictureRect& area, int32_t width, int32_t height,
                     uint32_t background);
// Reduces every pixel to RGB565 with Floyd-Steinberg error diffusion and writes it back as
// the panel's own widening of that value.
void ditherToPanel(RgbImage& image);
// The size that fits width x height into the box keeping the aspect ratio, never larger
// than the picture.
void fittedSize(int64_t width, int64_t height, int64_t boxWidth, int64_t boxHeight,
                int32_t* fitWidth, int32_t* fitHeight);

// The file bytes of an uncompressed 24-bit bottom-up BMP with a 40-byte header.
std::vector<uint8_t> encodeBmp24(const RgbImage& image);
// The panel after an "image" line draws this picture: black, with the picture's colours
// reduced to RGB565 from the top-left corner, each pixel repeated zoom x zoom times.
RgbImage panelPreview(const RgbImage& picture, int32_t zoom);

} // namespace orvanta
