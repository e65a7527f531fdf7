// Behaviour of the seven display objects that join the Tacho: what their first frames draw,
// which random values they consume and in which order, their blinking phases, extreme
// configuration values, and one golden animation per instrument.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/device/device.h"
#include "core/display/primitives.h"
#include "core/display/text.h"
#include "core/instruments/gyro_horizon_rect.h"
#include "core/instruments/kompass.h"
#include "core/instruments/round_pointer.h"
#include "core/instruments/toggle_text.h"
#include "core/runtime/objects.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

constexpr int32_t kWhite = 0xFFFF, kBlue = 0x001F, kRed = 0xF800, kSky = 0x965C;

// The shared generator replayed on its own, so that a test can name the n-th value drawn.
uint32_t stateAfter(int32_t draws) {
    uint32_t state = 1;
    for (int32_t i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
    return state;
}
int32_t randomValue(int32_t index) {
    return static_cast<int32_t>((stateAfter(index + 1) >> 16) & 0x7FFF);
}

class InstrumentTest : public SystemTest {
  protected:
    // A device at power-on and an empty trace, with `config` as the file to load.
    void load(const std::string& config) {
        powerOn();
        takeTrace();
        writeFile("config.txt", config);
    }
    void frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i) AllMandDObjectsRun(device);
    }
    template <class T> T& object(int32_t slot) {
        return dynamic_cast<T&>(*device.objectList.slots[slot]);
    }

    std::vector<int32_t> printedNumbers() const {
        std::vector<int32_t> numbers;
        const std::string key = "tft.print: ";
        for (size_t at = trace().find(key); at != std::string::npos; at = trace().find(key, at + 1))
            numbers.push_back(std::stoi(trace().substr(at + key.size())));
        return numbers;
    }
};

TEST_F(InstrumentTest, InstrumentsDrawRandomValuesInListOrder) {
    load("DigitCounter;0;0;1;1;0\nKompass;64;64;100;0\nRoundPointer;64;64;100;0;180\n"
         "Radar;64;64;60\nGyroHorizonRect;0;0;64;48;0\nDigitCounter;0;10;1;1;0\n");
    // First frame: the compass and the horizon have not passed their targets yet; the
    // needle stands on its target and draws one.
    frames(1);
    EXPECT_EQ(device.random.state(), stateAfter(3));
    EXPECT_EQ(object<RoundPointer>(2).valueTarget, randomValue(1) % 180);
    // Second frame: one value for the compass, none for the needle, one per horizon end.
    frames(1);
    EXPECT_EQ(device.random.state(), stateAfter(8));
    EXPECT_EQ(object<Kompass>(1).headingTarget, randomValue(4) % 720 - 360);
    EXPECT_EQ(object<GyroHorizonRect>(4).leftTarget, randomValue(5) % 24 - 12);
    EXPECT_EQ(object<GyroHorizonRect>(4).rightTarget, randomValue(6) % 24 - 12);
    EXPECT_EQ(printedNumbers(), (std::vector<int32_t>{randomValue(0) % 10, randomValue(2) % 10,
                                                      randomValue(3) % 10, randomValue(7) % 10}));
}

TEST_F(InstrumentTest, RadarsLeaveTheOtherReadingsAlone) {
    auto readings = [&](const std::string& radar) {
        load("DigitCounter;0;0;3;1;0\n" + radar +
             "Kompass;64;64;100;0\nRoundPointer;64;64;100;-30;200\n" + radar +
             "GyroHorizonRect;10;10;64;48;2\n");
        frames(60);
        return std::pair{printedNumbers(), device.random.state()};
    };
    const auto alone = readings(""), beside = readings("Radar;40;40;50\n");
    EXPECT_EQ(alone.first.size(), 180u);
    EXPECT_EQ(alone, beside);
}

TEST_F(InstrumentTest, HorizonLadderSitsOnTheRectangleCentre) {
    load("GyroHorizonRect;10;20;64;48;0\n");
    frames(1);
    EXPECT_EQ(device.random.state(), 1u) << "the first frame moves both ends without a draw";
    // Centre (42, 44), radius 24: six rungs four rows apart from 14 rows above the centre,
    // each from two columns left of it to just before two columns right.
    for (const int32_t row : {30, 34, 38, 42, 46, 50}) {
        for (int32_t x = 40; x <= 43; ++x) EXPECT_EQ(pixel(x, row), kWhite) << x << "," << row;
        EXPECT_NE(pixel(39, row), kWhite) << row;
        EXPECT_NE(pixel(44, row), kWhite) << row;
    }
    EXPECT_EQ(pixel(42, 32), kSky);
    EXPECT_EQ(pixel(42, 48), kRed);
    // Both ends moved one row down: the line runs along row 45 from column 12 to 71, and
    // the ground band reaches one column further.
    EXPECT_EQ(pixel(12, 45), kWhite);
    EXPECT_EQ(pixel(71, 45), kWhite);
    EXPECT_EQ(pixel(72, 45), kRed);
}

TEST_F(InstrumentTest, HorizonHalvesOnlyWhenDueAfterTheLoadAndFlatOnesStayStill) {
    struct Case {
        std::string size;
        int32_t interval;
        bool halves;
        int32_t drawsInTwoFrames;
    };
    const Case cases[] = {{"64;48", 0, true, 2},  {"64;48", 1, true, 2},  {"64;48", -1, true, 2},
                          {"64;48", 2, false, 0}, {"64;48", 3, false, 0}, {"64;2", 0, true, 2},
                          {"64;-40", 0, true, 2}, {"64;1", 0, true, 0},   {"64;0", 0, true, 0},
                          {"64;-1", 0, true, 0}};
    for (const Case& c : cases) {
        load("GyroHorizonRect;10;20;" + c.size + ";" + std::to_string(c.interval) + "\n");
        frames(2);
        EXPECT_EQ(device.random.state(), stateAfter(c.drawsInTwoFrames))
            << c.size << " " << c.interval;
        if (c.size != "64;48") continue;
        // The top and bottom rows come only from the halves; the bands come every due frame.
        EXPECT_EQ(pixel(42, 20), c.halves ? kSky : 0) << c.interval;
        EXPECT_EQ(pixel(42, 67), c.halves ? kRed : 0) << c.interval;
        EXPECT_EQ(pixel(42, 31), kSky) << c.interval;
        EXPECT_EQ(pixel(42, 56), kRed) << c.interval;
    }
    frames(5);
    EXPECT_EQ(device.random.state(), 1u);
    EXPECT_EQ(object<GyroHorizonRect>(0).leftOffset, 0);
}

TEST_F(InstrumentTest, CompassLettersScaleWithTheRadius) {
    // The "S" of the first frame: 1 degree, 0.7 of the radius below the centre (64, 64),
    // shifted up and left by the label offset.
    struct Case {
        int32_t diameter, scale, cursorX, cursorY;
    };
    for (const Case c : {Case{100, 1, 61, 95}, Case{158, 1, 61, 116}, Case{160, 2, 58, 113}}) {
        load("Kompass;64;64;" + std::to_string(c.diameter) + ";0\nSetBGColor;31\n");
        frames(1);
        EXPECT_EQ(device.random.state(), 1u);
        EXPECT_TRUE(showsGlyph(c.cursorX, c.cursorY, c.scale, 'S', kWhite, kBlue)) << c.diameter;
    }
}

TEST_F(InstrumentTest, CompassErasesWhatItDrewAtThePreviousHeading) {
    // Forty frames, one of which turns the card round, leave only the card at the current
    // heading: the picture of a clean card drawn there.
    load("Kompass;64;64;100;0\n");
    frames(40);
    auto clean = std::make_unique<Display>();
    Kompass card(64, 64, 100, 0);
    card.heading = card.headingTarget = object<Kompass>(0).heading;
    card.headingStep = 0; // erases and draws at the same heading, without a new target
    FrameContext frame{*clean, device.random, device.trace, device.frameCounter};
    card.run(frame);
    for (int32_t i = 0; i < DISPLAY_SIZE * DISPLAY_SIZE; ++i)
        ASSERT_EQ(surface.pixels[i], clean->surface.pixels[i])
            << i % DISPLAY_SIZE << "," << i / DISPLAY_SIZE;
}

TEST_F(InstrumentTest, NeedleTargetsAndHolds) {
    const int32_t first = randomValue(0);
    struct Case {
        int32_t minValue, maxValue, frames, value, target, draws;
    };
    const Case cases[] = {
        {0, 180, 1, 3, first % 180, 1},
        {-90, 90, 30, 0, 0, 0}, // climbs to 0 before the first draw
        {-90, 90, 31, -3, first % 180 - 90, 1},
        {0, 0, 10, 0, 0, 0}, // an empty range holds the needle
        {-9, -9, 10, 0, 0, 0},
        {500, 500, 10, 500, 0, 0},
        {0, INT32_MIN, 1, 3, first, 1}, // the span wraps to -2^31
        {0, -1, 1, -3, 0, 1},
        {INT32_MAX, INT32_MIN, 1, INT32_MAX - 3, INT32_MAX, 1}, // span 1
        {INT32_MAX - 1, INT32_MIN, 1, INT32_MIN + 1, INT32_MAX - 1 + first % 2, 1},
        {INT32_MIN, INT32_MAX, 1, INT32_MIN + 3, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string line = std::to_string(c.minValue) + ";" + std::to_string(c.maxValue);
        load("RoundPointer;64;64;100;" + line + "\n");
        frames(c.frames);
        const RoundPointer& p = object<RoundPointer>(0);
        EXPECT_EQ(p.value, c.value) << line;
        EXPECT_EQ(p.valueTarget, c.target) << line;
        EXPECT_EQ(device.random.state(), stateAfter(c.draws)) << line;
        // The needle's inner end is two pixels wide and high, 0.4 of the radius out.
        const int32_t ax = 64 + sinScaled(c.value, 50, 0.4), ay = 64 - cosScaled(c.value, 50, 0.4);
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
            EXPECT_EQ(pixel(ax + dx, ay + dy), kWhite) << line;
    }
}

TEST_F(InstrumentTest, RadarRadiusIsNineTenthsOfHalfTheDiameter) {
    // The outer ring spans 2r columns and rows about the centre.
    for (const auto& [diameter, first, last] : {std::tuple{100, 19, 108}, {80, 28, 99}}) {
        load("Radar;64;64;" + std::to_string(diameter) + "\n");
        frames(1);
        int32_t left = DISPLAY_SIZE, right = -1, top = DISPLAY_SIZE, bottom = -1;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y) {
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x) {
                if (pixel(x, y) == 0) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ((std::vector{left, top, right, bottom}), (std::vector{first, first, last, last}))
            << diameter;
    }
}

TEST_F(InstrumentTest, RadarEchoLightsOnTheThirteenthRunAndFades) {
    load("Radar;64;64;100\n");
    // Distance (45 / 4) x 3 = 33; bearing 178 drawn 60 degrees on, at 238. The sample lies
    // inside the echo disc, clear of rings and spokes.
    const int32_t ex = 62 + cosScaled(238, 33, 1.0), ey = 62 + sinScaled(238, 33, 1.0);
    frames(12);
    EXPECT_NE(pixel(ex, ey), 0x07E0);
    for (int32_t brightness = 255; brightness > 80; brightness -= 10) {
        frames(1);
        EXPECT_EQ(pixel(ex, ey), (brightness & 0xFC) << 3) << brightness;
    }
    frames(1);
    EXPECT_EQ(pixel(ex, ey), 0x02A0) << "a faded echo stays until the fan passes";
    // The next revolution detects it at sweep 180, two degrees further anticlockwise.
    frames(5);
    EXPECT_EQ(pixel(62 + cosScaled(236, 33, 1.0), 62 + sinScaled(236, 33, 1.0)), 0x07E0);
    EXPECT_EQ(device.random.state(), 1u);
}

TEST_F(InstrumentTest, DigitsFillConsecutiveCellsAndWrap) {
    struct Case {
        std::string at;
        std::vector<std::pair<int32_t, int32_t>> cells;
    };
    const Case cases[] = {{"10;20;4", {{10, 20}, {16, 20}, {22, 20}, {28, 20}}},
                          {"116;0;3", {{116, 0}, {122, 0}, {0, 8}}},
                          {"30;40;-5", {}}};
    for (const Case& c : cases) {
        load("DigitCounter;" + c.at + ";1;0\nSetBGColor;31\n");
        frames(2); // the second frame's digits replace the first's
        const int32_t n = static_cast<int32_t>(c.cells.size());
        std::vector<int32_t> digits;
        for (int32_t i = 0; i < 2 * n; ++i) digits.push_back(randomValue(i) % 10);
        EXPECT_EQ(printedNumbers(), digits) << c.at;
        for (int32_t i = 0; i < n; ++i) {
            EXPECT_TRUE(showsGlyph(c.cells[i].first, c.cells[i].second, 1,
                                   static_cast<unsigned char>('0' + digits[n + i]), kWhite, kBlue));
        }
    }
}

TEST_F(InstrumentTest, BlinkersAlternateTheirPhasesPerDueFrame) {
    // One letter per frame: '.' untouched, 'W' white text, 'R' lit red disc, 'B' blue,
    // which is the hidden text or the dark disc.
    struct Case {
        std::string line;
        int32_t x, y;
        std::string phases;
    };
    const Case cases[] = {
        {"LED;20;20;10;1", 20, 20, "BRBRBRBR"},     {"LED;20;20;10;0", 20, 20, "BRBRBRBR"},
        {"LED;20;20;10;3", 20, 20, ".BBBRRRB"},     {"ToggleText;0;0;A;1;1", 0, 2, "WBWBWBWB"},
        {"ToggleText;0;0;A;1;3", 0, 2, ".WWWBBBW"},
    };
    for (const Case& c : cases) {
        load(c.line + "\nSetBGColor;31\n");
        std::string seen;
        for (size_t i = 0; i < c.phases.size(); ++i) {
            frames(1);
            const int32_t p = pixel(c.x, c.y);
            seen += p == 0 ? '.' : p == kWhite ? 'W' : p == kRed ? 'R' : p == kBlue ? 'B' : '?';
        }
        EXPECT_EQ(seen, c.phases) << c.line;
    }
}

TEST_F(InstrumentTest, ToggleTextKeepsTwentyCharacters) {
    load("ToggleText;0;0;ABCDEFGHIJKLMNOPQRSTUVWXY;1;0\n");
    frames(1);
    EXPECT_STREQ(object<ToggleText>(0).text, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_TRUE(showsGlyph(114, 0, 1, 'T', kWhite, 0));
    EXPECT_TRUE(showsGlyph(120, 0, 1, ' ', 0, 0)) << "nothing after the twentieth";
    load("ToggleText;10;10;;2;0\n");
    frames(3);
    EXPECT_FALSE(object<ToggleText>(0).visible) << "an empty text still alternates";
}

constexpr const char* kGallery[] = {"tacho", "gyro_horizon_rect", "kompass",     "round_pointer",
                                    "radar", "digit_counter",     "toggle_text", "led"};
constexpr int32_t kShots = 5, kGap = 2;

// Five pictures of each gallery configuration, after frames 1, 7, 13, 19 and 25, side by
// side with a grey gap.
TEST_F(InstrumentTest, GalleryAnimationsMatchTheirGoldens) {
    for (const char* name : kGallery) {
        load(readWholeFile(sourcePath(std::string("examples/gallery/") + name + "/config.txt")));
        RgbImage strip;
        strip.width = kShots * DISPLAY_SIZE + (kShots - 1) * kGap;
        strip.height = DISPLAY_SIZE;
        strip.rgb.assign(static_cast<size_t>(strip.width) * strip.height * 3, 0x40);
        for (int32_t shot = 0; shot < kShots; ++shot) {
            frames(shot == 0 ? 1 : 6);
            for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
                for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                    strip.setPixel(shot * (DISPLAY_SIZE + kGap) + x, y, surface.at(x, y));
        }
        EXPECT_TRUE(matchesGolden(strip, std::string(name) + "-gallery")) << name;
    }
}

// The renderer, run on a gallery folder itself, ends on the last picture of its strip.
TEST_F(InstrumentTest, GalleryFoldersRenderWithTheCommandLineProgram) {
    for (const char* name : kGallery) {
        const std::string png = (folder / (std::string(name) + ".png")).string();
        const std::string arguments = "render " +
                                      sourcePath("examples/gallery/" + std::string(name)) +
                                      " --frames 25 --png " + png;
        ASSERT_EQ(runCli(arguments), 0) << arguments;
        RgbImage rendered, strip;
        ASSERT_TRUE(readPng(png, &rendered));
        ASSERT_TRUE(
            readPng(sourcePath("tests/golden/" + std::string(name) + "-gallery.png"), &strip));
        ASSERT_EQ(rendered.width, DISPLAY_SIZE);
        int32_t differing = 0;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                differing += rendered.pixel(x, y) !=
                             strip.pixel((kShots - 1) * (DISPLAY_SIZE + kGap) + x, y);
        EXPECT_EQ(differing, 0) << name;
    }
}

} // namespace
} // namespace orvanta::test
