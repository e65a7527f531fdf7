#include <cstring>

#include "media/picture.h"

namespace orvanta {

namespace {
bool startsWith(std::span<const uint8_t> bytes, const char* magic, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}
} // namespace

PictureFormat detectPictureFormat(std::span<const uint8_t> bytes) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) return PictureFormat::Png;
    if (startsWith(bytes, "\xff\xd8\xff", 3)) return PictureFormat::Jpeg;
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6)) return PictureFormat::Gif;
    if (startsWith(bytes, "BM", 2)) return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

const char* pictureFormatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return "PNG";
    case PictureFormat::Jpeg:
        return "JPEG";
    case PictureFormat::Gif:
        return "GIF";
    case PictureFormat::Bmp:
        return "BMP";
    case PictureFormat::Unknown:
        break;
    }
    return "unknown";
}

bool pictureSizeAllowed(int64_t width, int64_t height, std::string* error) {
    if (width <= 0 || height <= 0) {
        *error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels, which has no pixels";
        return false;
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        *error = "the picture claims " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels, more than the " + std::to_string(kMaxPicturePixels / 1'000'000) +
                 " million pixels that can be read";
        return false;
    }
    return true;
}

bool allocatePicture(int64_t width, int64_t height, RgbaImage* image, std::string* error) {
    if (!pictureSizeAllowed(width, height, error)) return false;
    image->width = static_cast<int32_t>(width);
    image->height = static_cast<int32_t>(height);
    image->rgba.assign(static_cast<std::size_t>(width * height) * 4, 0);
    return true;
}

bool decodePicture(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    switch (detectPictureFormat(bytes)) {
    case PictureFormat::Png:
        return decodePng(bytes, image, error);
    case PictureFormat::Jpeg:
        return decodeJpeg(bytes, image, error);
    case PictureFormat::Gif:
        return decodeGif(bytes, image, error);
    case PictureFormat::Bmp:
        return decodeBmp(bytes, image, error);
    case PictureFormat::Unknown:
        break;
    }
    *error =
        bytes.empty() ? "the file is empty" : "the file is not a PNG, JPEG, GIF or BMP picture";
    return false;
}

} // namespace orvanta
