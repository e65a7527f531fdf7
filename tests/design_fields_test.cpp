// The property panel's questions of the language service: the fields of a line as the
// keyword table describes them, and the edits that write one field or one colour, byte for
// byte, or the reason they are refused.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "language/overlay_folder.h"
#include "language/service.h"

namespace orvanta::test::design_fields {
namespace {

using language::ColourCommand;
using language::DesignEdit;
using language::Workspace;

const std::string kName = "config.txt";

class DesignFieldsTest : public ::testing::Test {
  protected:
    struct Case {
        std::string before;
        std::function<DesignEdit(Workspace&)> edit;
        std::string after; // the text after the edit, or a part of the refusal
        bool refused = false;
    };

    void expectAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.before);
            workspace.setText(kName, c.before);
            const DesignEdit edit = c.edit(workspace);
            if (c.refused) {
                EXPECT_NE(edit.refusal.find(c.after), std::string::npos) << edit.refusal;
                EXPECT_TRUE(edit.edits.empty());
                continue;
            }
            ASSERT_TRUE(edit.done()) << edit.refusal;
            EXPECT_EQ(language::applyEdits(c.before, edit.edits), c.after);
            EXPECT_TRUE(edit.warning.empty()) << edit.warning;
        }
    }

    language::OverlayFolder files;
    Workspace workspace{files};
};

auto setField(int32_t line, int32_t field, std::string value) {
    return [=](Workspace& w) { return w.setField(kName, line, field, value); };
}
auto colour(int32_t line, int32_t rgb565) {
    return [=](Workspace& w) { return w.setColour(kName, line, ColourCommand::SetColor, rgb565); };
}
auto background(int32_t line, int32_t rgb565) {
    return
        [=](Workspace& w) { return w.setColour(kName, line, ColourCommand::SetBGColor, rgb565); };
}

std::string leds(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "LED;1;1;4;0\n";
    return text;
}

TEST_F(DesignFieldsTest, FieldsComeFromTheKeywordTableWithTheLinesOwnTextAndRange) {
    workspace.setText(kName, "# top\r\nToggleText; 12px;3;HELLO\r\nSetColor;2016\r\nimage;a.bmp");
    const language::DesignFields text = workspace.fields(kName, 1);
    EXPECT_EQ(text.keyword, "ToggleText");
    ASSERT_EQ(text.fields.size(), 5u);
    const language::DesignField& x = text.fields[0];
    EXPECT_EQ(x.name, "x");
    EXPECT_EQ(x.unit, "pixels");
    EXPECT_NE(x.meaning.find("column"), std::string::npos);
    EXPECT_EQ(x.kind, "number");
    EXPECT_EQ(x.value, " 12px");
    EXPECT_EQ(x.range, (language::Range{{1, 11}, {1, 16}}));
    // Hover reads the same table.
    const std::optional<language::Hover> hover = workspace.hover(kName, {1, 13});
    ASSERT_TRUE(hover.has_value());
    EXPECT_NE(hover->markdown.find("**x** (pixels), field 1 of `ToggleText`: " + x.meaning),
              std::string::npos)
        << hover->markdown;
    EXPECT_EQ(text.fields[2].kind, "text");
    EXPECT_EQ(text.fields[2].value, "HELLO");
    EXPECT_TRUE(text.fields[2].present);
    EXPECT_EQ(text.fields[3].unit, "times the 6 × 8 pixel cell");
    // A field the line lacks: an empty range at the line's end.
    EXPECT_FALSE(text.fields[4].present);
    EXPECT_EQ(text.fields[4].range, (language::Range{{1, 24}, {1, 24}}));
    EXPECT_EQ(text.fields[4].unit, "frames");

    // The colour line sets the colour; the background is the instrument's own.
    ASSERT_EQ(text.colours.size(), 2u);
    EXPECT_EQ(text.colours[0].line, 2);
    EXPECT_EQ(text.colours[0].rgb565, 2016);
    EXPECT_EQ(text.colours[1].line, -1);
    EXPECT_EQ(text.colours[1].rgb565, 0);

    const language::DesignFields picture = workspace.fields(kName, 3);
    ASSERT_EQ(picture.fields.size(), 1u);
    EXPECT_EQ(picture.fields[0].kind, "picture");
    EXPECT_TRUE(picture.colours.empty());
    EXPECT_TRUE(workspace.fields(kName, 0).keyword.empty());
    EXPECT_TRUE(workspace.fields(kName, 9).fields.empty());
}

TEST_F(DesignFieldsTest, ColoursShowWhatTheDeviceShowsAndSayWhenTheyAreFixed) {
    workspace.setText(kName, "LED;5;5;4;0\nSetColor;1\n# x\nSetColor;70000\nRadar;64;64;90\n" +
                                 std::string("GyroHorizonRect;0;0;20;20;0\n"));
    const language::DesignFields led = workspace.fields(kName, 0);
    ASSERT_EQ(led.colours.size(), 2u);
    EXPECT_EQ(led.colours[0].line, 3); // the last colour line wins
    EXPECT_EQ(led.colours[0].rgb565, 70000 & 0xFFFF);
    EXPECT_TRUE(led.colours[0].fixed.empty());
    const language::DesignFields radar = workspace.fields(kName, 4);
    EXPECT_NE(radar.colours[0].fixed.find("green"), std::string::npos);
    const language::DesignFields gyro = workspace.fields(kName, 5);
    EXPECT_EQ(gyro.colours[0].rgb565, 0xF800); // the instrument's own colour
    EXPECT_TRUE(gyro.colours[0].fixed.empty());
    EXPECT_NE(gyro.colours[1].fixed.find("background"), std::string::npos);
}

TEST_F(DesignFieldsTest, SetFieldWritesOnlyTheNumbersSignAndDigits) {
    expectAll({
        {"Tacho; 12px;20;30;40;0\n", setField(0, 1, "-7"), "Tacho; -7px;20;30;40;0\n"},
        {"LED;+5;5;4;0\r\n# kept\r\n", setField(0, 3, " 12 "), "LED;+5;5;12;0\r\n# kept\r\n"},
        {"Kompass;abc;64;60;0\n", setField(0, 1, "10"), "Kompass;10;64;60;0\n"},
        {"LED;10", setField(0, 4, "3"), "LED;10;0;0;3"},
        {"LED;10;", setField(0, 2, "8"), "LED;10;8"},
        {"LED;5;5;4;0\n", setField(0, 3, "4"), "LED;5;5;4;0\n"},
        {"LED;5;5;4;0\n", setField(0, 3, "2147483648"), "outside the 32-bit", true},
        {"LED;5;5;4;0\n", setField(0, 3, "-99999999999999999999"), "outside the 32-bit", true},
        {"LED;5;5;4;0\n", setField(0, 3, "12px"), "whole number", true},
        {"LED;5;5;4;0\n", setField(0, 3, ""), "whole number", true},
        {"LED;5;5;4;0\n", setField(0, 5, "1"), "no field 5", true},
        {"# LED;5;5;4;0\n", setField(0, 1, "1"), "no keyword", true},
        {"LED;5;5;4;0\n", setField(3, 1, "1"), "not in the file", true},
    });
}

TEST_F(DesignFieldsTest, SetFieldReplacesTextWholeAndRefusesWhatWouldSplitTheLine) {
    expectAll({
        {"ToggleText;1;2;HI;1;0\n", setField(0, 3, "GEAR DOWN"), "ToggleText;1;2;GEAR DOWN;1;0\n"},
        {"ToggleText;1;2", setField(0, 3, "ON"), "ToggleText;1;2;ON"},
        {"ToggleText;1\n", setField(0, 3, "ON"), "ToggleText;1;0;ON\n"},
        {"image;a.bmp;\n", setField(0, 1, "b.bmp"), "image;b.bmp\n"},
        {"ToggleText;1;2;HI;1;0\n", setField(0, 3, "A;B"), "cannot hold", true},
        {"ToggleText;1;2;HI;1;0\n", setField(0, 3, "A\nB"), "cannot hold", true},
    });
}

TEST_F(DesignFieldsTest, SetColourEditsTheActingLineOrInsertsOneRightAfterTheObject) {
    expectAll({
        // The last SetColor acting on the object is the one that counts, across other lines.
        {"LED;5;5;4;0\nSetColor;1\n# n\nSetColor; 31x\nTacho;0;0;5;5;0\n", colour(0, 2016),
         "LED;5;5;4;0\nSetColor;1\n# n\nSetColor; 2016x\nTacho;0;0;5;5;0\n"},
        {"LED;5;5;4;0\nSetColor;1\nTacho;0;0;5;5;0\nSetBGColor;3\n", background(0, 9),
         "LED;5;5;4;0\nSetBGColor;9\nSetColor;1\nTacho;0;0;5;5;0\nSetBGColor;3\n"},
        {"LED;5;5;4;0\r\nTacho;0;0;5;5;0", colour(1, 7),
         "LED;5;5;4;0\r\nTacho;0;0;5;5;0\r\nSetColor;7"},
        {"LED;5;5;4;0\r\nTacho;0;0;5;5;0", colour(0, 7),
         "LED;5;5;4;0\r\nSetColor;7\r\nTacho;0;0;5;5;0"},
        {"LED;5;5;4;0\nSetColor\n", colour(0, 65535), "LED;5;5;4;0\nSetColor;65535\n"},
        {"Radar;64;64;90\n", colour(0, 1), "fixed shades of green", true},
        {"GyroHorizonRect;0;0;9;9;0\n", background(0, 1), "no background", true},
        {"image;a.bmp\n", colour(0, 1), "holds no instrument", true},
        {"SetColor;1\n", colour(0, 1), "holds no instrument", true},
        {leds(11), colour(10, 1), "past the tenth", true},
    });
}

} // namespace
} // namespace orvanta::test::design_fields
