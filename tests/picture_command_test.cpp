// orvanta-cli picture as a designer runs it: the BMP it writes is drawn by the device's own
// picture loader, the options shape it, and files it cannot read are refused in one line,
// with OUT left alone.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/config/parser.h"
#include "core/display/surface.h"
#include "media/convert.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

class PictureCommandTest : public SystemTest {
  protected:
    std::string path(const std::string& name) const { return (folder / name).string(); }
    int picture(const std::string& arguments, std::string* out = nullptr,
                std::string* err = nullptr) {
        return runCli("picture " + arguments, out, err);
    }
    void imageMagick(const std::string& arguments) {
        const std::string command = "cd " + folder.string() + " && convert " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    RgbaImage decodeFile(const std::string& name) {
        const std::string bytes = readWholeFile(folder / name);
        RgbaImage image;
        std::string error;
        EXPECT_TRUE(decodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                                  &image, &error))
            << name << ": " << error;
        return image;
    }
};

uint32_t rgbAt(const RgbaImage& image, int32_t x, int32_t y) {
    const uint8_t* p = image.rgba.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
    return p[0] | p[1] << 8 | p[2] << 16;
}

TEST_F(PictureCommandTest, TheDeviceDrawsWhatThePreviewShows) {
    imageMagick("-size 300x200 gradient:yellow-navy -alpha set -channel A -fx 'i/w' "
                "+channel wide.png");
    const std::string variants[] = {"", "--dither", "--place 20,30 --background '#336699'",
                                    "--crop 100,0,100,200 --place 90,0 --background 2016"};
    for (const std::string& options : variants) {
        std::string out;
        ASSERT_EQ(picture(path("wide.png") + " " + path("out.bmp") + " --preview " +
                              path("preview.png") + " --zoom 2 " + options,
                          &out),
                  0)
            << options << "\n"
            << out;
        parseConfigLine(loading, "image;out.bmp");
        RgbImage preview;
        ASSERT_TRUE(readPng(path("preview.png"), &preview));
        EXPECT_TRUE(imageFromSurface(surface, 2) == preview) << options;
        EXPECT_NE(out.find(options.find("--place") != std::string::npos
                               ? "out.bmp: 128 x 128 pixels"
                               : "out.bmp: 128 x 85 pixels"),
                  std::string::npos)
            << out;
    }
}

TEST_F(PictureCommandTest, JpegPixelsAreThoseDjpegDecodes) {
    imageMagick("-size 37x29 plasma:fractal -seed 4 photo.ppm");
    for (const char* kind : {"-quality 85", "-interlace plane", "-colorspace gray"}) {
        imageMagick(std::string("photo.ppm ") + kind + " photo.jpg");
        ASSERT_EQ(picture(path("photo.jpg") + " " + path("photo.bmp")), 0) << kind;
        const std::string command = "djpeg -pnm " + path("photo.jpg") + " >" + path("djpeg.pnm");
        ASSERT_EQ(std::system(command.c_str()), 0);
        imageMagick("djpeg.pnm -depth 8 djpeg.pam");
        const RgbaImage want = decodeFile("photo.bmp");
        // The PAM from ImageMagick is read here through its raw bytes after the header.
        const std::string pam = readWholeFile(folder / "djpeg.pam");
        const std::size_t data = pam.find("ENDHDR\n") + 7;
        const int depth = pam.find("DEPTH 1") != std::string::npos ? 1 : 3;
        ASSERT_EQ(want.width, 37);
        ASSERT_EQ(want.height, 29);
        int wrong = 0;
        for (int32_t i = 0; i < 37 * 29; ++i) {
            const auto* p = reinterpret_cast<const uint8_t*>(pam.data() + data + i * depth);
            const uint32_t rgb = depth == 1 ? p[0] * 0x010101u : p[0] | p[1] << 8 | p[2] << 16;
            wrong += rgbAt(want, i % 37, i / 37) != rgb;
        }
        EXPECT_EQ(wrong, 0) << kind;
    }
}

TEST_F(PictureCommandTest, FixesAFileInPlaceAndNeverHalfWritesOne) {
    imageMagick("-size 40x30 xc:orange logo.png");
    fs::copy_file(folder / "logo.png", folder / "logo.bmp");
    ASSERT_EQ(picture(path("logo.bmp") + " " + path("logo.bmp")), 0);
    const std::string fixed = readWholeFile(folder / "logo.bmp");
    ASSERT_EQ(fixed.substr(0, 2), "BM");
    EXPECT_EQ(fixed[28], 24);
    EXPECT_EQ(fixed.size(), 54u + 120 * 30);

    std::ofstream(folder / "broken.png", std::ios::binary)
        << readWholeFile(folder / "logo.png").substr(0, 60);
    std::string err;
    EXPECT_EQ(picture(path("broken.png") + " " + path("logo.bmp"), nullptr, &err), 2);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(readWholeFile(folder / "logo.bmp"), fixed);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 3) << "a temporary file was left behind";
}

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.push_back(static_cast<char>(data.size() >> shift));
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
    chunk += body;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<char>(crc >> shift));
    return chunk;
}

// A grey 1-bit PNG of size x size pixels, all black, whose compressed rows are tiny.
std::string pngOfZeros(uint32_t size) {
    std::string header;
    for (uint32_t v : {size, size})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(static_cast<char>(v >> shift));
    header += std::string("\x01\x00\x00\x00\x00", 5);
    const std::string raw(static_cast<std::size_t>(size) * (1 + (size + 7) / 8), '\0');
    uLongf length = compressBound(raw.size());
    std::string packed(length, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
              reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9);
    packed.resize(length);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + pngChunk("IDAT", packed) +
           pngChunk("IEND", "");
}

TEST_F(PictureCommandTest, RefusesHostilePicturesInOneLine) {
    imageMagick("-size 64x48 plasma:fractal -seed 2 good.png");
    imageMagick("good.png good.jpg");
    imageMagick("good.png -colors 64 good.gif");
    imageMagick("good.png -type truecolor bmp3:good.bmp");
    BmpBuilder huge;
    huge.width = huge.height = 100000;
    huge.writePixels = false;
    std::string jpegHuge = readWholeFile(folder / "good.jpg");
    const std::size_t sof = jpegHuge.find("\xff\xc0");
    ASSERT_NE(sof, std::string::npos);
    jpegHuge.replace(sof + 5, 4, "\xff\xdc\xff\xdc");
    const struct {
        std::string name, bytes, says;
    } cases[] = {
        {"empty.png", "", "the file is empty"},
        {"text.png", "hello\n", "not a PNG, JPEG, GIF or BMP picture"},
        {"huge.bmp", huge.build(), "claims 100000 x 100000 pixels"},
        {"huge.jpg", jpegHuge, "claims 65500 x 65500 pixels"},
        {"huge.gif",
         std::string("GIF89a\xff\xff\xff\xff\x00\x00\x00,", 14) +
             std::string("\0\0\0\0\xff\xff\xff\xff\0\x02", 10),
         "claims 65535 x 65535 pixels"},
        {"bomb.png", pngOfZeros(30000), "claims 30000 x 30000 pixels"},
    };
    for (const auto& c : cases) std::ofstream(folder / c.name, std::ios::binary) << c.bytes;
    for (const std::string name : {"good.png", "good.jpg", "good.gif", "good.bmp"}) {
        const std::string bytes = readWholeFile(folder / name);
        std::ofstream(folder / ("cut-" + name), std::ios::binary)
            << bytes.substr(0, bytes.size() / 2);
    }
    std::vector<std::pair<std::string, std::string>> runs;
    for (const auto& c : cases) runs.emplace_back(c.name, c.says);
    for (const std::string name : {"good.png", "good.jpg", "good.gif", "good.bmp"})
        runs.emplace_back("cut-" + name, "");
    for (const auto& [name, says] : runs) {
        std::string err;
        EXPECT_EQ(picture(path(name) + " " + path("out.bmp"), nullptr, &err), 2) << name;
        EXPECT_EQ(err.rfind("orvanta-cli picture: error: '" + path(name) + "': ", 0), 0) << err;
        EXPECT_NE(err.find(says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(fs::exists(folder / "out.bmp")) << name;
    }
}

} // namespace
} // namespace orvanta::test
