// Faults found by fuzzing and by the hostile-input corpus, one test per fault, each named
// after what went wrong.
#include <cstdint>
#include <string>

#include "core/device/device.h"
#include "core/display/surface.h"
#include "core/instruments/digit_counter.h"
#include "core/runtime/objects.h"
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

} // namespace
} // namespace orvanta::test
