#include "session/host_state.h"
#include "session/view.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/config/config_state.h"
#include "media/image.h"
#include "tests/support.h"

namespace orvanta {
namespace {

using test::SystemTest;

class HostStateTest : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        // Every pixel gets its own colour, x * 128 + y, so a swapped or shifted mapping
        // reads a different number.
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x)
                surface.pixels[y * DISPLAY_SIZE + x] = color565ToRgb(x * 128 + y);
    }
    static std::string line(const Overlay& o, int i) { return std::string(o.text[i], o.length[i]); }
    HostState host;
};

TEST_F(HostStateTest, CursorMapsToDisplayPixelWithTruncation) {
    struct Case {
        int32_t w, h, zoom, px, py;
        int32_t originX, originY;
        bool inside;
        int32_t x, y;
    };
    const Case cases[] = {
        {480, 400, 2, 112, 72, 112, 72, true, 0, 0},
        {480, 400, 2, 367, 327, 112, 72, true, 127, 127},
        {480, 400, 2, 368, 200, 112, 72, false, 0, 0},
        {480, 400, 2, 111, 100, 112, 72, true, 0, 14},   // -1 / 2 truncates to 0
        {480, 400, 2, 110, 100, 112, 72, false, 0, 0},   // -2 / 2 is -1
        {480, 400, 2, 200, 71, 112, 72, true, 44, 0},    // the band above the picture
        {481, 401, 3, 48 + 383, 8, 48, 8, true, 127, 0}, // odd sizes truncate
        {481, 401, 3, 48 + 384, 8, 48, 8, false, 0, 0},
        {100, 80, 4, 0, 0, -206, -216, true, 51, 54}, // smaller than the picture
        {100, 80, 4, 99, 79, -206, -216, true, 76, 73},
        {500, 475, 1, -5000, 30, 186, 173, false, 0, 0}, // cursor far outside the window
        {500, 475, 1, INT32_MIN, INT32_MAX, 186, 173, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.w << "x" << c.h << " zoom " << c.zoom << " at " << c.px << "," << c.py);
        const PicturePlacement p = placePicture(c.w, c.h, c.zoom);
        EXPECT_EQ(p.originX, c.originX);
        EXPECT_EQ(p.originY, c.originY);
        EXPECT_EQ(p.size, 128 * c.zoom);
        // Without a read-back colour the band left of and above the picture is black.
        const CursorReading r = readCursor(surface, p, c.zoom, c.px, c.py, std::nullopt);
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, c.y);
        const bool onPicture = c.px >= c.originX && c.py >= c.originY;
        EXPECT_EQ(r.colour, c.inside && onPicture ? c.x * 128 + c.y : 0);
        // What the window shows is reported wherever the point maps onto the display.
        const CursorReading shown = readCursor(surface, p, c.zoom, c.px, c.py, 0x00FF00);
        EXPECT_EQ(shown.colour, c.inside ? 0x07E0 : 0);
    }
}

TEST_F(HostStateTest, ZoomCommandsClearEveryTimeAndIgnoreOtherValues) {
    EXPECT_EQ(host.zoomFactor, 1);
    EXPECT_EQ(host.checkedZoom, 0); // no item is checked at start
    EXPECT_FALSE(host.clearPending);

    chooseZoom(host, 3);
    EXPECT_EQ(host.zoomFactor, 3);
    EXPECT_EQ(host.checkedZoom, 3);
    EXPECT_TRUE(host.clearPending);

    host.clearPending = false; // as the paint that filled the window does
    chooseZoom(host, 3);
    EXPECT_TRUE(host.clearPending);
    EXPECT_EQ(host.checkedZoom, 3);

    host.clearPending = false;
    for (int32_t bad : {0, 5, -1, INT32_MIN}) chooseZoom(host, bad);
    EXPECT_EQ(host.zoomFactor, 3);
    EXPECT_FALSE(host.clearPending);
}

TEST_F(HostStateTest, LoopHoldsTheCurrentFileAndRestoresTheSuccessor) {
    copyConfigName(config.thisConfigName, "first.txt");
    copyConfigName(config.nextConfigName, "second.txt");

    toggleLoop(host, config);
    EXPECT_TRUE(host.loopChecked);
    EXPECT_STREQ(host.loopConfigName, "second.txt");
    holdLoopedConfig(host, config);
    EXPECT_STREQ(config.nextConfigName, "first.txt");
    Overlay o = formatOverlay(host, config, {});
    EXPECT_EQ(line(o, 2),
              "This config-file: ... looping on ...first.txt           " + std::string(17, ' '));
    EXPECT_EQ(line(o, 3), "Next config-file: first.txt           ");

    // A load while looping may name another successor; the hold overrides it every paint.
    copyConfigName(config.nextConfigName, "third.txt");
    holdLoopedConfig(host, config);
    EXPECT_STREQ(config.nextConfigName, "first.txt");

    toggleLoop(host, config);
    EXPECT_FALSE(host.loopChecked);
    EXPECT_STREQ(config.nextConfigName, "second.txt");
    EXPECT_STREQ(host.loopConfigName, "");
    holdLoopedConfig(host, config);
    EXPECT_STREQ(config.nextConfigName, "second.txt");
}

TEST_F(HostStateTest, LoopWithEmptySuccessorIsCheckedButHoldsNothing) {
    copyConfigName(config.thisConfigName, "first.txt");
    copyConfigName(config.nextConfigName, "");

    toggleLoop(host, config);
    EXPECT_TRUE(host.loopChecked);
    EXPECT_STREQ(host.loopConfigName, "");
    holdLoopedConfig(host, config);
    EXPECT_STREQ(config.nextConfigName, "");
    EXPECT_EQ(line(formatOverlay(host, config, {}), 2),
              "This config-file: first.txt           " + std::string(17, ' '));

    // The next toggle follows the check mark: it switches off and copies the empty name back,
    // even though a later load named a successor meanwhile.
    copyConfigName(config.nextConfigName, "later.txt");
    toggleLoop(host, config);
    EXPECT_FALSE(host.loopChecked);
    EXPECT_STREQ(config.nextConfigName, "");
}

TEST_F(HostStateTest, OverlayLinesAreFormattedExactly) {
    struct Case {
        CursorReading cursor;
        const char* thisName;
        const char* nextName;
        std::string expected[4];
    };
    const std::string blanks17(17, ' ');
    const Case cases[] = {
        {{0, 0, 0},
         "",
         "config.txt",
         {"X: 000, Y: 000", "Color: 00000", "This config-file: " + std::string(20, ' ') + blanks17,
          "Next config-file: config.txt          "}},
        {{5, 127, 65535},
         "abcdefghijklmnopqrs", // the longest name a buffer holds
         "x",
         {"X: 005, Y: 127", "Color: 65535", "This config-file: abcdefghijklmnopqrs " + blanks17,
          "Next config-file: x                   "}},
        {{42, 7, 31},
         "config.txt",
         "",
         {"X: 042, Y: 007", "Color: 00031", "This config-file: config.txt          " + blanks17,
          "Next config-file: " + std::string(20, ' ')}},
    };
    for (const Case& c : cases) {
        copyConfigName(config.thisConfigName, c.thisName);
        copyConfigName(config.nextConfigName, c.nextName);
        const Overlay o = formatOverlay(host, config, c.cursor);
        for (int i = 0; i < kOverlayLines; ++i) {
            EXPECT_EQ(line(o, i), c.expected[i]);
            EXPECT_EQ(static_cast<std::size_t>(o.length[i]), std::strlen(o.text[i]));
        }
    }
}

TEST_F(HostStateTest, EnlargedPictureMatchesTheSurfaceBlockByBlock) {
    for (int32_t zoom = 1; zoom <= 4; ++zoom) {
        const RgbImage expected = imageFromSurface(surface, zoom);
        std::vector<uint8_t> rgb(expected.rgb.size(), 0xAB);
        enlargeSurface(surface, zoom, rgb.data());
        EXPECT_EQ(rgb, expected.rgb) << "zoom " << zoom;
    }
}

} // namespace
} // namespace orvanta
