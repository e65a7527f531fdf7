// The picture converter for files dropped on the page: any PNG, JPEG, GIF or BMP turned into
// a 24-bit BMP the device draws, by the same code as orvanta-cli picture.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host/web/pictures/pictures_state.h"
#include "media/convert.h"
#include "media/picture.h"

extern "C" {

// Converts a picture file into a 24-bit BMP fitted into fitWidth x fitHeight (at most the
// panel) over `background` (Rgb24), dithered to the panel's colours when asked. Returns 1
// with the BMP's bytes as the reply, or 0 with one sentence saying why as the reply; either
// way orvanta_reply_data() points at it.
ORVANTA_EXPORT int orvanta_convert_picture(const uint8_t* bytes, uint32_t size, int32_t fitWidth,
                                           int32_t fitHeight, int dither, uint32_t background) {
    orvanta::ConvertOptions options;
    if (fitWidth > 0 && fitHeight > 0)
        options.fit = orvanta::PictureRect{0, 0, std::min(fitWidth, 128), std::min(fitHeight, 128)};
    options.dither = dither != 0;
    options.background = background & 0xffffffu;
    orvanta::ConvertResult result;
    std::string error;
    const std::span<const uint8_t> file(bytes, bytes == nullptr ? 0 : size);
    if (!orvanta::convertPicture(file, options, &result, &error)) {
        orvanta::web::pictureReply(error.empty() ? std::string("the picture could not be converted")
                                                 : error);
        return 0;
    }
    const std::vector<uint8_t> bmp = orvanta::encodeBmp24(result.picture);
    orvanta::web::pictureReply(std::string(bmp.begin(), bmp.end()));
    return 1;
}
}
