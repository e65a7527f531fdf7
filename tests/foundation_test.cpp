// The spine of the simulator: colours, surface, trace formatting, object list, due rule
// and the shared random source.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/display/surface.h"
#include "core/runtime/objects.h"
#include "core/trace/trace.h"
#include "tests/support.h"

namespace orvanta {
namespace {

using test::SystemTest;

TEST(ColourModel, EveryRgb565ValueSurvivesTheRoundTrip) {
    for (int32_t c = 0; c <= 0xFFFF; ++c) ASSERT_EQ(rgbToColor565(color565ToRgb(c)), c) << c;
}

TEST(ColourModel, ChannelsExpandByScalingNotByBitReplication) {
    struct Case {
        int32_t colour;
        uint32_t r, g, b;
    };
    const Case cases[] = {
        {1 << 11, 8, 0, 0},    {4 << 11, 32, 0, 0},      {5 << 11, 41, 0, 0},
        {15 << 11, 123, 0, 0}, {16 << 11, 131, 0, 0},    {30 << 11, 246, 0, 0},
        {31, 0, 0, 255},       {1 << 5, 0, 4, 0},        {20 << 5, 0, 80, 0},
        {21 << 5, 0, 85, 0},   {32 << 5, 0, 129, 0},     {42 << 5, 0, 170, 0},
        {62 << 5, 0, 250, 0},  {0x0400, 0, 129, 0},      {0x965C, 148, 202, 230},
        {-1, 255, 255, 255},   {0x1FFFF, 255, 255, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(color565ToRgb(c.colour), c.r | c.g << 8 | c.b << 16) << c.colour;
    EXPECT_EQ(rgbToColor565(128 | 128 << 8 | 128 << 16), 0x8410);
    EXPECT_EQ(rgbToColor565(7 | 3 << 8 | 7 << 16), 0);
    EXPECT_EQ(rgbToColor565(0xFFFFFFFFu), 0xFFFF);
}

TEST_F(SystemTest, PixelOperationsClipAndShareTheCursor) {
    plot(display, 128, 0, 0xFFFF);
    plot(display, 0, 128, 0xFFFF);
    plot(display, -1, 5, 0xFFFF);
    plot(display, INT32_MIN, INT32_MAX, 0xFFFF);
    for (Rgb24 p : surface.pixels) ASSERT_EQ(p, 0u);

    setPixelWindow(display, 10, 20, 5, 5);
    EXPECT_EQ(tft.cursorX, 10);
    EXPECT_EQ(tft.cursorY, 20);
    pushPixel(display, 0xF800);
    pushPixel(display, 0x001F);
    EXPECT_EQ(pixel(10, 20), 0x001F);
    EXPECT_EQ(pixel(11, 20), 0);

    clearDisplay(display, 0xF800);
    for (Rgb24 p : surface.pixels) ASSERT_EQ(rgbToColor565(p), 0xF800);
    const Tft before = tft;
    rotateDisplay(display, 3);
    EXPECT_EQ(tft.cursorX, before.cursorX);
    EXPECT_EQ(pixel(64, 64), 0xF800);
}

TEST_F(SystemTest, TraceFormatsSigned32BitDecimalsAndPassesEachPieceOnAlone) {
    std::string pieces;
    device.trace.setSink(
        [](void* context, const char* data, std::size_t length) {
            static_cast<std::string*>(context)->append("[").append(data, length).append("]");
        },
        &pieces);
    traceIntLine(device.trace, -1);
    traceIntPair(device.trace, 54, 10);
    traceInt(device.trace, INT32_MIN);
    traceLineEnd(device.trace);
    traceIntLine(device.trace, static_cast<int32_t>(3000000000u)); // a clock value past 2^31
    traceError(device.trace, "pf_open");
    traceLine(device.trace, "");
    EXPECT_EQ(pieces, "[-1][\n][54 10][\n][-2147483648][\n][-1294967296][\n][Error: ][pf_open][\n]"
                      "[][\n]");
}

TEST(RandomSource, StartsWithTheDeviceSequenceAndSkipsAsItsCallsWould) {
    RandomSource random;
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169};
    for (int32_t value : expected) EXPECT_EQ(random.rand(), value);
    for (int i = 0; i < 100000; ++i) ASSERT_LE(static_cast<uint32_t>(random.rand()), 32767u);
    RandomSource skipped;
    skipped.skip(100005);
    EXPECT_EQ(skipped.state(), random.state());
}

struct Probe final : MandDObject {
    explicit Probe(int* destroyed, int32_t every = 0) : destroyed_(destroyed) { interval = every; }
    ~Probe() override { ++*destroyed_; }
    void run(FrameContext&) override {}
    int* destroyed_;
};

TEST_F(SystemTest, ObjectListHoldsTenAndDropsTheRestSilently) {
    int destroyed = 0;
    EXPECT_EQ(lastObject(device.objectList), nullptr);
    for (int i = 0; i < 11; ++i)
        AddMandDObject(device.objectList, device.trace, std::make_unique<Probe>(&destroyed));
    std::string expected;
    for (int i = 1; i <= 10; ++i) expected += "AddMandDObject " + std::to_string(i) + "\n";
    EXPECT_EQ(trace(), expected);
    EXPECT_EQ(device.objectList.objectCount, 10);
    EXPECT_EQ(destroyed, 1) << "the eleventh object is destroyed at once";
    EXPECT_EQ(lastObject(device.objectList), device.objectList.slots[9].get());
    AddMandDObject(device.objectList, device.trace, nullptr);
    EXPECT_EQ(device.objectList.objectCount, 10);
    deleteAllObjects(device.objectList);
    EXPECT_EQ(destroyed, 11);
    EXPECT_EQ(device.objectList.objectCount, 0);
    EXPECT_EQ(lastObject(device.objectList), nullptr);
}

TEST(DueRule, DividesTheFrameCounterByTheInterval) {
    int destroyed = 0;
    struct Case {
        int32_t interval, counter;
        bool due;
    };
    const Case cases[] = {
        {0, -1, true},    {1, -1, true},          {-1, -1, true},       {2, -1, false},
        {2, 0, true},     {2, 1, false},          {-2, 4, true},        {-3, 9999, true},
        {3, 9998, false}, {INT32_MIN, -1, false}, {INT32_MIN, 0, true}, {INT32_MAX, 9999, false},
        {10000, 0, true}, {7, 9999, false},
    };
    for (const Case& c : cases) {
        Probe probe(&destroyed, c.interval);
        EXPECT_EQ(probe.isDue(c.counter), c.due)
            << "interval " << c.interval << " counter " << c.counter;
    }
}

} // namespace
} // namespace orvanta
