// The design commands of the session every host shares, on virtual time: saves shown at
// once, pause and step, reload, restart and the checker's findings after a load.
#include <gtest/gtest.h>

#include <string>

#include "session/session.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

class SessionTest : public SystemTest {
  protected:
    SessionTest() : session(clock, disk, Trace(traceToString, &log)) {}
    // Frames as the window's timer runs them, each 200 ms after the one before.
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            session.runFrame();
            clock.advance(200);
        }
    }
    std::string loadsIn(const std::string& since) const {
        std::string names;
        for (auto at = log.find("LoadConfigFromSD Start", since.size()); at != std::string::npos;
             at = log.find("LoadConfigFromSD Start", at + 1))
            names += "L";
        return names;
    }
    std::string log;
    Session session;
};

TEST_F(SessionTest, SavesShowAtOnceAsADueSwitchAndOnlyForFilesOnShow) {
    writeFile("config.txt", "image;a.bmp\nLoadConfig;second.txt;600\n");
    writeFile("second.txt", "LED;10;10;8;0\n");
    writeFile("notes.md", "not a screen");
    frames(2);
    Device& d = session.device();
    EXPECT_STREQ(d.config.thisConfigName, "config.txt");

    const struct {
        const char* saved;
        const char* shown; // the file on show after the next frame
        bool loads;
    } cases[] = {
        {"notes.md", "config.txt", false},  // unrelated
        {"other.bmp", "config.txt", false}, // a picture config.txt does not draw
        {"a.bmp", "config.txt", true},      // a picture it draws: config.txt again
        {"second.txt", "second.txt", true}, // a file of the chain: shown at once
        {"fresh.txt", "fresh.txt", true},   // any text file: the designer's new screen
        {"a-name-longer-than-19.txt", "fresh.txt", false}, // the device cannot name it
    };
    writeFile("fresh.txt", "LED;20;20;8;0\n");
    for (const auto& c : cases) {
        const std::string before = log;
        session.fileSaved(c.saved);
        frames(1);
        EXPECT_EQ(loadsIn(before), c.loads ? "L" : "") << c.saved;
        EXPECT_STREQ(d.config.thisConfigName, c.shown) << c.saved;
        // A save shows on the trace as a due switch does.
        if (c.loads) {
            EXPECT_NE(log.find("AllMandDObjectsRun() 2\n", before.size()), std::string::npos);
        }
    }
}

TEST_F(SessionTest, PauseStopsFramesAndTimeAndAStepRunsOneFrame) {
    writeFile("config.txt", "LoadConfig;second.txt;1\n");
    writeFile("second.txt", "LED;10;10;8;0\n");
    frames(1); // loads config.txt at 10000 ms; second.txt is due after 2000 ms
    session.togglePause();
    const std::string before = log;
    frames(50); // ten seconds of real time pass, none of simulated time
    EXPECT_EQ(log, before);
    EXPECT_TRUE(session.step());
    EXPECT_EQ(log.substr(before.size()), "R");
    session.togglePause();
    EXPECT_FALSE(session.step());
    frames(4); // 800 ms of running time: not due yet
    EXPECT_STREQ(session.device().config.thisConfigName, "config.txt");
    frames(8);
    EXPECT_STREQ(session.device().config.thisConfigName, "second.txt");
}

TEST_F(SessionTest, ReloadNextRestartAndFindings) {
    writeFile("config.txt", "tacho;1;2;3;4;5\nLoadConfig;second.txt;600\n");
    writeFile("second.txt", "LED;10;10;8;0\n");
    frames(1);
    EXPECT_EQ(session.findings().file, "config.txt");
    ASSERT_EQ(session.findings().rows.size(), 1u);
    EXPECT_EQ(session.findings().rows[0].rfind("config.txt:1:1: error: unknown keyword", 0), 0u);
    EXPECT_EQ(findingsSign(session.findings()), "1 error");

    session.loadNextNow();
    frames(1);
    EXPECT_STREQ(session.device().config.thisConfigName, "second.txt");
    EXPECT_EQ(findingsSign(session.findings()), "");
    std::string before = log;
    session.reload();
    frames(1);
    EXPECT_EQ(loadsIn(before), "L");
    EXPECT_STREQ(session.device().config.thisConfigName, "second.txt");

    session.restart();
    EXPECT_EQ(session.device().objectList.objectCount, 0);
    EXPECT_EQ(session.findings().file, "");
    frames(1);
    EXPECT_STREQ(session.device().config.thisConfigName, "config.txt");
}

} // namespace
} // namespace orvanta::test
