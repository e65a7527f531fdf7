#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/config/config_state.h"
#include "core/config/loader.h"
#include "core/instruments/tacho.h"
#include "core/runtime/objects.h"
#include "core/storage/storage.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

class LoaderTest : public test::SystemTest {
  protected:
    // A 2 x 2 picture: white top left, red elsewhere.
    void writePicture() {
        test::BmpBuilder bmp;
        bmp.width = bmp.height = 2;
        bmp.pixels = [](int32_t x, int32_t y) { return x + y == 0 ? 0xFFFFFFu : 0x0000FFu; };
        writeFile("pic.bmp", bmp.build());
    }
    // Everything a load leaves behind, for comparing loads of different files.
    std::string outcome() {
        // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
        // concatenating a literal and a string.
        std::string s = takeTrace();
        for (const std::string& piece :
             {std::string(config.thisConfigName), std::string(config.nextConfigName),
              std::to_string(config.next_config_load), std::string(config.showFps ? "fps" : "-"),
              std::to_string(device.frameCounter), std::to_string(pixel(0, 0)),
              std::to_string(pixel(1, 1))})
            s.append("|").append(piece);
        for (int32_t i = 0; i < device.objectList.objectCount; ++i)
            s.append("|")
                .append(
                    std::to_string(dynamic_cast<Tacho*>(device.objectList.slots[i].get())->left))
                .append(",")
                .append(std::to_string(device.objectList.slots[i]->color));
        return s + (storageIsOpen(device.storage) ? "|open" : "|closed");
    }
};

TEST_F(LoaderTest, DueWhenMoreWholeSecondsThanTheDelayHavePassed) {
    const struct {
        uint32_t start, elapsed;
        int32_t delay;
        bool due;
    } cases[] = {{0, 999, 0, false},
                 {0, 1000, 0, true},
                 {5000, 1999, 1, false},
                 {5000, 2000, 1, true},
                 {5000, 3600999, 3600, false},
                 {5000, 3601000, 3600, true},
                 {0, 4294967295u, 4294967, false},
                 {7, 4294967000u, 4294966, true},
                 {0, 4294967295u, -1, false},
                 {0, 4294967295u, INT32_MIN, false},
                 {4294966296u, 1000, 0, true}, // the clock wraps in between
                 {4294966296u, 999, 0, false},
                 {4294967000u, 20999, 20, false},
                 {4294967000u, 21000, 20, true}};
    for (const auto& c : cases) {
        config.millis_this_config = c.start;
        config.next_config_load = c.delay;
        clock.set(c.start + c.elapsed);
        EXPECT_EQ(isConfigDue(config, clock), c.due)
            << c.start << " + " << c.elapsed << ", " << c.delay;
    }
}

TEST_F(LoaderTest, LineEndsDoNotChangeTheResult) {
    writePicture();
    const char* lines[] = {"Tacho;1;2;3;4;5", "SetColor;31",           "image;pic.bmp",
                           "Tacho;7",         "LoadConfig;next.txt;9", "ShowFPS"};
    std::string reference;
    for (const std::string ending : {"\n", "\r\n", "\r", "\n\n\r"}) {
        for (bool finalEnd : {true, false}) {
            std::string content;
            for (const char* line : lines) content += line + ending;
            if (!finalEnd) content.resize(content.size() - ending.size());
            writeFile("config.txt", content);
            surface = Surface{};
            LoadConfigFromSD(loading, "config.txt");
            const std::string result = outcome();
            if (reference.empty()) reference = result;
            EXPECT_EQ(result, reference) << testing::PrintToString(content);
        }
    }
    EXPECT_EQ(reference, "LoadConfigFromSD Start\nAddMandDObject 1\nSetColor 31\n"
                         "\nLoading image 'pic.bmp'\nFile size: 70\nImage Offset: 54 10\n"
                         "Header size: 40\nbmpWidth: 2\nbmpHeight: 2\nBit Depth: 24\n"
                         "Image size: 2x2\nEnd BMP-Line 2 0\nEnd BMP-Line 2 1\n"
                         "AddMandDObject 2\nLoadConfigFromSD End\n"
                         "|config.txt|next.txt|9|fps|-1|65535|63488|1,31|7,65535|closed");
}

TEST_F(LoaderTest, ZeroBytesEndTheTextOfALineAndLinesHaveNoLengthLimit) {
    using namespace std::string_literals;
    const struct {
        std::string content;
        bool fps;
    } cases[] = {{"ShowFPS\0"s, false},
                 {"ShowFPS\0\n"s, true},
                 {"ShowFPS\0;x\n"s, true},
                 {"Show\0FPS\n"s, false},
                 {"\0\nShowFPS"s, true},
                 {"Tacho;1\nShowFPS\0"s, false},
                 {"Remark;" + std::string(300000, 'x') + "\nShowFPS", true}};
    for (const auto& c : cases) {
        writeFile("config.txt", c.content);
        LoadConfigFromSD(loading, "config.txt");
        EXPECT_EQ(config.showFps, c.fps) << testing::PrintToString(c.content.substr(0, 20));
    }
}

TEST_F(LoaderTest, ImageLinesResumeReadingRightAfterThemselves) {
    writePicture();
    writeFile("config.txt", "image;pic.bmp\r\nTacho;1\r\nNote;an image in passing\nimage;pic.bmp\n"
                            "SetColor;99\nTacho;2");
    LoadConfigFromSD(loading, "config.txt");
    EXPECT_EQ(device.objectList.objectCount, 2);
    EXPECT_EQ(device.objectList.slots[0]->color, 99);
    EXPECT_EQ(std::count(trace().begin(), trace().end(), '\''), 4); // two pictures
    EXPECT_EQ(trace().find("Error"), std::string::npos);
    EXPECT_FALSE(storageIsOpen(device.storage));
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
}

TEST_F(LoaderTest, FailedReopenEndsTheLoad) {
    // config.thisConfigName keeps only 19 characters of this name, so every reopen fails.
    const std::string longName = "a_rather_long_config_name.txt";
    writePicture();
    for (const char* trigger : {"image;pic.bmp", "Note;image"}) {
        writeFile(longName, "Tacho;1\n" + std::string(trigger) + "\nTacho;2\nShowFPS\n");
        LoadConfigFromSD(loading, longName.c_str());
        const std::string t = takeTrace();
        const std::string tail = "Error: pf_open\nLoadConfigFromSD End\n";
        EXPECT_EQ(t.substr(t.size() - std::min(t.size(), tail.size())), tail) << t;
        EXPECT_EQ(device.objectList.objectCount, 1) << trigger;
        EXPECT_FALSE(config.showFps);
        EXPECT_FALSE(storageIsOpen(device.storage));
    }
}

TEST_F(LoaderTest, FailedOpenChangesOnlyTheDelay) {
    writeFile("config.txt", "Tacho;4\nShowFPS\n");
    LoadConfigFromSD(loading, "config.txt");
    device.frameCounter = 17;
    takeTrace();
    const std::string before = outcome();
    for (const char* name : {"missing.txt", "", "."}) {
        LoadConfigFromSD(loading, name);
        EXPECT_EQ(config.next_config_load, 20) << name;
        config.next_config_load = 3600;
        EXPECT_EQ(outcome(), "LoadConfigFromSD Start\n" + before) << name;
    }
}

TEST_F(LoaderTest, AChainedFileReplacesTheObjectsAfterItsDelay) {
    writePicture();
    writeFile("config.txt", "LoadConfig;second.txt;5\nimage;pic.bmp\nTacho;3\nSetColor;7\n");
    writeFile("second.txt", "");
    LoadConfigFromSD(loading, config.nextConfigName);
    config.millis_this_config = clock.now();
    device.frameCounter = 40;
    const std::string first = outcome();
    EXPECT_EQ(first.substr(first.find('|')),
              "|config.txt|second.txt|5|-|40|65535|63488|3,7|closed");
    clock.advance(6000);
    LoadConfigFromSD(loading, config.nextConfigName);
    // An empty file leaves no objects and the display as it was.
    EXPECT_EQ(outcome(), "LoadConfigFromSD Start\nLoadConfigFromSD End\n"
                         "|second.txt|second.txt|3600|-|-1|65535|63488|closed");
}

} // namespace
} // namespace orvanta
