// Every kind of picture file the converter reads, made here from a known picture: by
// ImageMagick where it writes that kind, byte by byte where it does not. Where the file
// holds at most 8 bits a channel, the decoded pixels must equal the known ones exactly.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/display/surface.h"
#include "media/picture.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

// A picture as RGBA words: red in bits 0-7, alpha in bits 24-31.
using Rgba = std::function<uint32_t(int32_t x, int32_t y)>;
constexpr int32_t kWidth = 23, kHeight = 17; // odd sizes, so rows need padding

uint32_t opaque(uint32_t rgb) {
    return rgb | 0xFF000000u;
}
Rgba fullColour() {
    return [](int32_t x, int32_t y) { return opaque(patternPixel(x, y)); };
}
Rgba grey() {
    return [](int32_t x, int32_t y) {
        const uint32_t v = static_cast<uint32_t>(x * 11 + y * 7) & 0xFF;
        return opaque(v * 0x010101u);
    };
}
Rgba blackAndWhite() {
    return [](int32_t x, int32_t y) { return opaque((x + y) % 3 == 0 ? 0xFFFFFFu : 0); };
}
// At most 16 colours, for 4-bit colour tables.
Rgba sixteenColours() {
    return [](int32_t x, int32_t y) {
        const uint32_t i = static_cast<uint32_t>(x / 3 + y / 3) % 16;
        return opaque(i * 16 | (255 - i * 16) << 8 | (i * 5) << 16);
    };
}
// At most 256 colours, for 8-bit colour tables.
Rgba manyColours() {
    return [](int32_t x, int32_t y) { return opaque(patternPixel(x, y) & 0xC0E0E0u); };
}
// Colours the panel shows exactly, for 5-6-5 files.
Rgba panelColours() {
    return [](int32_t x, int32_t y) {
        return opaque(color565ToRgb(rgbToColor565(patternPixel(x, y))));
    };
}
// Five bits a channel, each widened as the panel widens red and blue.
Rgba fiveBitColours() {
    return [](int32_t x, int32_t y) {
        uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c)
            rgb |= ((patternPixel(x, y) >> (8 * c + 3)) & 31) * 255 / 31 << (8 * c);
        return opaque(rgb);
    };
}
uint32_t alphaAt(int32_t x, int32_t y) {
    return static_cast<uint32_t>(x * 11 + y * 3) % 256 << 24;
}
Rgba translucent() {
    return [](int32_t x, int32_t y) { return patternPixel(x, y) | alphaAt(x, y); };
}
Rgba greyTranslucent() {
    return [](int32_t x, int32_t y) { return (grey()(x, y) & 0xFFFFFF) | alphaAt(x, y); };
}

class PictureFormatsTest : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("orvanta-formats-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    // Writes the picture as a PAM file, which ImageMagick reads with its alpha.
    std::string writeSource(const Rgba& source) {
        const fs::path path = dir / "source.pam";
        std::string data = "P7\nWIDTH " + std::to_string(kWidth) + "\nHEIGHT " +
                           std::to_string(kHeight) +
                           "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                for (int c = 0; c < 4; ++c)
                    data.push_back(static_cast<char>(source(x, y) >> (8 * c)));
        std::ofstream(path, std::ios::binary) << data;
        return path.string();
    }
    std::string imageMagick(const Rgba& source, const std::string& arguments) {
        const std::string out = (dir / "made").string();
        const std::string command =
            "convert " + writeSource(source) + " " + arguments + out + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readWholeFile(out);
    }
};

bool decodesTo(const std::string& file, const Rgba& source, std::string* why) {
    RgbaImage image;
    std::string error;
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    if (!decodePicture({bytes, file.size()}, &image, &error)) return *why = error, false;
    if (image.width != kWidth || image.height != kHeight)
        return *why = std::to_string(image.width) + "x" + std::to_string(image.height), false;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const uint8_t* p = image.rgba.data() + (y * kWidth + x) * 4;
            const uint32_t got = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
            // Fully transparent pixels may carry any colour.
            const uint32_t want = source(x, y);
            if (got != want && !(p[3] == 0 && want >> 24 == 0)) {
                char text[80];
                std::snprintf(text, sizeof text, "pixel %d,%d is %08x, not %08x", x, y, got, want);
                return *why = text, false;
            }
        }
    return true;
}

uint32_t le(const std::string& file, std::size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(file[at + static_cast<std::size_t>(i)]);
    return value;
}

TEST_F(PictureFormatsTest, ReadsEveryKindImageMagickWritesExactly) {
    // The header fields prove that each file is of the kind named.
    const struct {
        const char* name;
        Rgba source;
        std::string arguments;
        std::vector<std::pair<std::size_t, uint32_t>> bytesAt; // PNG: single bytes
    } cases[] = {
        {"PNG grey 1-bit",
         blackAndWhite(),
         "-define png:color-type=0 -define png:bit-depth=1 png:",
         {{24, 1}, {25, 0}}},
        {"PNG grey 8-bit",
         grey(),
         "-define png:color-type=0 -define png:bit-depth=8 png:",
         {{24, 8}, {25, 0}}},
        {"PNG grey 16-bit",
         grey(),
         "-define png:color-type=0 -define png:bit-depth=16 png:",
         {{24, 16}, {25, 0}}},
        {"PNG palette 4-bit",
         sixteenColours(),
         "-define png:color-type=3 -define png:bit-depth=4 png:",
         {{24, 4}, {25, 3}}},
        {"PNG palette 8-bit", manyColours(), "png8:", {{24, 8}, {25, 3}}},
        {"PNG RGB 8-bit", fullColour(), "png24:", {{24, 8}, {25, 2}}},
        {"PNG RGB 16-bit", fullColour(), "png48:", {{24, 16}, {25, 2}}},
        {"PNG RGBA 8-bit", translucent(), "png32:", {{24, 8}, {25, 6}}},
        {"PNG RGBA 16-bit", translucent(), "png64:", {{24, 16}, {25, 6}}},
        {"PNG grey and alpha", greyTranslucent(), "-define png:color-type=4 png:", {{25, 4}}},
        {"GIF", sixteenColours(), "gif:", {}},
        {"BMP 1-bit, core header", blackAndWhite(), "-type palette -colors 2 bmp2:", {}},
        {"BMP 1-bit", blackAndWhite(), "-type palette -colors 2 bmp3:", {{28, 1}, {14, 40}}},
        {"BMP 4-bit",
         sixteenColours(),
         "-type palette -colors 16 -compress none bmp3:",
         {{28, 4}, {30, 0}}},
        {"BMP 8-bit", manyColours(), "-type palette -compress none bmp3:", {{28, 8}, {30, 0}}},
        {"BMP 8-bit RLE", manyColours(), "-type palette -compress rle bmp3:", {{28, 8}, {30, 1}}},
        {"BMP 24-bit", fullColour(), "-type truecolor bmp3:", {{28, 24}, {14, 40}}},
        {"BMP 24-bit, V5 header", fullColour(), "-type truecolor bmp:", {{28, 24}, {14, 124}}},
        {"BMP 32-bit, V5 header with alpha",
         translucent(),
         "-type truecoloralpha bmp:",
         {{28, 32}, {14, 124}}},
    };
    for (const auto& c : cases) {
        const std::string file = imageMagick(c.source, c.arguments);
        for (const auto& [at, value] : c.bytesAt) {
            ASSERT_GT(file.size(), at + 4) << c.name;
            const bool png = file.rfind("\x89PNG", 0) == 0;
            EXPECT_EQ(le(file, at, png ? 1 : (at == 14 || at == 30 ? 4 : 2)), value)
                << c.name << ": field at byte " << at;
        }
        std::string why;
        EXPECT_TRUE(decodesTo(file, c.source, &why)) << c.name << ": " << why;
    }
}

// A 16-bit BMP of the source, which ImageMagick does not write: 5-6-5 with bit fields
// after a 40-byte header, or 5-5-5 in the default layout.
std::string bmp16(const Rgba& source, bool sixFiveSix) {
    const uint32_t rowSize = (kWidth * 2 + 3) & ~3u, tableSize = sixFiveSix ? 12 : 0;
    std::string out = "BM";
    appendLE32(out, 54 + tableSize + rowSize * kHeight);
    appendLE32(out, 0);
    appendLE32(out, 54 + tableSize);
    for (uint32_t v : {40u, uint32_t{kWidth}, uint32_t{kHeight}}) appendLE32(out, v);
    appendLE16(out, 1);
    appendLE16(out, 16);
    appendLE32(out, sixFiveSix ? 3 : 0);
    out.append(20, '\0');
    if (sixFiveSix)
        for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) appendLE32(out, mask);
    for (int32_t y = kHeight - 1; y >= 0; --y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            const uint32_t rgb = source(x, y);
            const uint32_t r = (rgb & 0xFF) >> 3, g = (rgb >> 8) & 0xFF,
                           b = (rgb >> 16 & 0xFF) >> 3;
            appendLE16(out, sixFiveSix ? r << 11 | (g >> 2) << 5 | b : r << 10 | (g >> 3) << 5 | b);
        }
        out.append(rowSize - kWidth * 2, '\0');
    }
    return out;
}

// The same picture with the 108-byte V4 header instead of the V5 header it has: the V5
// header's last 16 bytes are dropped and the pixel offset moves with them.
std::string withV4Header(std::string v5) {
    v5.erase(14 + 108, 16);
    const uint32_t offset = le(v5, 10, 4) - 16;
    for (int i = 0; i < 4; ++i) v5[10 + i] = static_cast<char>(offset >> (8 * i));
    v5[14] = 108;
    return v5;
}

TEST_F(PictureFormatsTest, ReadsTheBmpKindsImageMagickDoesNotWrite) {
    std::string why;
    EXPECT_TRUE(decodesTo(bmp16(panelColours(), true), panelColours(), &why)) << "5-6-5: " << why;
    EXPECT_TRUE(decodesTo(bmp16(fiveBitColours(), false), fiveBitColours(), &why))
        << "5-5-5: " << why;
    const std::string v5 = imageMagick(translucent(), "-type truecoloralpha bmp:");
    ASSERT_EQ(le(v5, 14, 4), 124u);
    EXPECT_TRUE(decodesTo(withV4Header(v5), translucent(), &why)) << "V4: " << why;
    BmpBuilder topDown;
    topDown.width = kWidth;
    topDown.height = -kHeight;
    topDown.pixels = patternPixel;
    EXPECT_TRUE(decodesTo(topDown.build(), fullColour(), &why)) << "top-down: " << why;
}

} // namespace
} // namespace orvanta::test
