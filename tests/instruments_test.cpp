// Behaviour of the seven display objects that join the Tacho: what their first frames draw,
// the random values they consume and in which order, their blinking phases, extreme
// configuration values, and one golden animation per instrument.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "display/primitives.h"
#include "display/surface.h"
#include "display/text.h"
#include "instruments/digit_counter.h"
#include "instruments/gyro_horizon_rect.h"
#include "instruments/kompass.h"
#include "instruments/led.h"
#include "instruments/radar.h"
#include "instruments/round_pointer.h"
#include "instruments/toggle_text.h"
#include "runtime/frame.h"
#include "runtime/objects.h"
#include "runtime/system.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

constexpr int32_t kWhite = 0xFFFF, kBlue = 0x001F, kRed = 0xF800, kSky = 0x965C;

// The shared generator replayed on its own, so that a test can name the n-th value drawn.
std::vector<int32_t> randomValues(int32_t count) {
    std::vector<int32_t> values;
    uint32_t state = 1;
    for (int32_t i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        values.push_back(static_cast<int32_t>((state >> 16) & 0x7FFF));
    }
    return values;
}

uint32_t stateAfter(int32_t draws) {
    uint32_t state = 1;
    for (int32_t i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
    return state;
}

class InstrumentTest : public SystemTest {
  protected:
    void load(const std::string& config) { writeFile("config.txt", config); }
    void frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i) AllMandDObjectsRun();
    }
    template <class T> T& object(int32_t slot) { return dynamic_cast<T&>(*objectList[slot]); }

    // The numbers printInt traced, in order.
    std::vector<int32_t> printedNumbers() const {
        std::vector<int32_t> numbers;
        const std::string key = "tft.print: ";
        for (size_t at = trace().find(key); at != std::string::npos;
             at = trace().find(key, at + 1)) {
            numbers.push_back(std::stoi(trace().substr(at + key.size())));
        }
        return numbers;
    }

    // Checks the whole character cell at (cx, cy), as far as it lies on the display.
    ::testing::AssertionResult showsGlyph(int32_t cx, int32_t cy, int32_t scale, unsigned char c,
                                          int32_t fg, int32_t bg) const {
        for (int32_t dy = 0; dy < 8 * scale; ++dy) {
            for (int32_t dx = 0; dx < 6 * scale; ++dx) {
                const int32_t px = cx + dx, py = cy + dy;
                if (px < 0 || py < 0 || px >= DISPLAY_SIZE || py >= DISPLAY_SIZE) continue;
                const int32_t col = dx / scale, row = dy / scale;
                const bool set = col < 5 && ((glyphTable[c][col] >> row) & 1) != 0;
                if (pixel(px, py) != (set ? fg : bg)) {
                    return ::testing::AssertionFailure()
                           << "'" << c << "' at (" << cx << ", " << cy << "): pixel (" << px << ", "
                           << py << ") is " << pixel(px, py);
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Columns and rows of everything drawn that is not black.
    struct Box {
        int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    };
    Box paintedBox() const {
        Box b;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y) {
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x) {
                if (pixel(x, y) == 0) continue;
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
        }
        return b;
    }
};

// --- Random values shared in run order -------------------------------------------------

TEST_F(InstrumentTest, InstrumentsDrawRandomValuesInListOrder) {
    load("DigitCounter;0;0;1;1;0\n"
         "Kompass;64;64;100;0\n"
         "RoundPointer;64;64;100;0;180\n"
         "Radar;64;64;60\n"
         "GyroHorizonRect;0;0;64;48;0\n"
         "DigitCounter;0;10;1;1;0\n");
    const std::vector<int32_t> v = randomValues(8);
    // First frame: the compass and the horizon have not passed their targets yet, the
    // needle stands on its target and draws one.
    frames(1);
    EXPECT_EQ(randomState(), stateAfter(3));
    EXPECT_EQ(object<RoundPointer>(2).valueTarget, v[1] % 180);
    // Second frame: the compass draws one value, the needle none, the horizon one per end,
    // left first.
    frames(1);
    EXPECT_EQ(randomState(), stateAfter(8));
    EXPECT_EQ(object<Kompass>(1).headingTarget, v[4] % 720 - 360);
    EXPECT_EQ(object<GyroHorizonRect>(4).leftTarget, v[5] % 24 - 12);
    EXPECT_EQ(object<GyroHorizonRect>(4).rightTarget, v[6] % 24 - 12);
    EXPECT_EQ(printedNumbers(), (std::vector<int32_t>{v[0] % 10, v[2] % 10, v[3] % 10, v[7] % 10}));
}

TEST_F(InstrumentTest, RadarsBetweenInstrumentsLeaveTheirReadingsAlone) {
    const std::string others[] = {"DigitCounter;0;0;3;1;0\n", "Kompass;64;64;100;0\n",
                                  "RoundPointer;64;64;100;-30;200\n",
                                  "GyroHorizonRect;10;10;64;48;2\n"};
    struct Readings {
        std::vector<int32_t> digits;
        uint32_t state;
        int32_t heading, needle, leftEnd, rightEnd;
    };
    auto run = [&](bool withRadars) {
        resetSystem();
        takeTrace();
        std::string config;
        for (const auto& line : others) {
            config += line;
            if (withRadars) config += "Radar;40;40;50\n";
        }
        load(config);
        frames(60);
        const int32_t step = withRadars ? 2 : 1;
        return Readings{printedNumbers(),
                        randomState(),
                        object<Kompass>(step).heading,
                        object<RoundPointer>(2 * step).value,
                        object<GyroHorizonRect>(3 * step).leftOffset,
                        object<GyroHorizonRect>(3 * step).rightOffset};
    };
    const Readings alone = run(false), beside = run(true);
    EXPECT_EQ(alone.digits.size(), 180u);
    EXPECT_EQ(alone.digits, beside.digits);
    EXPECT_EQ(alone.state, beside.state);
    EXPECT_EQ(alone.heading, beside.heading);
    EXPECT_EQ(alone.needle, beside.needle);
    EXPECT_EQ(alone.leftEnd, beside.leftEnd);
    EXPECT_EQ(alone.rightEnd, beside.rightEnd);
}

// --- GyroHorizonRect ---------------------------------------------------------------------

TEST_F(InstrumentTest, HorizonLadderSitsOnTheRectangleCentre) {
    load("GyroHorizonRect;10;20;64;48;0\n");
    frames(1);
    EXPECT_EQ(randomState(), 1u) << "the first frame moves both ends without a draw";
    // Centre (42, 44), radius 24: six rungs four rows apart, from 14 rows above the centre,
    // each four pixels wide.
    for (const int32_t row : {30, 34, 38, 42, 46, 50}) {
        for (int32_t x = 40; x <= 43; ++x) EXPECT_EQ(pixel(x, row), kWhite) << x << "," << row;
        EXPECT_NE(pixel(39, row), kWhite) << row;
        EXPECT_NE(pixel(44, row), kWhite) << row;
    }
    EXPECT_EQ(pixel(42, 32), kSky);
    EXPECT_EQ(pixel(42, 48), kRed);
    // Both ends moved one row down: the horizon runs along row 45 from column 12 to 71.
    EXPECT_EQ(pixel(12, 45), kWhite);
    EXPECT_EQ(pixel(71, 45), kWhite);
    EXPECT_EQ(pixel(72, 45), kRed) << "the ground band reaches one column further";
    EXPECT_EQ(pixel(42, 44), kSky);
}

TEST_F(InstrumentTest, HorizonPaintsItsRoundedHalvesOnlyWhenDueAfterTheLoad) {
    struct Case {
        int32_t interval;
        bool halves;
    };
    for (const Case c :
         {Case{0, true}, Case{1, true}, Case{-1, true}, Case{2, false}, Case{3, false}}) {
        resetSystem();
        surface = Surface{};
        load("GyroHorizonRect;10;20;64;48;" + std::to_string(c.interval) + "\n");
        frames(4);
        EXPECT_EQ(pixel(42, 20), c.halves ? kSky : 0) << c.interval;
        EXPECT_EQ(pixel(42, 67), c.halves ? kRed : 0) << c.interval;
        // The bands between the ten fixed rows at either end are painted either way.
        EXPECT_EQ(pixel(42, 31), kSky) << c.interval;
        EXPECT_EQ(pixel(42, 56), kRed) << c.interval;
    }
}

TEST_F(InstrumentTest, FlatHorizonStaysStillWithoutRandomDraws) {
    struct Case {
        int32_t height;
        uint32_t drawsAfterTwoFrames;
    };
    for (const Case c : {Case{2, 2}, Case{1, 0}, Case{0, 0}, Case{-1, 0}, Case{-40, 0}}) {
        resetSystem();
        load("GyroHorizonRect;10;20;64;" + std::to_string(c.height) + ";0\n");
        frames(2);
        EXPECT_EQ(randomState(), stateAfter(c.drawsAfterTwoFrames)) << c.height;
        if (c.drawsAfterTwoFrames == 0) {
            frames(5);
            EXPECT_EQ(randomState(), 1u) << c.height;
            EXPECT_EQ(object<GyroHorizonRect>(0).leftOffset, 0) << c.height;
            EXPECT_EQ(object<GyroHorizonRect>(0).rightOffset, 0) << c.height;
        }
    }
}

// --- Kompass -----------------------------------------------------------------------------

TEST_F(InstrumentTest, CompassLettersScaleWithTheRadius) {
    // The "S" of the first frame, printed at 1 degree and 0.7 of the radius below the
    // centre (64, 64), its cursor shifted up and left by the label offset.
    struct Case {
        int32_t diameter, scale, offset, cursorX, cursorY;
    };
    for (const Case c :
         {Case{100, 1, -3, 61, 95}, Case{158, 1, -3, 61, 116}, Case{160, 2, -6, 58, 113}}) {
        resetSystem();
        surface = Surface{};
        load("Kompass;64;64;" + std::to_string(c.diameter) + ";0\nSetBGColor;31\n");
        frames(1);
        EXPECT_EQ(randomState(), 1u);
        EXPECT_EQ(object<Kompass>(0).labelOffset, c.offset);
        EXPECT_EQ(tft.textScaleX, c.scale);
        EXPECT_TRUE(showsGlyph(c.cursorX, c.cursorY, c.scale, 'S', kWhite, kBlue)) << c.diameter;
    }
}

TEST_F(InstrumentTest, CompassErasesWhatItDrewAtThePreviousHeading) {
    // After forty frames, one of which turns the card round, only the card at the current
    // heading is left: the picture equals a clean card drawn at that heading.
    load("Kompass;64;64;100;0\n");
    frames(40);
    const Kompass& k = object<Kompass>(0);
    Surface fresh;
    setDrawTarget(&fresh);
    Kompass clean(64, 64, 100, 0);
    clean.heading = k.heading;
    clean.headingTarget = k.heading;
    clean.headingStep = 0; // erases and draws at the same heading, without a new target
    clean.run();
    setDrawTarget(&surface);
    for (int32_t i = 0; i < DISPLAY_SIZE * DISPLAY_SIZE; ++i)
        ASSERT_EQ(surface.pixels[i], fresh.pixels[i])
            << i % DISPLAY_SIZE << "," << i / DISPLAY_SIZE;
}

// --- RoundPointer ------------------------------------------------------------------------

TEST_F(InstrumentTest, NeedleDrawsItsFirstTargetAndMovesThreeDegrees) {
    load("RoundPointer;64;64;100;0;180\n");
    frames(1);
    const RoundPointer& p = object<RoundPointer>(0);
    EXPECT_EQ(randomState(), stateAfter(1));
    EXPECT_EQ(p.valueTarget, randomValues(1)[0] % 180);
    EXPECT_EQ(p.value, 3);
    // The needle is two pixels wide and two high at its inner end, 0.4 of the radius out.
    const int32_t ax = 64 + sinScaled(3, 50, 0.4), ay = 64 - cosScaled(3, 50, 0.4);
    for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
        EXPECT_EQ(pixel(ax + dx, ay + dy), kWhite) << dx << "," << dy;
    EXPECT_EQ(pixel(64, 64), 0) << "the centre stays clear";
}

TEST_F(InstrumentTest, NeedleClimbsFromANegativeMinimumWithoutDrawing) {
    load("RoundPointer;64;64;100;-90;90\n");
    frames(30);
    EXPECT_EQ(randomState(), 1u);
    EXPECT_EQ(object<RoundPointer>(0).value, 0);
    frames(1);
    EXPECT_EQ(randomState(), stateAfter(1));
}

TEST_F(InstrumentTest, NeedleWithAnEmptyRangeHolds) {
    struct Case {
        int32_t limit, heldAt;
    };
    for (const Case c : {Case{0, 0}, Case{-9, 0}, Case{500, 500}}) {
        resetSystem();
        surface = Surface{};
        const std::string limit = std::to_string(c.limit);
        load("RoundPointer;64;64;100;" + limit + ";" + limit + "\n");
        frames(10);
        const RoundPointer& p = object<RoundPointer>(0);
        EXPECT_EQ(randomState(), 1u) << c.limit;
        EXPECT_EQ(p.value, c.heldAt) << c.limit;
        EXPECT_EQ(p.valueStep, 3) << c.limit;
        EXPECT_EQ(pixel(64 + sinScaled(c.heldAt, 50, 0.4), 64 - cosScaled(c.heldAt, 50, 0.4)),
                  kWhite)
            << c.limit;
    }
}

TEST_F(InstrumentTest, NeedleRangeWrapsAsThirtyTwoBits) {
    const int32_t first = randomValues(1)[0];
    struct Case {
        int32_t minValue, maxValue, target, value;
        uint32_t draws;
    };
    const Case cases[] = {
        {0, INT32_MIN, first, 3, 1},                         // span -2^31
        {0, -1, 0, -3, 1},                                   // span -1
        {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX - 3, 1}, // span wraps to 1
        {INT32_MAX - 1, INT32_MIN, INT32_MAX - 1 + first % 2, INT32_MIN + 1, 1},
        {INT32_MIN, INT32_MAX, 0, INT32_MIN + 3, 0}, // still climbing towards 0
    };
    for (const Case& c : cases) {
        resetSystem();
        load("RoundPointer;64;64;100;" + std::to_string(c.minValue) + ";" +
             std::to_string(c.maxValue) + "\n");
        frames(1);
        const RoundPointer& p = object<RoundPointer>(0);
        EXPECT_EQ(p.valueTarget, c.target) << c.minValue << ".." << c.maxValue;
        EXPECT_EQ(p.value, c.value) << c.minValue << ".." << c.maxValue;
        EXPECT_EQ(randomState(), stateAfter(c.draws)) << c.minValue << ".." << c.maxValue;
        frames(20);
    }
}

// --- Radar -------------------------------------------------------------------------------

TEST_F(InstrumentTest, RadarRadiusIsNineTenthsOfHalfTheDiameter) {
    struct Case {
        int32_t diameter, first, last;
    };
    for (const Case c : {Case{100, 19, 108}, Case{80, 28, 99}}) {
        resetSystem();
        surface = Surface{};
        load("Radar;64;64;" + std::to_string(c.diameter) + "\n");
        frames(1);
        const Box b = paintedBox();
        EXPECT_EQ(b.left, c.first) << c.diameter;
        EXPECT_EQ(b.top, c.first) << c.diameter;
        EXPECT_EQ(b.right, c.last) << c.diameter;
        EXPECT_EQ(b.bottom, c.last) << c.diameter;
        EXPECT_EQ(randomState(), 1u);
    }
}

TEST_F(InstrumentTest, RadarFanFadesFromItsLeadingEdge) {
    load("Radar;64;64;100\n");
    frames(1);
    // The first sweep stands at 15 degrees; wedge i spans 15 + 12i - 12 .. 15 + 12i. Each is
    // sampled between the outer rings, clear of its edges and of the spokes at 45 and 90.
    struct Case {
        int32_t angle, shade;
    };
    for (const Case c : {Case{33, 0x01E0}, Case{48, 0x02E0}, Case{57, 0x03E0}, Case{69, 0x04C0},
                         Case{81, 0x05C0}, Case{95, 0x06C0}, Case{105, 0x07C0}, Case{120, 0}}) {
        EXPECT_EQ(pixel(64 + cosScaled(c.angle, 38, 1.0), 64 + sinScaled(c.angle, 38, 1.0)),
                  c.shade)
            << c.angle;
    }
}

TEST_F(InstrumentTest, RadarEchoLightsOnTheThirteenthRunAndFades) {
    load("Radar;64;64;100\n");
    // Echo distance (45 / 4) x 3 = 33; bearing 178 drawn 60 degrees on, at 238. The sample
    // lies inside the echo disc but clear of the rings and spokes.
    const int32_t ex = 62 + cosScaled(238, 33, 1.0), ey = 62 + sinScaled(238, 33, 1.0);
    frames(12);
    EXPECT_NE(pixel(ex, ey), 0x07E0);
    for (int32_t brightness = 255; brightness > 80; brightness -= 10) {
        frames(1);
        EXPECT_EQ(pixel(ex, ey), (brightness & 0xFC) << 3) << brightness;
    }
    frames(1);
    EXPECT_EQ(pixel(ex, ey), 0x02A0) << "a faded echo stays until the fan passes";
    // The next revolution detects it again at sweep 180, two degrees further anticlockwise.
    frames(36 - 31);
    EXPECT_EQ(pixel(62 + cosScaled(236, 33, 1.0), 62 + sinScaled(236, 33, 1.0)), 0x07E0);
    EXPECT_EQ(randomState(), 1u);
}

// --- DigitCounter, ToggleText, LED -------------------------------------------------------

TEST_F(InstrumentTest, DigitsFillConsecutiveCellsAndWrap) {
    struct Case {
        int32_t x, y, count;
        std::vector<std::pair<int32_t, int32_t>> cells;
    };
    const Case cases[] = {
        {10, 20, 4, {{10, 20}, {16, 20}, {22, 20}, {28, 20}}},
        {116, 0, 3, {{116, 0}, {122, 0}, {0, 8}}},
    };
    for (const Case& c : cases) {
        resetSystem();
        takeTrace();
        surface = Surface{};
        load("DigitCounter;" + std::to_string(c.x) + ";" + std::to_string(c.y) + ";" +
             std::to_string(c.count) + ";1;0\nSetBGColor;31\n");
        const std::vector<int32_t> v = randomValues(2 * c.count);
        frames(2); // the second frame's digits replace the first's
        std::vector<int32_t> digits;
        for (const int32_t value : v) digits.push_back(value % 10);
        EXPECT_EQ(printedNumbers(), digits);
        for (size_t i = 0; i < c.cells.size(); ++i) {
            const int32_t digit = v[c.cells.size() + i] % 10;
            EXPECT_TRUE(showsGlyph(c.cells[i].first, c.cells[i].second, 1,
                                   static_cast<unsigned char>('0' + digit), kWhite, kBlue));
        }
    }
}

TEST_F(InstrumentTest, DigitCounterWithoutDigitsOnlySetsTheTextState) {
    for (const int32_t count : {0, -5, INT32_MIN}) {
        resetSystem();
        takeTrace();
        load("DigitCounter;30;40;" + std::to_string(count) + ";3;0\n");
        frames(2);
        EXPECT_EQ(randomState(), 1u);
        EXPECT_TRUE(printedNumbers().empty());
        EXPECT_EQ(tft.textScaleX, 3);
        EXPECT_EQ(tft.cursorX, 30);
        EXPECT_EQ(tft.cursorY, 40);
    }
}

TEST_F(InstrumentTest, BlinkersAlternateTheirPhasesPerDueFrame) {
    // One letter per frame: '.' untouched, 'W' white text, 'R' lit red disc, 'B' blue,
    // which is the hidden text or the dark disc.
    struct Case {
        std::string line;
        int32_t sampleX, sampleY;
        std::string phases;
    };
    const Case cases[] = {
        {"LED;20;20;10;1", 20, 20, "BRBRBRBR"},     {"LED;20;20;10;0", 20, 20, "BRBRBRBR"},
        {"LED;20;20;10;3", 20, 20, ".BBBRRRB"},     {"ToggleText;0;0;A;1;1", 0, 2, "WBWBWBWB"},
        {"ToggleText;0;0;A;1;3", 0, 2, ".WWWBBBW"},
    };
    for (const Case& c : cases) {
        resetSystem();
        surface = Surface{};
        load(c.line + "\nSetBGColor;31\n");
        std::string seen;
        for (size_t i = 0; i < c.phases.size(); ++i) {
            frames(1);
            const int32_t p = pixel(c.sampleX, c.sampleY);
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
    for (int32_t x = 120; x < DISPLAY_SIZE; ++x)
        for (int32_t y = 0; y < 16; ++y) EXPECT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(InstrumentTest, EmptyToggleTextStillAlternates) {
    load("ToggleText;10;10;;2;0\n");
    frames(3);
    EXPECT_FALSE(object<ToggleText>(0).visible);
    EXPECT_EQ(paintedBox().right, -1) << "nothing visible";
}

// --- Extreme configuration values --------------------------------------------------------

TEST_F(InstrumentTest, ExtremeValuesDrawWithoutUndefinedBehaviour) {
    // Run under the sanitizers; each line must also finish at once, which it cannot if a
    // shape is walked pixel by pixel outside the display.
    const char* lines[] = {
        "GyroHorizonRect;2147483647;2147483647;2147483647;2147483647;0",
        "GyroHorizonRect;-2147483648;-2147483648;-2147483648;-2147483648;0",
        "GyroHorizonRect;2147483600;-100;2147483647;-2147483648;-1",
        "GyroHorizonRect;-10;-10;2147483647;2147483647;0",
        "Kompass;2147483647;-2147483648;2147483647;0",
        "Kompass;64;64;-2147483648;-2147483648",
        "RoundPointer;2147483647;2147483647;-2147483648;-2147483648;2147483647",
        "RoundPointer;64;64;2147483647;0;360",
        "Radar;-2147483648;2147483647;2147483647",
        "Radar;64;64;-2147483648",
        "DigitCounter;2147483647;2147483647;3;2147483647;0",
        "DigitCounter;120;120;30;-2147483648;0",
        "ToggleText;-2147483648;2147483647;HELLO;-2147483648;-2147483648",
        "ToggleText;100;100;HELLO WORLD;2147483647;0",
        "LED;2147483647;0;-2147483648;0",
        "LED;64;64;2147483647;0",
    };
    for (const char* line : lines) {
        resetSystem();
        load(std::string(line) + "\n");
        frames(6);
        EXPECT_EQ(objectCount, 1) << line;
    }
}

// --- Golden animations -------------------------------------------------------------------

constexpr const char* kGallery[] = {"tacho", "gyro_horizon_rect", "kompass",     "round_pointer",
                                    "radar", "digit_counter",     "toggle_text", "led"};
constexpr int32_t kShots = 5, kGap = 2;

// Five pictures of the gallery configuration, after frames 1, 7, 13, 19 and 25, side by side
// with a grey gap.
TEST_F(InstrumentTest, GalleryAnimationsMatchTheirGoldens) {
    for (const char* name : kGallery) {
        resetSystem();
        surface = Surface{};
        load(readWholeFile(sourcePath(std::string("examples/gallery/") + name + "/config.txt")));
        RgbImage strip;
        strip.width = kShots * DISPLAY_SIZE + (kShots - 1) * kGap;
        strip.height = DISPLAY_SIZE;
        strip.rgb.assign(static_cast<size_t>(strip.width) * strip.height * 3, 0x40);
        for (int32_t shot = 0; shot < kShots; ++shot) {
            frames(shot == 0 ? 1 : 6);
            const RgbImage picture = imageFromSurface(surface);
            for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
                for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                    strip.setPixel(shot * (DISPLAY_SIZE + kGap) + x, y, picture.pixel(x, y));
        }
        EXPECT_TRUE(matchesGolden(strip, std::string(name) + "-gallery")) << name;
    }
}

// The renderer, run on a gallery folder itself, ends on the last picture of its strip.
TEST_F(InstrumentTest, GalleryFoldersRenderWithTheCommandLineProgram) {
    for (const char* name : kGallery) {
        const std::string png = (folder / (std::string(name) + ".png")).string();
        const std::string command = std::string(ORVANTA_CLI_PATH) + " render " +
                                    sourcePath(std::string("examples/gallery/") + name) +
                                    " --frames 25 --png " + png + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        RgbImage rendered, strip;
        ASSERT_TRUE(readPng(png, &rendered));
        ASSERT_TRUE(
            readPng(sourcePath("tests/golden/" + std::string(name) + "-gallery.png"), &strip));
        ASSERT_EQ(rendered.width, DISPLAY_SIZE);
        const int32_t last = (kShots - 1) * (DISPLAY_SIZE + kGap);
        int32_t differing = 0;
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                differing += rendered.pixel(x, y) != strip.pixel(last + x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << name;
    }
}

} // namespace
} // namespace orvanta::test
