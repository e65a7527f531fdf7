#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include <jerror.h>

#include <csetjmp>

#include "media/picture.h"

namespace orvanta {

namespace {

// The most the library may take for its own work, beyond the decoded picture: enough for
// a progressive colour JPEG at the pixel limit, which keeps every coefficient.
constexpr long kMaxLibraryBytes = 256L << 20;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to the decoder with the library's message.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (info->err->msg_code == JERR_NO_BACKING_STORE)
        std::snprintf(manager->message, sizeof manager->message,
                      "decoding it would take more than %ld MB", kMaxLibraryBytes >> 20);
    else
        (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// A warning means damaged data, such as a file that ends early, which the library would
// fill with grey: the picture is refused instead.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) onError(info);
}

// The decoder state lives outside the function that calls setjmp, so that nothing it
// changes between setjmp and longjmp is lost.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    std::vector<uint8_t> row;
};

bool run(Decoder& d, std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    if (setjmp(d.errors.jump)) {
        *error = std::string("the JPEG file cannot be read: ") + d.errors.message;
        return false;
    }
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = kMaxLibraryBytes;
    jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    // Adobe's CMYK and YCCK pictures come as inverted CMYK, which is folded into RGB below;
    // every other colour space is turned into RGB by the library.
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    // The library keeps all coefficients of a progressive picture in memory, so the limit
    // is checked before the decoder starts.
    if (!allocatePicture(d.info.image_width, d.info.image_height, image, error)) return false;
    jpeg_start_decompress(&d.info);
    const int channels = d.info.output_components;
    d.row.resize(static_cast<std::size_t>(d.info.output_width) * channels);
    while (d.info.output_scanline < d.info.output_height) {
        const std::size_t y = d.info.output_scanline;
        JSAMPROW rows[1] = {d.row.data()};
        jpeg_read_scanlines(&d.info, rows, 1);
        uint8_t* out = image->rgba.data() + y * image->width * 4;
        for (std::size_t x = 0; x < d.info.output_width; ++x, out += 4) {
            const uint8_t* in = d.row.data() + x * channels;
            if (cmyk) {
                const unsigned k = in[3];
                out[0] = static_cast<uint8_t>((in[0] * k + 127) / 255);
                out[1] = static_cast<uint8_t>((in[1] * k + 127) / 255);
                out[2] = static_cast<uint8_t>((in[2] * k + 127) / 255);
            } else {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
            out[3] = 255;
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

bool decodeJpeg(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    Decoder d;
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = onError;
    d.errors.base.emit_message = onMessage;
    const bool ok = run(d, bytes, image, error);
    jpeg_destroy_decompress(&d.info);
    if (!ok) *image = RgbaImage();
    return ok;
}

} // namespace orvanta
