// The frame run, frame pacing with its FPS readout, and the bar gauge, on virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "core/config/config_state.h"
#include "core/device/device.h"
#include "core/display/text.h"
#include "core/instruments/tacho.h"
#include "core/runtime/objects.h"
#include "core/runtime/pacing.h"
#include "tests/support.h"

namespace orvanta {
namespace {

using test::SystemTest;

TEST_F(SystemTest, PacingHoldsBackFramesThatFollowWithin100Ms) {
    struct Case {
        uint32_t last, now;
        uint64_t sleep;
    };
    const Case cases[] = {
        {10000, 10030, 80}, {10000, 10099, 11},       {10000, 10100, 0}, {10000, 10000, 110},
        {10000, 20000, 0},  {0xFFFFFFF0u, 0x10u, 78}, // the unsigned distance survives the wrap
    };
    for (const Case& c : cases) {
        device.pacing.lastFrameTime = c.last;
        clock.set(c.now);
        clock.takeSlept();
        paceFrame(device.pacing, display, clock, config.showFps);
        EXPECT_EQ(clock.takeSlept(), c.sleep) << c.last << " -> " << c.now;
        EXPECT_EQ(device.pacing.lastFrameTime, c.now) << "the stamp is taken before the sleep";
    }
}

// Draws what the readout should show on a second surface with the same text state.
Surface expectedReadout(const Surface& before, const Tft& state, const char* rate) {
    auto expected = std::make_unique<Display>();
    expected->surface = before;
    expected->tft = state;
    moveCursor(*expected, 2, 2);
    setTextColors(*expected, 0xFFFF, 0x0000);
    printText(*expected, rate);
    printText(*expected, " fps      ");
    return expected->surface;
}

TEST_F(SystemTest, FpsReadoutPrintsTheRateOncePerWholeSecond) {
    struct Case {
        uint32_t last, now;
        int32_t counted;
        const char* shown; // null: no readout in this frame
    };
    const Case cases[] = {
        {10999, 11050, 8, "9.000000"},
        {10999, 12050, 16, "8.500000"}, // two whole seconds passed
        {0, 10000, 0, "0.100000"},      // the program's first frame
        {11000, 11999, 5, nullptr},
        {0xFFFFFC00u, 0x100u, 3, nullptr}, // the second test fails across the wrap
    };
    setTextScale(display, 1);
    for (const Case& c : cases) {
        surface = Surface{};
        config.showFps = true;
        device.pacing.fpsFrameCount = c.counted;
        device.pacing.lastFrameTime = c.last;
        clock.set(c.now);
        const Surface before = surface;
        const Tft state = tft;
        paceFrame(device.pacing, display, clock, config.showFps);
        if (c.shown == nullptr) {
            EXPECT_EQ(device.pacing.fpsFrameCount, c.counted + 1);
            EXPECT_EQ(std::memcmp(&before, &surface, sizeof surface), 0);
            continue;
        }
        EXPECT_EQ(device.pacing.fpsFrameCount, 0);
        const Surface expected = expectedReadout(before, state, c.shown);
        EXPECT_EQ(std::memcmp(&expected, &surface, sizeof surface), 0) << c.shown;
        EXPECT_NE(std::memcmp(&before, &surface, sizeof surface), 0) << "something was printed";
    }
    config.showFps = false;
    device.pacing.fpsFrameCount = 4;
    device.pacing.lastFrameTime = 10999;
    clock.set(11050);
    paceFrame(device.pacing, display, clock, config.showFps);
    EXPECT_EQ(device.pacing.fpsFrameCount, 4) << "nothing is counted without ShowFPS";
}

TEST_F(SystemTest, FirstFrameLoadsConfigAndRunsItsTacho) {
    writeFile("config.txt", "Tacho;10;20;30;60;0\n");
    AllMandDObjectsRun(device);
    EXPECT_EQ(takeTrace(), "R\n"
                           "millis(): 10000\n"
                           "millis_this_config: 0\n"
                           "millis()-millis_this_config: 10000\n"
                           "next_config_load*1000: 0\n"
                           "AllMandDObjectsRun() 2\n"
                           "LoadConfigFromSD Start\n"
                           "AddMandDObject 1\n"
                           "LoadConfigFromSD End\n"
                           "Tacho1\nTacho2\n1\n");
    EXPECT_EQ(device.frameCounter, 0);
    EXPECT_EQ(config.millis_this_config, 10000u);
    EXPECT_STREQ(config.thisConfigName, "config.txt");
    clock.advance(110);
    AllMandDObjectsRun(device);
    // The first value 41 gave target 1; reaching it draws 18467 % 10.
    EXPECT_EQ(takeTrace(), "RTacho1\nTacho2\n7\n");
}

TEST_F(SystemTest, ChainSwitchesAfterMoreThanItsDelayInWholeSeconds) {
    writeFile("config.txt", "LoadConfig;second.txt;2\nTacho;0;0;10;20;0\n");
    writeFile("second.txt", "Tacho;0;0;10;20;0\nTacho;20;0;10;20;0\n");
    AllMandDObjectsRun(device);
    EXPECT_STREQ(config.nextConfigName, "second.txt");
    EXPECT_EQ(config.next_config_load, 2);
    clock.set(12999);
    AllMandDObjectsRun(device);
    EXPECT_EQ(device.objectList.objectCount, 1);
    clock.set(13000);
    takeTrace();
    AllMandDObjectsRun(device);
    EXPECT_EQ(device.objectList.objectCount, 2);
    EXPECT_STREQ(config.thisConfigName, "second.txt");
    EXPECT_EQ(config.next_config_load, 3600);
    EXPECT_EQ(device.frameCounter, 0);
    const std::string t = takeTrace();
    EXPECT_EQ(t.rfind("R\nmillis(): 13000\nmillis_this_config: 10000\n"
                      "millis()-millis_this_config: 3000\nnext_config_load*1000: 2000\n"
                      "AllMandDObjectsRun() 2\nLoadConfigFromSD Start\n",
                      0),
              0u)
        << t;
}

TEST_F(SystemTest, FrameCounterWrapsAt10000) {
    writeFile("config.txt", "");
    AllMandDObjectsRun(device);
    device.frameCounter = 9999;
    AllMandDObjectsRun(device);
    EXPECT_EQ(device.frameCounter, 0);
    AllMandDObjectsRun(device);
    EXPECT_EQ(device.frameCounter, 1);
}

TEST_F(SystemTest, TachoPaintsItsBoxOnlyWhenDueInTheFirstFrame) {
    // Box 10..40 x 20..80 in blue; pitch 6, bar thickness 3: bar 0 spans rows 77..80,
    // bar 1 rows 71..74, and rows 75..76 belong to the box alone.
    writeFile("config.txt",
              "Tacho;10;20;30;60;0\nSetBGColor;31\nTacho;60;20;30;60;2\nSetBGColor;31\n");
    AllMandDObjectsRun(device);
    EXPECT_EQ(pixel(20, 76), 31) << "due at counter -1: the background box";
    EXPECT_EQ(pixel(20, 79), 0xFFFF) << "bar 0 lit at level 1";
    EXPECT_EQ(pixel(20, 72), 31) << "bar 1 unlit";
    EXPECT_EQ(pixel(70, 79), 0) << "interval 2 is not due at counter -1";
    clock.advance(200);
    AllMandDObjectsRun(device);
    EXPECT_EQ(pixel(70, 76), 0) << "the box is never painted for interval 2";
    EXPECT_EQ(pixel(70, 72), 31) << "but its bars are";

    // Over many frames the level walks 0..9, so the top bar (rows 23..26) stays unlit.
    int32_t highest = 0;
    for (int frame = 0; frame < 400; ++frame) {
        clock.advance(110);
        AllMandDObjectsRun(device);
        const auto* tacho = static_cast<const Tacho*>(device.objectList.slots[0].get());
        highest = std::max(highest, tacho->level);
        ASSERT_GE(tacho->level, 0);
        ASSERT_LE(tacho->level, 9);
        ASSERT_EQ(pixel(20, 24), 31) << "frame " << frame;
    }
    EXPECT_EQ(highest, 9);
}

} // namespace
} // namespace orvanta
