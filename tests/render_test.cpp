// The headless renderer: its virtual timer, its animation timing, and the built
// orvanta-cli program as a user runs it.
#include <gtest/gtest.h>

#include <gif_lib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/renderer.h"
#include "media/gif.h"
#include "media/image.h"
#include "session/frame_schedule.h"
#include "session/gif_animation.h"
#include "tests/support.h"

namespace orvanta {
namespace {

namespace fs = std::filesystem;

TEST(RenderTimer, FramesFollowTheTenMillisecondTicksAndThePacing) {
    const uint32_t cases[][3] = {{0, 0, 10},      {10, 110, 110}, {110, 110, 120},
                                 {120, 220, 220}, {0, 5, 10},     {0, 21, 30}};
    for (const auto& c : cases) EXPECT_EQ(nextFrameStart(c[0], c[1]), c[2]) << c[0];
}

class RenderTest : public test::SystemTest {
  protected:
    void write(const std::string& name, const std::string& text) { writeFile("cfg/" + name, text); }
    int cli(const std::string& arguments, std::string* err = nullptr) {
        std::string ignored;
        return test::runCli(arguments, &out, err != nullptr ? err : &ignored);
    }
    std::string out; // standard output of the last cli() call
};

TEST_F(RenderTest, AnimationKeepsTrueTimeAndLeavesOutShortPictures) {
    write("config.txt", "Tacho;10;10;40;100;0\n");
    cli::RenderOptions options;
    options.folder = (folder / "cfg").string();
    options.frames = 5;
    options.gifPath = (folder / "a.gif").string();
    const mode_t previousMask = ::umask(022);
    const cli::RenderResult result = cli::render(options);
    ::umask(previousMask);
    ASSERT_EQ(result.exitCode, 0) << result.error;
    // Frames start at 0, 10, 110, 120 and 220 ms; the frames at 10 and 120 sleep 100 ms, so
    // the pictures of the frames at 10 and 120 are shown for no time at all.
    EXPECT_EQ(result.framesRun, 5u);
    EXPECT_EQ(result.virtualMs, 220u);
    int error = 0;
    GifFileType* gif = DGifOpenFileName(options.gifPath.c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    std::vector<int> delays;
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock gcb;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &gcb), GIF_OK);
        delays.push_back(gcb.DelayTime);
    }
    EXPECT_EQ(gif->SWidth, 128);
    DGifCloseFile(gif, &error);
    EXPECT_EQ(delays, (std::vector<int>{11, 11, 1}));
    // Regression: the animation was created readable by its owner alone.
    EXPECT_NE(fs::status(options.gifPath).permissions() & fs::perms::others_read, fs::perms::none);
}

// The page shares pictures without a file system: its encoders in memory must give the
// bytes that the desktop writes to files.
TEST_F(RenderTest, PicturesEncodedInMemoryAreTheFilesBytes) {
    Surface surface;
    for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
        for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
            surface.pixels[y * DISPLAY_SIZE + x] =
                static_cast<uint32_t>(x * 2 | y << 9 | (x ^ y) << 16);
    const RgbImage image = imageFromSurface(surface, 2);
    std::vector<uint8_t> png;
    ASSERT_TRUE(encodePng(image, &png));
    ASSERT_TRUE(writePng((folder / "p.png").string(), image));
    EXPECT_EQ(test::readWholeFile(folder / "p.png"), std::string(png.begin(), png.end()));
    RgbImage back;
    ASSERT_TRUE(readPng((folder / "p.png").string(), &back));
    EXPECT_EQ(back, image);

    // The same animation of two pictures, one of more than 256 colours, both ways.
    std::vector<uint8_t> gif;
    GifWriter memory, file;
    ASSERT_TRUE(memory.openInMemory(&gif, 256, 256, nullptr));
    ASSERT_TRUE(file.open((folder / "a.gif").string(), 256, 256, nullptr));
    GifAnimation toMemory(memory, 2), toFile(file, 2);
    Surface dark;
    for (GifAnimation* animation : {&toMemory, &toFile}) {
        ASSERT_TRUE(animation->picture(surface, 0, nullptr));
        ASSERT_TRUE(animation->picture(dark, 120, nullptr));
        ASSERT_TRUE(animation->finish(250, nullptr));
        EXPECT_EQ(animation->frames(), 2u);
    }
    ASSERT_TRUE(memory.close(nullptr));
    ASSERT_TRUE(file.close(nullptr));
    EXPECT_GT(gif.size(), 1000u);
    EXPECT_EQ(test::readWholeFile(folder / "a.gif"), std::string(gif.begin(), gif.end()));
}

TEST_F(RenderTest, CommandWritesTraceAndPictureOfTheLastFrame) {
    write("config.txt", "Tacho;0;0;128;128;0\nSetColor;63488\nSetBGColor;31\n");
    const std::string trace = (folder / "trace.txt").string();
    const std::string png = (folder / "out.png").string();
    ASSERT_EQ(cli("render " + (folder / "cfg").string() + " --frames 2 --zoom 2 --trace " + trace +
                  " --png " + png),
              0);
    EXPECT_EQ(test::readWholeFile(trace),
              "R\nmillis(): 10000\nmillis_this_config: 0\nmillis()-millis_this_config: 10000\n"
              "next_config_load*1000: 0\nAllMandDObjectsRun() 2\nLoadConfigFromSD Start\n"
              "AddMandDObject 1\nSetColor 63488\nSetBGColor 31\nLoadConfigFromSD End\n"
              "Tacho1\nTacho2\n1\nRTacho1\nTacho2\n7\n");
    RgbImage image;
    ASSERT_TRUE(readPng(png, &image));
    ASSERT_EQ(image.width, 256);
    // Level 2 after two frames: bars 0 and 1 red (rows 125..128 and 113..116), bar 2 blue.
    EXPECT_EQ(image.pixel(100, 2 * 126), color565ToRgb(63488));
    EXPECT_EQ(image.pixel(101, 2 * 114 + 1), color565ToRgb(63488));
    EXPECT_EQ(image.pixel(100, 2 * 102), color565ToRgb(31));
}

TEST_F(RenderTest, CommandReportsUsageAndOutputProblems) {
    write("config.txt", "");
    const std::string cfg = (folder / "cfg").string();
    std::string err;
    EXPECT_EQ(cli("render " + cfg + " --frobnicate", &err), 2);
    EXPECT_NE(err.find("frobnicate"), std::string::npos) << err;
    EXPECT_EQ(cli("render " + (folder / "missing").string(), &err), 2);
    EXPECT_NE(err.find("is not a folder"), std::string::npos) << err;
    EXPECT_EQ(cli("render " + cfg + " --zoom 17", &err), 2);
    EXPECT_EQ(cli("render " + cfg + " --frames 3 --seconds 2", &err), 2);
    EXPECT_EQ(cli("render " + cfg + " --png " + (folder / "no/such/dir/x.png").string(), &err), 1);
    EXPECT_NE(err.find("x.png"), std::string::npos) << err;
    EXPECT_EQ(cli("render " + cfg + " --trace " + (folder / "no/such/t.txt").string(), &err), 1);
    EXPECT_EQ(cli("--version"), 0);
    EXPECT_NE(out.find("1.0.0"), std::string::npos);
    EXPECT_EQ(cli("render --help"), 0);
    EXPECT_NE(out.find("--start-ms"), std::string::npos);
    // A configuration problem is never an error: a folder without config.txt renders black.
    fs::remove(folder / "cfg" / "config.txt");
    EXPECT_EQ(cli("render " + cfg + " --frames 3 --trace -"), 0);
    EXPECT_NE(out.find("LoadConfigFromSD Start\nR"), std::string::npos);
}

TEST_F(RenderTest, StartTimeNearTheWrapAndLoopModeKeepTheFileLoaded) {
    write("config.txt", "LoadConfig;other.txt;0\nTacho;0;0;8;20;0\n");
    write("other.txt", "Tacho;0;0;8;20;0\nTacho;10;0;8;20;0\n");
    const std::string trace = (folder / "trace.txt").string();
    const std::string common =
        "render " + (folder / "cfg").string() + " --seconds 3 --trace " + trace;
    const auto count = [](const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    // The clock wraps 1296 ms after the start; loads follow about every second regardless.
    ASSERT_EQ(cli(common + " --start-ms 4294966000 --loop"), 0);
    std::string t = test::readWholeFile(trace);
    EXPECT_EQ(count(t, "LoadConfigFromSD Start"), 3) << t.substr(0, 2000);
    EXPECT_EQ(count(t, "AddMandDObject 2"), 0) << "Loop keeps config.txt";
    ASSERT_EQ(cli(common + " --start-ms 4294966000"), 0);
    t = test::readWholeFile(trace);
    EXPECT_EQ(count(t, "LoadConfigFromSD Start"), 2);
    EXPECT_EQ(count(t, "AddMandDObject 2"), 1) << "without Loop the chain moves on";
}

} // namespace
} // namespace orvanta
