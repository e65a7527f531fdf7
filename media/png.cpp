#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "media/image.h"
#include "platform/open_file.h"

namespace orvanta {

uint32_t RgbImage::pixel(int32_t x, int32_t y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return rgb[i] | rgb[i + 1] << 8 | static_cast<uint32_t>(rgb[i + 2]) << 16;
}

void RgbImage::setPixel(int32_t x, int32_t y, uint32_t rgb24) {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    rgb[i] = rgb24 & 0xFF;
    rgb[i + 1] = (rgb24 >> 8) & 0xFF;
    rgb[i + 2] = (rgb24 >> 16) & 0xFF;
}

RgbImage imageFromSurface(const Surface& surface, int32_t zoom) {
    if (zoom < 1) zoom = 1;
    RgbImage image;
    image.width = image.height = DISPLAY_SIZE * zoom;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            image.setPixel(x, y, surface.at(x / zoom, y / zoom));
    return image;
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}
} // namespace

namespace {
// libpng's write callback: appends to the vector given as its io pointer.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}
void flushNothing(png_structp) {}
} // namespace

bool encodePng(const RgbImage& image, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        setError(error, "out of memory writing a PNG picture");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        setError(error, "cannot encode a PNG picture");
        return false;
    }
    png_set_write_fn(png, bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < image.height; ++y)
        png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writePng(const std::string& path, const RgbImage& image, std::string* error) {
    std::vector<uint8_t> bytes;
    return encodePng(image, &bytes, error) && writeFileBytes(path, bytes, error);
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error) {
    File file(openFile(path, "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        setError(error, "cannot write '" + path + "': " + std::strerror(errno));
        return false;
    }
    return true;
}

bool readPng(const std::string& path, RgbImage* image, std::string* error) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    // Opened here rather than by libpng, which would read the name in the system's code
    // page on Windows; the file stays open until the last row is read.
    File file(openFile(path, "rb"));
    if (!file) {
        setError(error, "cannot read '" + path + "': " + std::strerror(errno));
        return false;
    }
    if (!png_image_begin_read_from_stdio(&img, file.get())) {
        setError(error, "cannot read '" + path + "': " + img.message);
        return false;
    }
    img.format = PNG_FORMAT_RGB;
    image->width = static_cast<int32_t>(img.width);
    image->height = static_cast<int32_t>(img.height);
    image->rgb.assign(PNG_IMAGE_SIZE(img), 0);
    if (!png_image_finish_read(&img, nullptr, image->rgb.data(), 0, nullptr)) {
        setError(error, "cannot read '" + path + "': " + img.message);
        png_image_free(&img);
        return false;
    }
    return true;
}

} // namespace orvanta
