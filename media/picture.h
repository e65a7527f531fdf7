#pragma once
// Reading picture files of any common kind (PNG, JPEG, GIF, BMP) from bytes in memory into
// one 8-bit RGBA form, so that every host converts pictures with the same code.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvanta {

// The largest picture read, in pixels. It is checked against the header before any pixel
// memory is taken, so a file that claims a huge size costs nothing; decoded, a picture
// of this size takes 4 bytes a pixel (160 MB).
inline constexpr int64_t kMaxPicturePixels = 40'000'000;
// The largest side read; BMP allows more, no picture editor writes more.
inline constexpr int64_t kMaxPictureSide = 65'535;

struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, rows top to bottom
};

// The picture's file kind, from its first bytes.
enum class PictureFormat { Unknown, Png, Jpeg, Gif, Bmp };
PictureFormat detectPictureFormat(std::span<const uint8_t> bytes);
const char* pictureFormatName(PictureFormat format);

// Decodes a picture file. On failure returns false and sets `error` to one sentence without
// a trailing full stop, for example "the file ends inside its pixel data".
bool decodePicture(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error);

// The format-specific readers behind decodePicture.
bool decodePng(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error);
bool decodeJpeg(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error);
bool decodeGif(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error);
bool decodeBmp(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error);

// Checks a picture's claimed size against the limits; returns false with `error` set when
// it has no pixels or too many.
bool pictureSizeAllowed(int64_t width, int64_t height, std::string* error);
// Checks the size as above and, when it passes, allocates the pixels, all transparent
// black.
bool allocatePicture(int64_t width, int64_t height, RgbaImage* image, std::string* error);

} // namespace orvanta
