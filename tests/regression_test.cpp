// Faults found by fuzzing and by the hostile-input corpus, one test per fault, each named
// after what went wrong.
#include <cstdint>
#include <string>

#include "core/device/device.h"
#include "core/display/surface.h"
#include "core/instruments/digit_counter.h"
#include "core/runtime/objects.h"
#include "core/runtime/random.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

class Regression : public SystemTest {
  protected:
    int32_t count(const std::string& what) const {
        int32_t n = 0;
        for (auto at = trace().find(what); at != std::string::npos; at = trace().find(what, at + 1))
            ++n;
        return n;
    }
};

// A digit count near 2^31 kept the first frame printing for hours. The counter now stops
// after the digits that can reach the surface, a counter that fills the surface still
// shows every cell, and the random values of the digits left out are still used up.
TEST_F(Regression, DigitCounterWithCountNearInt32MaxFinishesItsFrame) {
    writeFile("config.txt", "DigitCounter;0;0;2147483647;1;0\nSetBGColor;31\n");
    AllMandDObjectsRun(device);
    EXPECT_EQ(count("tft.print: "), DigitCounter::kMaxDigitsPerRun);
    // 21 cells of 6 pixels per row and 16 rows of 8: the last cell's background is blue.
    EXPECT_EQ(pixel(125, 127), 31);
    EXPECT_EQ(tft.cursorX, (DigitCounter::kMaxDigitsPerRun % 21) * 6);

    RandomSource skipped;
    skipped.skip(2147483647u);
    EXPECT_EQ(device.random.state(), skipped.state());
}

// A horizon with a height of -2 or less was kept still as if half its height were zero, so
// the instruments after it read other random values than on the device. Only heights -1, 0
// and 1 leave no range to draw targets from.
TEST_F(Regression, NegativeHorizonHeightsKeptTheHorizonStillAndShiftedLaterReadings) {
    const auto secondFrameDigits = [this](const std::string& height) {
        powerOn();
        writeFile("config.txt",
                  "GyroHorizonRect;10;100;64;" + height + ";0\nDigitCounter;0;0;4;1;0\n");
        AllMandDObjectsRun(device);
        takeTrace();
        AllMandDObjectsRun(device);
        std::string digits;
        const std::string t = takeTrace();
        for (auto at = t.find("tft.print: "); at != std::string::npos;
             at = t.find("tft.print: ", at + 1))
            digits += t[at + 11];
        return digits;
    };
    // The digits of the random values from `first` on, as the DigitCounter prints them.
    const auto valuesFrom = [](int first) {
        RandomSource random;
        random.skip(static_cast<uint64_t>(first));
        std::string digits;
        for (int i = 0; i < 4; ++i) digits += static_cast<char>('0' + random.rand() % 10);
        return digits;
    };
    // The first frame moves both ends without a draw; the second draws both targets.
    EXPECT_EQ(secondFrameDigits("-40"), valuesFrom(4 + 2));
    EXPECT_EQ(secondFrameDigits("48"), valuesFrom(4 + 2));
    for (const char* still : {"-1", "0", "1"}) EXPECT_EQ(secondFrameDigits(still), valuesFrom(4));
}

} // namespace
} // namespace orvanta::test
