// The design questions of the language service: for each manipulation a table of (file,
// edit) and the file's bytes after the edit, byte for byte, or the reason it is refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "language/overlay_folder.h"
#include "language/service.h"
#include "tests/bmp_builder.h"

namespace orvanta {
namespace {

using language::DesignEdit;
using language::Workspace;

class DesignTest : public ::testing::Test {
  protected:
    DesignTest() {
        test::BmpBuilder picture;
        picture.width = 40;
        picture.height = -30;
        files.put("pic.bmp", picture.build());
    }

    struct Case {
        std::string before;
        std::function<DesignEdit(Workspace&)> edit;
        std::string after; // the text after the edit, or a part of the refusal
        bool refused = false;
        bool warns = false;
    };

    void expectAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.before);
            workspace.setText("config.txt", c.before);
            const DesignEdit edit = c.edit(workspace);
            if (c.refused) {
                EXPECT_NE(edit.refusal.find(c.after), std::string::npos) << edit.refusal;
                EXPECT_TRUE(edit.edits.empty());
                continue;
            }
            ASSERT_TRUE(edit.done()) << edit.refusal;
            EXPECT_EQ(language::applyEdits(c.before, edit.edits), c.after);
            EXPECT_EQ(!edit.warning.empty(), c.warns) << edit.warning;
        }
    }

    language::OverlayFolder files;
    Workspace workspace{files};
};

const std::string kName = "config.txt";

auto move(std::vector<int32_t> lines, int32_t dx, int32_t dy) {
    return [=](Workspace& w) { return w.move(kName, lines, dx, dy); };
}
auto resize(int32_t line, std::string handle, int32_t dx, int32_t dy) {
    return [=](Workspace& w) { return w.resize(kName, line, handle, dx, dy); };
}
auto insert(std::string keyword, int32_t x, int32_t y) {
    return [=](Workspace& w) { return w.insert(kName, keyword, x, y); };
}
auto remove(std::vector<int32_t> lines) {
    return [=](Workspace& w) { return w.remove(kName, lines); };
}
auto duplicate(std::vector<int32_t> lines) {
    return [=](Workspace& w) { return w.duplicate(kName, lines); };
}

std::string leds(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "LED;" + std::to_string(10 * i) + ";5;4;0\n";
    return text;
}

TEST_F(DesignTest, MovesAndResizesChangeOnlyTheSignAndDigitsOfTheirNumbers) {
    expectAll({
        {"Tacho; 12px;20;30;40;0\n", move({0}, 10, 5), "Tacho; 22px;25;30;40;0\n"},
        {"LED;-5;+7;10;0\n", move({0}, 5, -10), "LED;0;-3;10;0\n"},
        {"Kompass;abc;64;60;0\n", move({0}, 10, 0), "Kompass;10;64;60;0\n"},
        {"LED;10\n", move({0}, 0, 5), "LED;10;5\n"},
        {"LED;10;\n", move({0}, 1, 5), "LED;11;5\n"},
        {"DigitCounter\n", move({0}, 0, 7), "DigitCounter;0;7\n"},
        {"LED;2147483647;5;10;0\n", move({0}, 1, 0), "outside the 32-bit", true},
        {"LED;4294967306;5;10;0\n", move({0}, 1, 0), "LED;11;5;10;0\n"},
        {"# panel\r\nLED;10;10;8;0\r\nnot a keyword\r\nTacho;1;2;3;4;0", move({1, 3}, 3, 4),
         "# panel\r\nLED;13;14;8;0\r\nnot a keyword\r\nTacho;4;6;3;4;0"},
        {"image;pic.bmp\nLED;1;1;4;0\n", move({0, 1}, 2, 2), "image;pic.bmp\nLED;3;3;4;0\n"},
        {"SetColor;5\n", move({0}, 1, 1), "draws no object", true},
        {"Tacho;10;20;30;40;0\n", resize(0, "se", 5, -3), "Tacho;10;20;35;37;0\n"},
        {"Tacho;10;20;30;40;0\n", resize(0, "nw", 2, 3), "Tacho;12;23;28;37;0\n"},
        {"GyroHorizonRect;0;0;64;48;2\n", resize(0, "e", -4, 9), "GyroHorizonRect;0;0;60;48;2\n"},
        {"LED;64;64;9;0\n", resize(0, "e", 3, 0), "LED;64;64;15;0\n"},
        {"Kompass;64;64;61;0\n", resize(0, "ne", 4, -2), "Kompass;64;64;67;0\n"},
        {"Radar;64;64;20\n", resize(0, "w", 30, 0), "Radar;64;64;0\n"},
        {"ToggleText;0;0;HI;1;0\n", resize(0, "se", 0, 16), "ToggleText;0;0;HI;3;0\n"},
        {"DigitCounter;0;0;4;2;0\n", resize(0, "e", -30, 0), "DigitCounter;0;0;4;1;0\n"},
        {"ToggleText;0;0;HI;1;0\n", resize(0, "nw", 0, 16), "no handle", true},
        {"image;pic.bmp\n", resize(0, "se", 3, 3), "no handle", true},
    });
}

TEST_F(DesignTest, InsertGoesAfterTheLastObjectsColourLinesAndKeepsTheFilesLineEnds) {
    expectAll({
        {"LED;1;1;4;0\nSetColor;31\n# note\nSetBGColor;0\nLoadConfig;b.txt;5\n",
         insert("LED", 64, 64),
         "LED;1;1;4;0\nSetColor;31\n# note\nSetBGColor;0\nLED;64;64;10;0\nLoadConfig;b.txt;5\n"},
        {"Tacho;0;0;10;20;0", insert("LED", 20, 20), "Tacho;0;0;10;20;0\nLED;20;20;10;0"},
        {"# x\r\nTacho;0;0;10;20;0", insert("Radar", 64, 64),
         "# x\r\nTacho;0;0;10;20;0\r\nRadar;64;64;60"},
        {"SetColor;5\n", insert("Tacho", 120, 100), "SetColor;5\nTacho;120;100;8;28;0\n"},
        {"", insert("LED", 3, 60), "LED;3;60;6;0\n"},
        {"", insert("ToggleText", 0, 0), "ToggleText;0;0;TEXT;1;0\n"},
        {leds(9), insert("Kompass", 64, 64), leds(9) + "Kompass;64;64;60;0\n"},
        {leds(10), insert("LED", 1, 1), "the display holds ten", true},
        {"", insert("SetColor", 1, 1), "draws no object", true},
        {"", insert("image", 0, 0), "name of its BMP file", true},
    });
}

TEST_F(DesignTest, RemoveTakesEveryColourLineActingOnTheObjectAndSaysWhatComesToLife) {
    const std::string eleven = leds(10) + "Tacho;0;0;9;20;0\nSetColor;31\n";
    expectAll({
        {"LED;1;1;4;0\nSetColor;31\n# c\nSetBGColor;5\nTacho;0;0;9;20;0\nSetColor;7\n", remove({0}),
         "# c\nTacho;0;0;9;20;0\nSetColor;7\n"},
        {"LED;1;1;4;0\r\nTacho;0;0;9;9;0", remove({1}), "LED;1;1;4;0"},
        {"LED;1;1;4;0\r\nSetColor;2\r\nTacho;0;0;9;9;0", remove({0}), "Tacho;0;0;9;9;0"},
        {"SetColor;5\nLED;1;1;4;0\n", remove({1}), "SetColor;5\n"},
        {"image;pic.bmp\nLED;1;1;4;0\nSetColor;9\n", remove({0}), "LED;1;1;4;0\nSetColor;9\n"},
        // The colour line after the eleventh acts on the tenth and goes with it; the
        // eleventh comes to life.
        {eleven, remove({9}), leds(9) + "Tacho;0;0;9;20;0\n", false, true},
        // Removing the first instead moves that colour line to the eleventh.
        {eleven, remove({0}), eleven.substr(eleven.find('\n') + 1), false, true},
        {eleven, remove({10}), leds(10) + "SetColor;31\n"},
        {"# c\n", remove({0}), "draws no object", true},
    });
}

TEST_F(DesignTest, DuplicateCopiesTheColourLinesAndStopsAtTenObjects) {
    expectAll({
        {"LED;1;1;4;0\nSetColor;31\n# c\nSetBGColor;5\nTacho;0;0;9;20;0\n", duplicate({0}),
         "LED;1;1;4;0\nSetColor;31\n# c\nSetBGColor;5\nLED;5;5;4;0\nSetColor;31\nSetBGColor;5\n"
         "Tacho;0;0;9;20;0\n"},
        {"LED;1;1;4;0\r\nTacho;0;0;9;20;0", duplicate({0, 1}),
         "LED;1;1;4;0\r\nLED;5;5;4;0\r\nTacho;0;0;9;20;0\r\nTacho;4;4;9;20;0"},
        {"ToggleText; 7px;9;HI;1;0\n", duplicate({0}),
         "ToggleText; 7px;9;HI;1;0\nToggleText; 11px;13;HI;1;0\n"},
        {leds(9), duplicate({0, 1}), "the display holds ten", true},
        {leds(10), duplicate({3}), "the display holds ten", true},
    });
}

TEST_F(DesignTest, EditsSayHowLinesMoved) {
    workspace.setText(kName, "LED;1;1;4;0\nSetColor;31\n# c\nSetBGColor;5\nTacho;0;0;9;20;0\n");
    const DesignEdit removed = workspace.remove(kName, {0});
    EXPECT_EQ(removed.lineMap, (std::vector<int32_t>{-1, -1, 0, -1, 1}));
    const DesignEdit copied = workspace.duplicate(kName, {0});
    EXPECT_EQ(copied.lineMap, (std::vector<int32_t>{0, 1, 2, 3, 7}));
    EXPECT_EQ(copied.addedLines, (std::vector<int32_t>{4, 5, 6}));
    const DesignEdit added = workspace.insert(kName, "LED", 9, 9);
    EXPECT_EQ(added.lineMap, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(added.addedLines, (std::vector<int32_t>{5}));
}

TEST_F(DesignTest, ObjectsListEveryDrawingLineWithItsBoxColoursAndHandles) {
    workspace.setText(kName, "SetColor;1\nimage;pic.bmp\n" + leds(10) +
                                 "Tacho;0;0;9;20;0\nSetBGColor;3\n# c\nToggleText;0;120;AB;2;0\n");
    const std::vector<language::DesignObject> objects = workspace.objects(kName);
    ASSERT_EQ(objects.size(), 13u);
    EXPECT_EQ(objects[0].keyword, "image");
    EXPECT_EQ(objects[0].box.bounds, (PanelRect{0, 0, 40, 30}));
    EXPECT_TRUE(objects[0].handles.empty());
    EXPECT_TRUE(objects[0].placeFields.empty());
    EXPECT_EQ(objects[1].box.bounds, (PanelRect{-2, 3, 2, 7}));
    EXPECT_TRUE(objects[1].centred);
    EXPECT_EQ(objects[1].handles.size(), 8u);
    // The colour line after the eleventh instrument line acts on the tenth.
    EXPECT_EQ(objects[10].colourLines, (std::vector<int32_t>{13}));
    EXPECT_FALSE(objects[11].live);
    EXPECT_TRUE(objects[11].colourLines.empty());
    EXPECT_EQ(objects[11].box.bounds, (PanelRect{0, 0, 10, 21}));
    EXPECT_EQ(objects[12].line, 15);
    EXPECT_EQ(objects[12].box.bounds, (PanelRect{0, 120, 24, 136}));
    EXPECT_EQ(objects[12].handles, (std::vector<std::string>{"e", "se", "s"}));
    EXPECT_EQ(objects[12].sizeFields, (std::vector<int32_t>{4}));
}

} // namespace
} // namespace orvanta
