#include <png.h>

#include <cstring>

#include "media/picture.h"

namespace orvanta {

// libpng's simplified reader turns every colour type and bit depth into 8-bit RGBA; 16-bit
// channels are rounded to 8 bits, palette and grey pictures widened exactly.
bool decodePng(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        *error = std::string("the PNG file cannot be read: ") + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    if (!allocatePicture(png.width, png.height, image, error)) {
        png_image_free(&png);
        return false;
    }
    if (!png_image_finish_read(&png, nullptr, image->rgba.data(), 0, nullptr)) {
        *error = std::string("the PNG file cannot be read: ") + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

} // namespace orvanta
