// The geometry table against the drawn pixels: each instrument alone on a black panel,
// run for many frames with provenance on, must own no pixel outside the box the table
// gives, and where the table calls the box tight the pixels must reach its edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/config/geometry.h"
#include "core/config/keywords.h"
#include "core/syntax/fields.h"
#include "tests/support.h"

namespace orvanta {
namespace {

class DesignPixelsTest : public test::SystemTest {
  protected:
    DesignPixelsTest() { device.recordOwners(); }
};

bool inside(const ObjectBox& box, int64_t x, int64_t y) {
    return std::any_of(box.parts.begin(), box.parts.end(),
                       [&](const PanelRect& part) { return part.holds(x, y); });
}

TEST_F(DesignPixelsTest, EveryInstrumentDrawsInsideItsBox) {
    const char* lines[] = {
        "Tacho;10;20;30;60;0",
        "Tacho;100;90;40;50;3",
        "Tacho;5;5;1;18;1",
        "GyroHorizonRect;10;10;64;48;0",
        "GyroHorizonRect;20;30;60;40;2",
        "GyroHorizonRect;0;0;128;128;3",
        "GyroHorizonRect;30;30;40;12;0",
        "GyroHorizonRect;40;40;2;30;0",
        "LED;64;64;20;0",
        "LED;5;5;9;2",
        "LED;120;64;31;0",
        "Kompass;64;64;100;0",
        "Kompass;64;64;170;0",
        "Kompass;120;60;30;0",
        "Kompass;20;20;11;2",
        "RoundPointer;64;64;100;0;270",
        "RoundPointer;30;30;21;-90;90",
        "RoundPointer;64;64;5;0;360",
        "Radar;64;64;100",
        "Radar;64;64;11",
        "Radar;30;30;31",
        "Radar;100;100;60",
        "DigitCounter;10;20;4;1;0",
        "DigitCounter;100;10;8;2;0",
        "DigitCounter;0;100;3;3;1",
        "ToggleText;100;10;HELLO WORLD;1;0",
        "ToggleText;60;60;ABCDEFGHIJKLMNOPQRSTUVWXYZ;2;0",
        "ToggleText;130;5;X;1;0",
        "ToggleText;5;5;A;4;2",
        // Sizes the device takes as they come: negative ones draw mirrored or not at all.
        "Tacho;60;60;-20;-30;0",
        "GyroHorizonRect;50;50;-20;-30;0",
        "LED;64;64;-20;0",
        "Kompass;64;64;-50;0",
        "RoundPointer;64;64;-40;0;90",
        "Radar;64;64;-40",
        "DigitCounter;64;64;3;-1;0",
        "ToggleText;64;64;AB;-2;0",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        powerOn();
        device.recordOwners();
        writeFile("config.txt", std::string(line) + "\n");
        const FieldTable fields(line);
        const GeometrySpec* geometry = geometryOf(*findKeyword(fields.field(0)));
        ASSERT_NE(geometry, nullptr);
        const ObjectBox box = objectBox(*geometry, fields);
        PanelRect reached{DISPLAY_SIZE, DISPLAY_SIZE, -1, -1};
        int32_t outside = 0;
        std::string first;
        // Thirty frames: the radar's echo first shows in the thirteenth, and an interval of
        // 3 still gets ten due frames.
        for (int frame = 0; frame < 30; ++frame) {
            clock.advance(110);
            AllMandDObjectsRun(device);
            for (const PixelPosition& p : device.provenance.pixelsOf("config.txt", 1)) {
                reached = {std::min<int64_t>(reached.left, p.x),
                           std::min<int64_t>(reached.top, p.y),
                           std::max<int64_t>(reached.right, p.x + 1),
                           std::max<int64_t>(reached.bottom, p.y + 1)};
                if (inside(box, p.x, p.y)) continue;
                if (outside++ == 0)
                    first = std::to_string(p.x) + "," + std::to_string(p.y) + " in frame " +
                            std::to_string(frame);
            }
        }
        EXPECT_EQ(outside, 0) << "first outside the box: " << first;
        if (!box.tight) continue;
        ASSERT_LT(reached.left, reached.right) << "the line drew nothing";
        const PanelRect onPanel{std::max<int64_t>(box.bounds.left, 0),
                                std::max<int64_t>(box.bounds.top, 0),
                                std::min<int64_t>(box.bounds.right, DISPLAY_SIZE),
                                std::min<int64_t>(box.bounds.bottom, DISPLAY_SIZE)};
        EXPECT_EQ(reached, onPanel) << "reached " << reached.left << "," << reached.top << " .. "
                                    << reached.right << "," << reached.bottom;
    }
}

// The box is not the whole story for the picture line, which owns every pixel it clears,
// so the table's picture box is the picture's own size and the test above leaves it out.
TEST(DesignGeometry, EveryDrawingKeywordHasOneEntryAndNoCommandHasOne) {
    int32_t drawing = 0;
    for (int32_t i = 0; i < keywordCount(); ++i) {
        const KeywordSpec& spec = keywordTable()[i];
        const bool draws =
            spec.kind == KeywordKind::Instrument || spec.kind == KeywordKind::Picture;
        EXPECT_EQ(geometryOf(spec) != nullptr, draws) << spec.name;
        drawing += draws ? 1 : 0;
    }
    EXPECT_EQ(drawing, geometryCount());
}

} // namespace
} // namespace orvanta
