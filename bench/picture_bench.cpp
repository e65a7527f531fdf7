#include <benchmark/benchmark.h>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include <cstdlib>
#include <vector>

#include "media/convert.h"

namespace orvanta {
namespace {

// A photograph-sized JPEG of smooth colour with fine detail, encoded here at quality 90
// with the library's default 4:2:0 sampling, as cameras write them.
std::vector<uint8_t> makeJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<uint8_t>(x * 255 / width);
            row[x * 3 + 1] = static_cast<uint8_t>(y * 255 / height ^ (x & 7) * 3);
            row[x * 3 + 2] = static_cast<uint8_t>((x + y) % 256);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> file(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return file;
}

// The whole conversion of a 4000 x 3000 photograph: decoding, fitting into the panel by
// area averaging and writing the BMP bytes.
void BM_ConvertPhotoJpeg(benchmark::State& state) {
    const std::vector<uint8_t> jpeg = makeJpeg(4000, 3000);
    for (auto _ : state) {
        ConvertResult result;
        std::string error;
        if (!convertPicture(jpeg, {}, &result, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(encodeBmp24(result.picture));
    }
}
BENCHMARK(BM_ConvertPhotoJpeg)->Unit(benchmark::kMillisecond);

// A GIF of a few bytes whose 6000 x 6000 screen holds one pixel: the work is composing
// and averaging 36 million transparent pixels, the most a file this small can ask for.
void BM_ConvertHugeSparseGif(benchmark::State& state) {
    const uint8_t gif[] = {'G', 'I', 'F', '8', '9',  'a',  0x70, 0x17, 0x70, 0x17, 0x80, 0,
                           0,   0,   0,   0,   0xFF, 0xFF, 0xFF, ',',  0,    0,    0,    0,
                           1,   0,   1,   0,   0,    2,    2,    0x4C, 1,    0,    ';'};
    for (auto _ : state) {
        ConvertResult result;
        std::string error;
        if (!convertPicture(gif, {}, &result, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(result.picture.rgb.data());
    }
}
BENCHMARK(BM_ConvertHugeSparseGif)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvanta
