#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "config/config_state.h"
#include "config/loader.h"
#include "config/storage.h"
#include "instruments/tacho.h"
#include "runtime/objects.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

TEST(ConfigDue, ComparesWholeElapsedSecondsAsUnsigned) {
    struct Case {
        uint32_t start;
        uint32_t elapsed;
        int32_t delay;
        bool due;
    };
    const Case cases[] = {
        {0, 999, 0, false},
        {0, 1000, 0, true},
        {5000, 1999, 0, true},
        {5000, 1999, 1, false},
        {5000, 2000, 1, true},
        {5000, 3600999, 3600, false},
        {5000, 3601000, 3600, true},
        {0, 4294967295u, 4294967, false},
        {7, 4294967000u, 4294966, true},
        {7, 4294966999u, 4294966, false},
        {0, 4294967295u, -1, false},
        {0, 4294967295u, INT32_MIN, false},
        {0, 2000, -1, false},
        // The clock wraps between the load and the question.
        {4294966296u, 1000, 0, true},
        {4294966296u, 999, 0, false},
        {4294967000u, 21000, 20, true},
        {4294967000u, 20999, 20, false},
    };
    VirtualClock clock;
    setClock(&clock);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " + " << c.elapsed << ", delay " << c.delay);
        millis_this_config = c.start;
        next_config_load = c.delay;
        clock.set(c.start + c.elapsed);
        EXPECT_EQ(isConfigDue(), c.due);
    }
    setClock(nullptr);
    resetConfigState();
}

class LoaderTest : public test::SystemTest {
  protected:
    void writePicture(const std::string& name) {
        test::BmpBuilder bmp;
        bmp.width = 2;
        bmp.height = 2;
        bmp.pixels = [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 0xFFFFFFu : 0x0000FFu; };
        writeFile(name, bmp.build());
    }

    // Everything a load leaves behind that a test compares between files.
    std::string outcome() {
        std::string s = takeTrace() + "|" + thisConfigName + "|" + nextConfigName + "|" +
                        std::to_string(next_config_load) + "|" + (showFps ? "fps" : "-") + "|" +
                        std::to_string(frameCounter) + "|" + std::to_string(pixel(0, 0)) + "|" +
                        std::to_string(pixel(1, 1));
        for (int32_t i = 0; i < objectCount; ++i) {
            const auto* t = dynamic_cast<Tacho*>(objectList[i].get());
            s += "|" + std::to_string(t->left) + "," + std::to_string(t->color);
        }
        return s + (storageIsOpen() ? "|open" : "|closed");
    }
};

TEST_F(LoaderTest, LineEndsDoNotChangeTheResult) {
    writePicture("pic.bmp");
    const char* lines[] = {"Tacho;1;2;3;4;5", "SetColor;31",           "image;pic.bmp",
                           "Tacho;7",         "LoadConfig;next.txt;9", "ShowFPS"};
    std::string reference;
    for (const char* ending : {"\n", "\r\n", "\r", "\n\n\r"}) {
        for (bool finalEnd : {true, false}) {
            SCOPED_TRACE(testing::Message() << testing::PrintToString(ending) << finalEnd);
            std::string content;
            for (const char* line : lines) content += std::string(line) + ending;
            if (!finalEnd) content.resize(content.size() - std::string(ending).size());
            writeFile("config.txt", content);
            surface = Surface{};
            LoadConfigFromSD("config.txt");
            const std::string result = outcome();
            if (reference.empty()) reference = result;
            EXPECT_EQ(result, reference);
        }
    }
    EXPECT_EQ(reference, "LoadConfigFromSD Start\nAddMandDObject 1\nSetColor 31\n"
                         "\nLoading image 'pic.bmp'\nFile size: 70\nImage Offset: 54 10\n"
                         "Header size: 40\nbmpWidth: 2\nbmpHeight: 2\nBit Depth: 24\n"
                         "Image size: 2x2\nEnd BMP-Line 2 0\nEnd BMP-Line 2 1\n"
                         "AddMandDObject 2\nLoadConfigFromSD End\n"
                         "|config.txt|next.txt|9|fps|-1|65535|63488|1,31|7,65535|closed");
}

TEST_F(LoaderTest, ZeroBytesEndTheTextOfALine) {
    struct Case {
        std::string content;
        bool fps;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"ShowFPS\0"s, false},   {"ShowFPS\0\n"s, true}, {"ShowFPS\0;x\n"s, true},
        {"Show\0FPS\n"s, false}, {"\0\nShowFPS"s, true}, {"Tacho;1\nShowFPS\0"s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.content));
        writeFile("config.txt", c.content);
        LoadConfigFromSD("config.txt");
        EXPECT_EQ(showFps, c.fps);
    }
}

TEST_F(LoaderTest, ImageLinesResumeReadingAfterThemselves) {
    writePicture("pic.bmp");
    writeFile("config.txt", "image;pic.bmp\r\nTacho;1\r\nNote;an image in passing\nimage;pic.bmp\n"
                            "SetColor;99\nTacho;2");
    LoadConfigFromSD("config.txt");
    const std::string t = trace();
    EXPECT_EQ(objectCount, 2);
    EXPECT_EQ(objectList[0]->color, 99);
    EXPECT_EQ(std::count(t.begin(), t.end(), '\''), 4); // two pictures, each named once
    EXPECT_EQ(t.find("Error"), std::string::npos);
    EXPECT_FALSE(storageIsOpen());
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
}

TEST_F(LoaderTest, FailedReopenEndsTheLoad) {
    // The loaded name is cut to 19 characters in thisConfigName, so reopening fails.
    const std::string longName = "a_rather_long_config_name.txt";
    writePicture("pic.bmp");
    for (const char* trigger : {"image;pic.bmp", "Note;image"}) {
        SCOPED_TRACE(trigger);
        writeFile(longName, "Tacho;1\n" + std::string(trigger) + "\nTacho;2\nShowFPS\n");
        LoadConfigFromSD(longName.c_str());
        const std::string t = takeTrace();
        const std::string tail = "Error: pf_open\nLoadConfigFromSD End\n";
        ASSERT_GE(t.size(), tail.size());
        EXPECT_EQ(t.substr(t.size() - tail.size()), tail);
        EXPECT_EQ(objectCount, 1);
        EXPECT_FALSE(showFps);
        EXPECT_FALSE(storageIsOpen());
        EXPECT_STREQ(thisConfigName, "a_rather_long_confi");
    }
}

TEST_F(LoaderTest, FailedOpenChangesOnlyTheDelay) {
    writeFile("config.txt", "Tacho;4\nShowFPS\n");
    LoadConfigFromSD("config.txt");
    frameCounter = 17;
    takeTrace();
    surface.pixels[5] = 0x123456;
    const std::string before = outcome();
    for (const char* name : {"missing.txt", "", "."}) {
        SCOPED_TRACE(name);
        LoadConfigFromSD(name);
        EXPECT_EQ(next_config_load, 20);
        next_config_load = 3600;
        EXPECT_EQ(outcome(), "LoadConfigFromSD Start\n" + before);
    }
    EXPECT_EQ(surface.pixels[5], 0x123456u);
}

TEST_F(LoaderTest, ALoadReplacesTheObjectsAndResetsTheFileState) {
    writeFile("config.txt", "Tacho;1\nTacho;2\nShowFPS\nLoadConfig;b.txt;-5\n");
    writeFile("b.txt", "");
    LoadConfigFromSD("config.txt");
    frameCounter = 40;
    surface.pixels[0] = 0xABCDEF;
    takeTrace();
    LoadConfigFromSD(nextConfigName);
    EXPECT_EQ(trace(), "LoadConfigFromSD Start\nLoadConfigFromSD End\n");
    EXPECT_EQ(objectCount, 0);
    EXPECT_EQ(frameCounter, -1);
    EXPECT_FALSE(showFps);
    EXPECT_EQ(next_config_load, 3600);
    EXPECT_STREQ(thisConfigName, "b.txt");
    EXPECT_STREQ(nextConfigName, "b.txt");
    EXPECT_EQ(surface.pixels[0], 0xABCDEFu); // loading alone never clears the display
}

TEST_F(LoaderTest, ChainedFileIsDueAfterItsDelay) {
    writePicture("pic.bmp");
    writeFile("config.txt", "LoadConfig;second.txt;5\nimage;pic.bmp\nTacho;3\nSetColor;7\n");
    writeFile("second.txt", "Tacho;9\n");
    LoadConfigFromSD(nextConfigName);
    millis_this_config = clock.now();
    ASSERT_EQ(objectCount, 1);
    EXPECT_EQ(objectList[0]->color, 7);
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
    clock.advance(5999);
    EXPECT_FALSE(isConfigDue());
    clock.advance(1);
    ASSERT_TRUE(isConfigDue());
    LoadConfigFromSD(nextConfigName);
    EXPECT_STREQ(thisConfigName, "second.txt");
    EXPECT_EQ(dynamic_cast<Tacho*>(objectList[0].get())->left, 9);
}

TEST_F(LoaderTest, VeryLongLinesAreRead) {
    writeFile("config.txt", "LoadConfig;" + std::string(300000, 'n') + ";12\nShowFPS");
    LoadConfigFromSD("config.txt");
    EXPECT_STREQ(nextConfigName, "nnnnnnnnnnnnnnnnnnn");
    EXPECT_EQ(next_config_load, 12);
    EXPECT_TRUE(showFps);
}

} // namespace
} // namespace orvanta
