// Fuzzes a picture file through the picture command's own work: sniffing, decoding with
// libpng, libjpeg-turbo, giflib or our BMP reader, converting, and encoding the BMP and the
// preview PNG, under the command's limits. The input is the whole file. Its last byte
// chooses the command's options, so that cropping, fitting, placing, dithering and the
// preview are reached as well. In most picture files the last byte is an end marker or
// padding that decoding does not depend on, so seeds stay ordinary picture files.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "media/picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::span<const uint8_t> file(data, size);
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    ConvertOptions options;
    options.dither = (choice & 1) != 0;
    if ((choice & 2) != 0) options.fit = PictureRect{0, 0, 40 + choice % 7, 30 + choice % 5};
    if ((choice & 4) != 0) options.crop = PictureRect{choice % 3, choice % 5, 1 + choice % 11, 2};
    if ((choice & 8) != 0) options.place = PictureRect{choice % 13 - 6, 120 + choice % 17, 0, 0};
    options.background = (choice & 16) != 0 ? 0xFF8040u : 0;
    const int32_t previewZoom = (choice & 32) != 0 ? 1 + (choice >> 7) : 0;

    ConvertResult result;
    PictureFiles files;
    std::string error;
    if (makePictureFiles(file, options, previewZoom, &result, &files, &error)) {
        // A converted picture always fits the panel and always becomes a whole BMP.
        if (result.picture.width < 1 || result.picture.width > 128 || result.picture.height < 1 ||
            result.picture.height > 128)
            __builtin_trap();
        const std::size_t row = (static_cast<std::size_t>(result.picture.width) * 3 + 3) / 4 * 4;
        if (files.bmp.size() != 54 + row * static_cast<std::size_t>(result.picture.height))
            __builtin_trap();
        if ((previewZoom > 0) == files.preview.empty()) __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap(); // a refusal always says why
    }
    return 0;
}
