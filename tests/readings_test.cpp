// Reading overrides: a held instrument draws the random values it would draw unheld, so
// its neighbours move as on the device; once at the held reading it shows what its drawing
// rules give there (the expectations below are worked out from those rules by hand); a
// sweep reaches both ends; and the overrides follow their lines through saves and edits.
#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/instruments/kompass.h"
#include "core/instruments/round_pointer.h"
#include "core/instruments/tacho.h"
#include "core/runtime/readings.h"
#include "session/session.h"
#include "tests/support.h"

namespace orvanta::test::readings {
namespace {

constexpr int32_t kWhite = 0xFFFF, kBlack = 0x0000, kRed = 0xF800, kSky = 0x965C;

uint32_t stateAfter(int32_t draws) {
    uint32_t state = 1;
    for (int32_t i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
    return state;
}

class ReadingsTest : public SystemTest {
  protected:
    void load(const std::string& config) {
        powerOn();
        writeFile("config.txt", config);
        frames(1);
    }
    void frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i) AllMandDObjectsRun(device);
    }
    MandDObject& objectOfLine(int32_t line) {
        for (int32_t i = 0; i < device.objectList.objectCount; ++i)
            if (device.objectList.slots[i]->sourceLine == line) return *device.objectList.slots[i];
        throw std::runtime_error("no object of line " + std::to_string(line));
    }
    void set(int32_t line, const ReadingOverride& reading) {
        MandDObject& object = objectOfLine(line);
        device.readings.set(device.trace, device.objectList, config.thisConfigName, "config.txt",
                            line, object.keyword, object.readingRange(), reading);
    }
    void hold(int32_t line, const std::string& text) {
        const ParsedReading parsed = parseReading(objectOfLine(line).readingRange(), text);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        set(line, parsed.reading);
    }
    void sweep(int32_t line) {
        ReadingOverride reading;
        reading.mode = ReadingMode::Sweep;
        set(line, reading);
    }
    // Every pixel of the picture outside the box (x0, y0) .. (x1, y1).
    std::vector<int32_t> outside(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        std::vector<int32_t> pixels;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                if (x < x0 || x > x1 || y < y0 || y > y1) pixels.push_back(pixel(x, y));
        return pixels;
    }
};

TEST_F(ReadingsTest, AHeldInstrumentLeavesItsNeighboursAsOnTheDevice) {
    // The held gauge's own draws depend on its level; the needle and the counter beside it
    // must still get the very values they get on the device, in the same frames.
    const std::string panel = "Tacho;0;0;20;100;0\nRoundPointer;90;30;50;-90;90\n"
                              "DigitCounter;40;110;3;1;0\nKompass;96;96;56;0\n";
    load(panel);
    std::vector<std::vector<int32_t>> unheld;
    std::vector<uint32_t> states;
    for (int i = 0; i < 80; ++i) {
        frames(1);
        unheld.push_back(outside(0, 0, 20, 100));
        states.push_back(device.random.state());
    }
    load(panel);
    hold(1, "9");
    for (int i = 0; i < 80; ++i) {
        frames(1);
        ASSERT_EQ(device.random.state(), states[i]) << "frame " << i;
        ASSERT_EQ(outside(0, 0, 20, 100), unheld[i]) << "frame " << i;
    }
    EXPECT_EQ(dynamic_cast<Tacho&>(objectOfLine(1)).walk.shown, 9);
}

TEST_F(ReadingsTest, HeldGaugeHorizonCardAndNeedleShowTheirReading) {
    // Bars 10 rows apart, 5 thick, from row 110 up; level 9 lights bars 0 to 8.
    load("Tacho;10;10;20;100;0\n");
    hold(1, "9");
    frames(12);
    for (int32_t bar = 0; bar < 10; ++bar) {
        const int32_t bottom = 110 - 10 * bar;
        for (int32_t row = bottom - 4; row < bottom; ++row)
            EXPECT_EQ(pixel(20, row), bar < 9 ? kWhite : kBlack) << "bar " << bar;
        EXPECT_EQ(pixel(20, bottom - 7), kBlack) << "gap above bar " << bar;
    }
    hold(1, "0");
    frames(12);
    for (int32_t row = 10; row <= 110; ++row) EXPECT_EQ(pixel(20, row), kBlack) << row;

    // Height 48: the ends range over -12 .. 11 about row 24; the line runs from (2, 12) to
    // (62, 35), sky above it from row 10, ground below it.
    load("GyroHorizonRect;0;0;64;48;0\n");
    hold(1, "-12,11");
    frames(30);
    EXPECT_EQ(pixel(2, 12), kWhite);
    EXPECT_EQ(pixel(2, 11), kSky);
    EXPECT_EQ(pixel(2, 14), kRed);
    EXPECT_EQ(pixel(20, 16), kSky);
    EXPECT_EQ(pixel(20, 22), kRed);
    EXPECT_EQ(pixel(60, 32), kSky);
    EXPECT_EQ(pixel(60, 37), kRed);

    // Heading 90 turns tick 0 to point right and tick 9 left, each a line from 0.8 to 1.0
    // of radius 50 without its last pixel; with the single-precision degree, sin 90 x 50
    // x 1.0 and x 0.7 fall a unit short (49, 34), x 0.8 does not (40). Nothing points down
    // any more; the "S" sits 34 to the right, its cursor moved 3 up and left.
    load("Kompass;64;64;100;0\n");
    hold(1, "90");
    frames(200);
    std::vector<int32_t> row;
    for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
        if (pixel(x, 64) == kWhite && (x < 27 || x > 100)) row.push_back(x);
    EXPECT_EQ(row, (std::vector<int32_t>{16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 104, 105, 106, 107,
                                         108, 109, 110, 111, 112}));
    EXPECT_EQ(pixel(64, 108), kBlack);
    EXPECT_TRUE(showsGlyph(95, 61, 1, 'S', kWhite, kBlack));

    // Value 0 points straight up: columns 64 and 65 from 0.4 to 0.9 of radius 50 above the
    // centre (rows 44 to 20), drawn again one row lower; the erasing wedges beside it paint
    // black. Held from power-on at its starting value, the needle never moves.
    powerOn();
    writeFile("config.txt", "RoundPointer;64;64;100;0;180\n");
    ReadingOverride up;
    device.readings.set(device.trace, device.objectList, "", "config.txt", 1, "RoundPointer",
                        RoundPointer(64, 64, 100, 0, 180).readingRange(), up);
    frames(5);
    for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
        for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
            EXPECT_EQ(pixel(x, y), (x == 64 || x == 65) && y >= 20 && y <= 45 ? kWhite : kBlack)
                << x << "," << y;
}

TEST_F(ReadingsTest, HeldEchoDigitsAndBlinkersShowTheirReading) {
    // Radius 45, echo distance 33: bearing 0 is drawn at the unreduced angle 360, whose
    // cosine falls a unit short, so the echo's centre is (96, 64); a disc of radius 5 in the
    // green of brightness 245 in the frame the sweep finds it.
    load("Radar;64;64;100\n");
    hold(1, "0");
    bool seen = false;
    for (int i = 0; i < 30 && !seen; ++i) {
        frames(1);
        seen = pixel(96, 64) == 0x07A0;
    }
    ASSERT_TRUE(seen);
    for (const auto& [x, y] : {std::pair{100, 64}, {92, 64}, {96, 60}, {96, 68}})
        EXPECT_EQ(pixel(x, y), 0x07A0) << x << "," << y;

    // Four digits at scale 2, twelve columns apart; four values are still drawn a frame.
    load("DigitCounter;10;20;4;2;0\n");
    hold(1, "0042");
    for (int i = 0; i < 3; ++i) {
        frames(1);
        EXPECT_EQ(device.random.state(), stateAfter(4 * (i + 2)));
        EXPECT_TRUE(showsGlyph(10, 20, 2, '0', kWhite, kBlack));
        EXPECT_TRUE(showsGlyph(22, 20, 2, '0', kWhite, kBlack));
        EXPECT_TRUE(showsGlyph(34, 20, 2, '4', kWhite, kBlack));
        EXPECT_TRUE(showsGlyph(46, 20, 2, '2', kWhite, kBlack));
    }

    load("ToggleText;10;40;GEAR;1;0\nLED;64;64;20;0\n");
    hold(1, "lit");
    hold(2, "lit");
    for (int i = 0; i < 3; ++i) {
        frames(1);
        EXPECT_TRUE(showsGlyph(10, 40, 1, 'G', kWhite, kBlack)) << i;
        EXPECT_EQ(pixel(64, 64), kRed) << i;
    }
    hold(1, "dark");
    hold(2, "dark");
    frames(1);
    EXPECT_TRUE(showsGlyph(10, 40, 1, 'G', kBlack, kBlack));
    EXPECT_EQ(pixel(64, 64), kBlack);
}

TEST_F(ReadingsTest, SweepsReachBothEndsAndReleaseGivesTheReadingBack) {
    load("Tacho;10;10;20;100;0\nKompass;64;64;100;0\nRoundPointer;64;64;100;-90;90\n");
    sweep(1);
    sweep(2);
    sweep(3);
    auto& gauge = dynamic_cast<Tacho&>(objectOfLine(1));
    auto& card = dynamic_cast<Kompass&>(objectOfLine(2));
    auto& needle = dynamic_cast<RoundPointer&>(objectOfLine(3));
    int32_t lo[3] = {100, 1000, 1000}, hi[3] = {-100, -1000, -1000};
    for (int i = 0; i < 1500; ++i) {
        frames(1);
        const int32_t shown[3] = {gauge.walk.shown, card.walk.shown, needle.walk.shown};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], shown[k]);
            hi[k] = std::max(hi[k], shown[k]);
        }
    }
    EXPECT_EQ(lo[0], 0);
    EXPECT_EQ(hi[0], 9);
    EXPECT_EQ(lo[1], -360);
    EXPECT_EQ(hi[1], 359);
    EXPECT_EQ(lo[2], -90);
    EXPECT_EQ(hi[2], 87) << "the last step of 3 from -90 below 90";

    const uint32_t before = device.random.state();
    EXPECT_TRUE(device.readings.release(device.trace, "config.txt", 1));
    frames(1);
    EXPECT_EQ(gauge.reading, nullptr);
    EXPECT_NE(device.random.state(), before);
    EXPECT_NE(trace().find("Sweep config.txt:1\n"), std::string::npos);
    EXPECT_NE(trace().find("Release config.txt:1\n"), std::string::npos);
}

TEST_F(ReadingsTest, ValuesAreReadClampedAndRefused) {
    const ReadingRange needle{ReadingKind::Needle, -90, 87, 3};
    ParsedReading p = parseReading(needle, "88");
    EXPECT_TRUE(p.ok && p.clamped);
    EXPECT_EQ(p.reading.value[0], 87);
    p = parseReading(needle, "-89");
    EXPECT_TRUE(p.ok && p.clamped);
    EXPECT_EQ(p.reading.value[0], -90);
    p = parseReading(needle, "99999999999999999999999");
    EXPECT_TRUE(p.ok && p.clamped);
    EXPECT_EQ(p.reading.value[0], 87);
    const ReadingRange ends{ReadingKind::Ends, -12, 11};
    p = parseReading(ends, "-16,15");
    EXPECT_TRUE(p.ok && p.clamped);
    EXPECT_EQ(formatReading(ends, p.reading), "-12,11");
    for (const char* bad : {"", "-", "1,", ",1", "1 ,2", "x,1", "1,2,3"})
        EXPECT_FALSE(parseReading(ends, bad).ok) << bad;
    const ReadingRange digits{ReadingKind::Digits, 0, 9, 1, 4};
    EXPECT_TRUE(parseReading(digits, "0042").ok);
    for (const char* bad : {"042", "00042", "00a2", "-042"})
        EXPECT_FALSE(parseReading(digits, bad).ok) << bad;
    const ReadingRange phase{ReadingKind::Phase, 0, 1};
    EXPECT_FALSE(parseReading(phase, "on").ok);
    EXPECT_FALSE(parseReading(ReadingRange{}, "1").ok);

    // The needle's range from its fields: reversed and empty spans, and the top of int32.
    EXPECT_EQ(RoundPointer(0, 0, 10, 10, 0).readingRange().high, 19);
    EXPECT_EQ(RoundPointer(0, 0, 10, 5, 5).readingRange().kind, ReadingKind::None);
    const ReadingRange top = RoundPointer(0, 0, 10, INT32_MAX - 10, INT32_MIN).readingRange();
    EXPECT_EQ(top.low, INT32_MAX - 10);
    EXPECT_EQ(top.high, INT32_MAX - 4) << "a step further would wrap";
}

class ReadingsSessionTest : public SystemTest {
  protected:
    ReadingsSessionTest() : session(clock, disk, Trace(traceToString, &log)) {}
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            session.runFrame();
            clock.advance(200);
        }
    }
    std::string modeOf(int32_t line) {
        for (const ReadingLine& reading : session.readings())
            if (reading.line == line) return reading.mode + " " + reading.value;
        return "no object";
    }
    std::string log;
    Session session;
};

TEST_F(ReadingsSessionTest, OverridesFollowTheirLinesThroughSavesEditsAndRestarts) {
    writeFile("config.txt", "LED;10;10;8;0\nTacho;30;0;20;100;0\n");
    const ReadingAnswer clamped = session.hold("config.txt", 2, "12");
    EXPECT_TRUE(clamped.ok);
    EXPECT_EQ(clamped.message, "clamped to 9 (the range is 0 to 9)");
    EXPECT_EQ(log.rfind("Hold config.txt:2 9\n", 0), 0u) << "before the first frame";
    frames(3);
    EXPECT_EQ(modeOf(2), "hold 9");
    EXPECT_EQ(modeOf(1), "random ");

    // A save that keeps the line keeps the override; one that moves it without telling
    // the session drops it, since the line now makes another kind of object.
    writeFile("config.txt", "LED;12;10;8;0\nTacho;30;0;20;100;0\n");
    session.fileSaved("config.txt");
    frames(2);
    EXPECT_EQ(modeOf(2), "hold 9");
    session.moveLines("config.txt", {{2, 3}});
    writeFile("config.txt", "LED;12;10;8;0\nSetColor;2016\nTacho;30;0;20;100;0\n");
    session.fileSaved("config.txt");
    frames(2);
    EXPECT_EQ(modeOf(3), "hold 9");

    session.restart();
    frames(2);
    EXPECT_EQ(modeOf(3), "hold 9");
    size_t holds = 0;
    for (auto at = log.find("Hold config.txt:"); at != std::string::npos;
         at = log.find("Hold config.txt:", at + 1))
        ++holds;
    EXPECT_EQ(holds, 2u) << "traced again at power-on";

    writeFile("config.txt", "LED;12;10;8;0\nSetColor;2016\n");
    session.fileSaved("config.txt");
    frames(2);
    EXPECT_EQ(session.readings().size(), 1u);
    EXPECT_NE(log.find("Release config.txt:3\n"), std::string::npos);
    EXPECT_FALSE(session.release("config.txt", 3).ok);
}

TEST_F(ReadingsSessionTest, HoldRefusesWhatNamesNoReading) {
    writeFile("config.txt", "LED;10;10;8;0\nSetColor;2016\nGyroHorizonRect;0;0;64;1;0\n");
    EXPECT_EQ(session.hold("missing.txt", 1, "lit").message,
              "the folder has no file 'missing.txt'");
    EXPECT_EQ(session.hold("config.txt", 9, "lit").message,
              "'config.txt' has no line 9 (it has 3)");
    EXPECT_EQ(session.hold("config.txt", 2, "lit").message, "config.txt:2 makes no object");
    EXPECT_EQ(session.hold("config.txt", 1, "on").message,
              "config.txt:1: the value must be 'lit' or 'dark'");
    EXPECT_FALSE(session.sweep("config.txt", 3).ok) << "a flat horizon has no range";
    EXPECT_TRUE(log.empty()) << "a refusal changes nothing";

    session.applyReadings(ReadingsPreset::AllAtMaximum);
    EXPECT_EQ(modeOf(1), "hold lit");
    session.applyReadings(ReadingsPreset::SweepAll);
    EXPECT_EQ(modeOf(1), "sweep ");
    session.applyReadings(ReadingsPreset::Device);
    EXPECT_EQ(modeOf(1), "random ");
}

TEST(ReadingsCliTest, RenderHoldsFromPowerOnAndRefusesBadReferences) {
    const std::string demo = sourcePath("examples/demo");
    std::string out, err;
    ASSERT_EQ(runCli("render " + demo +
                         " --frames 3 --trace - --hold panel.txt:2=-16,15 --sweep config.txt:4",
                     &out, &err),
              0)
        << err;
    EXPECT_EQ(out.rfind("Hold panel.txt:2 -11,11\nSweep config.txt:4\nR", 0), 0u) << out;
    EXPECT_NE(err.find("clamped to -11,11"), std::string::npos) << err;
    for (const char* bad :
         {"--hold config.txt:99=lit", "--hold config.txt:3=lit", "--hold config.txt:4=on",
          "--hold nope.txt:1=9", "--hold config.txt=9", "--sweep config.txt:x"}) {
        EXPECT_EQ(runCli("render " + demo + " " + bad, &out, &err), 2) << bad;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

} // namespace
} // namespace orvanta::test::readings
