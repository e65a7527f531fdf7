// Which line drew each pixel. Every screen here gives each writer colours no other writer
// uses, so a pixel's final colour names its last writer: the whole owner map is checked
// against the map those colours spell.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/renderer.h"
#include "core/display/surface.h"
#include "core/runtime/provenance.h"
#include "session/view.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

namespace fs = std::filesystem;

PixelOwner lineOwner(const std::string& file, int32_t line, const std::string& keyword) {
    return {PixelOwner::Kind::Line, file, line, keyword};
}

const PixelOwner kFps{PixelOwner::Kind::Fps, "", 0, ""};

// A picture in one RGB565 colour; the colour survives the trip through the BMP bytes.
std::string uniformPicture(int32_t width, int32_t height, int32_t colour) {
    test::BmpBuilder bmp;
    bmp.width = width;
    bmp.height = height;
    const uint32_t rgb = color565ToRgb(colour);
    bmp.pixels = [rgb](int32_t, int32_t) { return rgb; };
    return bmp.build();
}

class ProvenanceTest : public test::SystemTest {
  protected:
    ProvenanceTest() { device.recordOwners(); }

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            clock.advance(110);
            AllMandDObjectsRun(device);
        }
    }

    // Compares the whole owner map with the owners the pixels' colours name. Every colour
    // on the surface must be one of `byColour`.
    ::testing::AssertionResult ownersFollowColours(const std::map<int32_t, PixelOwner>& byColour) {
        std::map<Rgb24, PixelOwner> byRgb;
        for (const auto& [colour, owner] : byColour) byRgb[color565ToRgb(colour)] = owner;
        int32_t wrong = 0;
        std::string first;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x) {
                const auto expected = byRgb.find(surface.at(x, y));
                if (expected == byRgb.end())
                    return ::testing::AssertionFailure()
                           << "pixel " << x << "," << y
                           << " has a colour no writer uses: " << rgbToColor565(surface.at(x, y));
                const PixelOwner& actual = device.provenance.ownerAt(x, y);
                if (actual == expected->second) continue;
                if (wrong++ == 0)
                    first = std::to_string(x) + "," + std::to_string(y) + " is " +
                            describeOwner(actual) + ", not " + describeOwner(expected->second);
            }
        if (wrong == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << wrong << " pixels differ; first " << first;
    }

    // How many pixels show `colour`, so that a screen can prove it drew what it meant to.
    int32_t pixelsIn(int32_t colour) const {
        int32_t n = 0;
        for (const Rgb24 p : surface.pixels) n += p == color565ToRgb(colour) ? 1 : 0;
        return n;
    }
};

TEST_F(ProvenanceTest, OverlappingObjectsLeaveEachPixelToTheLaterLine) {
    writeFile("config.txt", "LED;40;40;40;0\n"
                            "SetColor;63488\n"
                            "SetBGColor;31\n"
                            "LED;60;60;40;0\n"
                            "SetColor;2016\n"
                            "SetBGColor;65504\n");
    for (int round = 0; round < 3; ++round) {
        frames(1); // the lamps alternate between their two colours
        EXPECT_TRUE(ownersFollowColours({{0, {}},
                                         {63488, lineOwner("config.txt", 1, "LED")},
                                         {31, lineOwner("config.txt", 1, "LED")},
                                         {2016, lineOwner("config.txt", 4, "LED")},
                                         {65504, lineOwner("config.txt", 4, "LED")}}))
            << "round " << round;
    }
    EXPECT_GT(pixelsIn(0), 0);
    // The pixels one line owns are exactly those in its colours.
    const std::vector<PixelPosition> owned = device.provenance.pixelsOf("config.txt", 4);
    EXPECT_EQ(static_cast<int32_t>(owned.size()), pixelsIn(2016) + pixelsIn(65504));
    for (const PixelPosition& p : owned) {
        const int32_t colour = pixel(p.x, p.y);
        EXPECT_TRUE(colour == 2016 || colour == 65504) << p.x << "," << p.y;
    }
    EXPECT_TRUE(device.provenance.pixelsOf("config.txt", 2).empty());
}

TEST_F(ProvenanceTest, PictureObjectsOverItAndTextOverAGaugeInACrLfFile) {
    // Lines as an editor numbers them: a CR LF pair ends one line, an empty line counts.
    writeFile("p.bmp", uniformPicture(64, 48, 0x2945));
    writeFile("config.txt", "image;p.bmp\r\n"
                            "\r\n"
                            "Tacho;10;20;30;60;0\r\n"
                            "SetColor;63488\r\n"
                            "SetBGColor;31\r\n"
                            "DigitCounter;12;40;3;1;0\r\n"
                            "SetColor;2016\r\n"
                            "SetBGColor;65504\r\n"
                            "ToggleText;70;100;GEAR;2;0\r\n"
                            "SetColor;2047\r\n"
                            "SetBGColor;64543\r\n");
    const std::map<int32_t, PixelOwner> owners = {
        {0x2945, lineOwner("config.txt", 1, "image")},
        {0, lineOwner("config.txt", 1, "image")}, // cleared to black around the picture
        {63488, lineOwner("config.txt", 3, "Tacho")},
        {31, lineOwner("config.txt", 3, "Tacho")},
        {2016, lineOwner("config.txt", 6, "DigitCounter")},
        {65504, lineOwner("config.txt", 6, "DigitCounter")},
        {2047, lineOwner("config.txt", 9, "ToggleText")},
        {64543, lineOwner("config.txt", 9, "ToggleText")}};
    frames(1);
    EXPECT_TRUE(ownersFollowColours(owners));
    frames(4); // the bars move and the text blinks off and on
    EXPECT_TRUE(ownersFollowColours(owners));
    for (const auto& [colour, owner] : owners) EXPECT_GT(pixelsIn(colour), 0) << colour;
}

TEST_F(ProvenanceTest, AChainSwitchKeepsTheOldFilesPixelsUnlessAPictureClearsThem) {
    writeFile("config.txt", "Tacho;0;0;30;60;0\nSetColor;63488\nSetBGColor;31\n");
    writeFile("b.txt", "LED;90;90;30;0\nSetColor;2016\nSetBGColor;65504\n");
    writeFile("p.bmp", uniformPicture(20, 20, 0x2945));
    writeFile("c.txt", "image;p.bmp\nLED;100;20;20;0\nSetColor;2047\nSetBGColor;64543\n");
    frames(3);
    requestConfigSwitch(device, "b.txt");
    frames(3);
    EXPECT_TRUE(ownersFollowColours({{0, {}},
                                     {63488, lineOwner("config.txt", 1, "Tacho")},
                                     {31, lineOwner("config.txt", 1, "Tacho")},
                                     {2016, lineOwner("b.txt", 1, "LED")},
                                     {65504, lineOwner("b.txt", 1, "LED")}}));
    EXPECT_GT(pixelsIn(63488) + pixelsIn(31), 0);
    requestConfigSwitch(device, "c.txt");
    frames(3);
    EXPECT_TRUE(ownersFollowColours({{0, lineOwner("c.txt", 1, "image")},
                                     {0x2945, lineOwner("c.txt", 1, "image")},
                                     {2047, lineOwner("c.txt", 2, "LED")},
                                     {64543, lineOwner("c.txt", 2, "LED")}}));
}

TEST_F(ProvenanceTest, TheFrameRateTextBelongsToNoLine) {
    writeFile("p.bmp", uniformPicture(128, 128, 0x2945));
    // The rate is printed at the text scale the last text object used.
    writeFile("config.txt",
              "image;p.bmp\nShowFPS\nToggleText;80;100;A;1;0\nSetColor;2016\nSetBGColor;31\n");
    frames(12); // past a whole second, so the rate is printed again
    EXPECT_GT(pixelsIn(0xFFFF), 0);
    EXPECT_TRUE(ownersFollowColours({{0x2945, lineOwner("config.txt", 1, "image")},
                                     {2016, lineOwner("config.txt", 3, "ToggleText")},
                                     {31, lineOwner("config.txt", 3, "ToggleText")},
                                     {0xFFFF, kFps},
                                     {0, kFps}}));
}

TEST_F(ProvenanceTest, ReloadingForeverKeepsTheOwnerTableSmall) {
    // Each version of the file moves the lamp to another line, so each load brings owners
    // the table has not seen; those of older versions lose their pixels to the picture.
    writeFile("p.bmp", uniformPicture(8, 8, 0x2945));
    for (int version = 0; version < 300; ++version) {
        writeFile("config.txt", "image;p.bmp\n" + std::string(version % 50, '\n') +
                                    "LED;64;64;20;0\nLED;20;64;20;0\n");
        requestConfigSwitch(device, "config.txt");
        frames(1);
        // The two fixed owners, the picture, this version's lamps and, until the next load
        // looks, the last version's.
        ASSERT_LE(device.provenance.ownersInUse(), 7u) << version;
    }
    EXPECT_EQ(describeOwner(device.provenance.ownerAt(64, 64)),
              "config.txt:" + std::to_string(2 + 299 % 50) + ": LED");
}

TEST(LineOverlay, ReadsTheOwnerUnderThePointAndNoneBesideThePicture) {
    const PicturePlacement place{100, 50, 256};      // zoom 2
    EXPECT_FALSE(pixelUnderPoint(place, 2, 99, 60)); // left of the picture, which maps to 0
    EXPECT_FALSE(pixelUnderPoint(place, 2, 150, 49));
    EXPECT_FALSE(pixelUnderPoint(place, 2, 356, 60));
    EXPECT_EQ(*pixelUnderPoint(place, 2, 100, 50), (PixelPosition{0, 0}));
    EXPECT_EQ(*pixelUnderPoint(place, 2, 355, 305), (PixelPosition{127, 127}));

    const OverlayLine none = formatLineOverlay({});
    const OverlayLine line = formatLineOverlay(lineOwner("panel.txt", 4, "RoundPointer"));
    // Equal lengths: a short text paints over what a longer one left.
    EXPECT_EQ(none.length, kLineOverlayLength);
    EXPECT_EQ(line.length, kLineOverlayLength);
    EXPECT_EQ(std::string(none.text), "Line: none" + std::string(kLineOverlayLength - 10, ' '));
    EXPECT_EQ(std::string(line.text).substr(0, 32), "Line: panel.txt:4: RoundPointer ");
    const OverlayLine longest =
        formatLineOverlay(lineOwner("nineteen_chars_.txt", -2147483647 - 1, "GyroHorizonRect"));
    EXPECT_NE(std::string(longest.text).find("GyroHorizonRect"), std::string::npos);
}

// The pictures and traces the device makes stay byte for byte the same with the map on.
TEST(ProvenanceRecording, ChangesNoPictureAndNoTraceOfTheExamples) {
    std::vector<std::string> folders = {test::sourcePath("examples/demo")};
    for (const auto& entry : fs::directory_iterator(test::sourcePath("examples/gallery")))
        if (entry.is_directory()) folders.push_back(entry.path().string());
    ASSERT_GT(folders.size(), 8u);
    const fs::path scratch =
        fs::temp_directory_path() / ("orvanta-provenance-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    for (const std::string& folder : folders) {
        std::string outputs[2][2];
        for (int on = 0; on < 2; ++on) {
            cli::RenderOptions options;
            options.folder = folder;
            options.frames = 400; // the demo's slide show comes round to its first screen
            options.pngPath = (scratch / "p.png").string();
            options.tracePath = (scratch / "t.txt").string();
            if (on == 1) options.lineAt = {{64, 64}};
            const cli::RenderResult result = cli::render(options);
            ASSERT_EQ(result.exitCode, 0) << result.error;
            EXPECT_EQ(result.lines.size(), static_cast<std::size_t>(on));
            outputs[on][0] = test::readWholeFile(options.pngPath);
            outputs[on][1] = test::readWholeFile(options.tracePath);
        }
        EXPECT_FALSE(outputs[0][1].empty());
        EXPECT_TRUE(outputs[0][0] == outputs[1][0]) << folder << ": pictures differ";
        EXPECT_TRUE(outputs[0][1] == outputs[1][1]) << folder << ": traces differ";
    }
    fs::remove_all(scratch);
}

class LineAtCommand : public test::SystemTest {};

TEST_F(LineAtCommand, PrintsOneOwnerPerPixelInOrderAndRefusesTheTraceOnStandardOutput) {
    writeFile("cfg/p.bmp", uniformPicture(16, 16, 0x2945));
    writeFile("cfg/config.txt",
              "image;p.bmp\r\nLED;64;64;20;0\r\nShowFPS\r\nToggleText;80;100;A;1;0\r\n");
    const std::string dir = (folder / "cfg").string();
    std::string out, err;
    EXPECT_EQ(test::runCli("render " + dir +
                               " --frames 12 --line-at 64,64 --line-at 5,5 --line-at 3,3 "
                               "--line-at 127,0",
                           &out, &err),
              0)
        << err;
    EXPECT_EQ(out, "config.txt:2: LED\nfps\nfps\nconfig.txt:1: image\n");
    EXPECT_EQ(test::runCli("render " + dir + " --frames 1 --line-at 64,64 --trace -", &out, &err),
              2);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("--trace -"), std::string::npos);
    for (const char* bad : {"128,0", "1", "1,2,3", "x,y", "-1,5"})
        EXPECT_EQ(test::runCli("render " + dir + " --line-at " + bad, &out, &err), 2) << bad;
}

} // namespace
} // namespace orvanta
