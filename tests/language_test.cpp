// The language service: for each question a table of (text, position) and the answer an
// editor gets, on a folder held in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "language/overlay_folder.h"
#include "language/service.h"
#include "tests/bmp_builder.h"

namespace orvanta {
namespace {

using language::Position;
using language::Range;

class LanguageTest : public ::testing::Test {
  protected:
    LanguageTest() {
        test::BmpBuilder picture;
        picture.width = 16;
        picture.height = 8;
        files.put("pic.bmp", picture.build());
        files.put("b.txt", "LED;1;1;9;0\nSetColor;31\nnot a keyword\n");
        files.put("config.txt", "");
    }
    // The answers for `text` as the unsaved text of config.txt.
    language::Workspace& with(const std::string& text) {
        workspace.setText("config.txt", text);
        return workspace;
    }

    language::OverlayFolder files;
    language::Workspace workspace{files};
};

Range on(int32_t line, int32_t begin, int32_t end) {
    return {{line, begin}, {line, end}};
}

TEST_F(LanguageTest, DiagnosticsCarryTheFieldTheirCodeAndThePlainFix) {
    const struct {
        std::string text;
        Range range;
        const char* code;
        const char* fix; // null: no fix
    } cases[] = {
        {"tacho;1;2;30;30;0\n", on(0, 0, 5), "unknown-keyword", "Tacho"},
        {"Tacho;1px;2;30;30;0\n", on(0, 6, 9), "trailing-text", "1"},
        {"LED;10;10;8;0;7;x\n", on(0, 13, 17), "extra-fields", ""},
        {"LED;9;9;9;0\r\nSetColor;0xF800\r\n", on(1, 9, 15), "hexadecimal-number", "63488"},
        {"LED;9;9;9;0\nSetBGColor;70000\n", on(1, 11, 16), "colour-out-of-range", "4464"},
        {"image;Pic.bmp\n", on(0, 6, 13), "picture-not-found", "pic.bmp"},
        {"image;pic.bmp;\n", on(0, 6, 14), "picture-not-found", "pic.bmp"},
        {"LoadConfig;bb.txt;5\n", on(0, 11, 17), "successor-not-found", "b.txt"},
        {"LoadConfig;b.txt;-1\n", on(0, 17, 19), "chain-stops", nullptr},
        {"Tacho;200;0;10;30;0\n", on(0, 6, 17), "off-display", nullptr},
        {"ToggleText;0;0;X;0;1\n", on(0, 17, 18), "text-scale", nullptr},
        {"ToggleText;0;130;HI;1;1\n", on(0, 11, 16), "text-off-display", nullptr},
        {"Tacho;0;0;20;17;0\n", on(0, 13, 15), "bar-height", nullptr},
        {"Kompass;64;64;1;0\n", on(0, 14, 15), "degenerate-disc", nullptr},
        {"SetColor;5\nLED;1;1;9;0\n", on(0, 0, 8), "colour-without-instrument", nullptr},
        {"Tacho;1;2;30;30;0;;;;gone\n", on(0, 21, 25), "text-after-ninth-separator", nullptr},
        {std::string("LED;9;9;9;0\0zz\n", 15), on(0, 11, 14), "zero-byte", nullptr},
        {"// LED;9;9;9;0\n", on(0, 0, 14), "comment-line", nullptr},
        {"LED;9;9;9;0\nLED;30;9;9;0\r\n", on(1, 0, 12), "mixed-line-ends", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<language::Diagnostic> found = with(c.text).diagnostics("config.txt");
        ASSERT_EQ(found.size(), 1u) << found[0].message;
        EXPECT_EQ(found[0].code, c.code);
        EXPECT_EQ(found[0].range, c.range);
        ASSERT_EQ(found[0].fix.has_value(), c.fix != nullptr);
        if (c.fix == nullptr) continue;
        EXPECT_EQ(found[0].fix->newText, c.fix);
        EXPECT_EQ(found[0].fix->range, c.range);
    }
}

TEST_F(LanguageTest, UnsavedTextsStandInForTheFilesTheyName) {
    const auto codes = [this] {
        std::vector<std::string> out;
        for (const auto& d : workspace.diagnostics("config.txt")) out.push_back(d.code);
        return out;
    };
    with("image;new.bmp\nLoadConfig;next.txt;5\n");
    EXPECT_EQ(codes(), (std::vector<std::string>{"picture-not-found", "successor-not-found"}));
    workspace.setText("next.txt", "LED;1;1;9;0\n");
    workspace.setText("new.bmp", "GIF89a");
    EXPECT_EQ(codes(), (std::vector<std::string>{"picture-not-bmp"}));
    workspace.forget("new.bmp");
    EXPECT_EQ(codes(), (std::vector<std::string>{"picture-not-found"}));
    const auto missing = workspace.diagnostics("gone.txt");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].code, "file-not-found");
}

TEST_F(LanguageTest, HoverExplainsKeywordsFieldsAndFiles) {
    const struct {
        std::string text;
        Position at;
        std::vector<const char*> says; // empty: no hover
    } cases[] = {
        {"Tacho;1;2;30;30;0", {0, 2}, {"**Tacho**", "bar gauge", "`height` (pixels): height of the"}},
        {"Tacho;12px;2;30;30;0", {0, 7}, {"**left**", "reads **12** from '12px'"}},
        {"Tacho;4294967297;2;30;30;0", {0, 8}, {"reads **1** from"}},
        {"LED;1;1;9;0\nSetColor;63488", {1, 10}, {"RGB 255, 0, 0 (#FF0000)"}},
        {"SetBGColor;65567", {0, 12}, {"low 16 bits count: **31**", "RGB 0, 0, 255"}},
        {"image;pic.bmp", {0, 8}, {"16 × 8 pixels, 24 bits per pixel", "draws completely"}},
        {"image;none.bmp", {0, 8}, {"'none.bmp' not found"}},
        {"LoadConfig;b.txt;5", {0, 12}, {"with 2 object lines", "line 2: `SetColor;31`"}},
        {"LoadConfig;c.txt;5", {0, 12}, {"does not exist; did you mean 'b.txt'?"}},
        {"ToggleText;0;0;HELLO;1;1", {0, 16}, {"**text**", "'HELLO'"}},
        {"LED;1;1;9;0;7", {0, 12}, {"extra field", "takes 4 fields"}},
        {"tacho;1", {0, 1}, {"Not a keyword", "did you mean `Tacho`?"}},
        {"  \nTacho", {0, 1}, {}},
        {"Tacho;1", {3, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto hover = with(c.text).hover("config.txt", c.at);
        ASSERT_EQ(hover.has_value(), !c.says.empty());
        for (const char* part : c.says)
            EXPECT_NE(hover->markdown.find(part), std::string::npos) << hover->markdown;
    }
    EXPECT_EQ(with("Tacho;12px;2").hover("config.txt", {0, 8})->range, on(0, 6, 10));
}

TEST_F(LanguageTest, CompletionOffersKeywordsAndTheFolderFilesALineNames) {
    const struct {
        std::string text;
        Position at;
        std::vector<std::string> labels; // the first few, in order
        std::size_t count;
        Range replace;
    } cases[] = {
        {"", {0, 0}, {"image", "GyroHorizonRect"}, 14, on(0, 0, 0)},
        {"LED;1;1;9;0\nTa", {1, 2}, {"image"}, 14, on(1, 0, 2)},
        {"Tacho;1", {0, 3}, {"image"}, 14, on(0, 0, 5)},
        {"image;", {0, 6}, {"pic.bmp"}, 1, on(0, 6, 6)},
        {"image;pi", {0, 8}, {"pic.bmp"}, 1, on(0, 6, 8)},
        {"LoadConfig;b;5", {0, 12}, {"b.txt", "config.txt"}, 2, on(0, 11, 12)},
        {"Tacho;1", {0, 7}, {}, 0, {}},
        {"SetColor;", {0, 9}, {}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto found = with(c.text).completions("config.txt", c.at);
        ASSERT_EQ(found.size(), c.count);
        for (std::size_t i = 0; i < c.labels.size(); ++i) EXPECT_EQ(found[i].label, c.labels[i]);
        if (!found.empty()) {
            EXPECT_EQ(found[0].replace, c.replace);
        }
    }
    const auto keywords = with("").completions("config.txt", {0, 0});
    const auto tacho = std::find_if(keywords.begin(), keywords.end(),
                                    [](const auto& c) { return c.label == "Tacho"; });
    ASSERT_NE(tacho, keywords.end());
    EXPECT_EQ(tacho->snippet, "Tacho;${1:left};${2:top};${3:width};${4:height};${5:interval}");
    EXPECT_EQ(tacho->plainText, "Tacho;");
    EXPECT_NE(tacho->documentation.find("`interval` (frames): works every n-th frame"), std::string::npos);
}

TEST_F(LanguageTest, ColourFieldsShowTheColourTheDeviceDraws) {
    const struct {
        std::string text;
        std::vector<std::pair<Range, int32_t>> colours;
    } cases[] = {
        {"LED;1;1;9;0\nSetColor;63488\nSetBGColor; 2016px\n",
         {{on(1, 9, 14), 63488}, {on(2, 11, 18), 2016}}},
        {"SetColor;-1\nTacho;1;2;3;4;5\nSetColor\n", {{on(0, 9, 11), 65535}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto found = with(c.text).colours("config.txt");
        ASSERT_EQ(found.size(), c.colours.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].range, c.colours[i].first);
            EXPECT_EQ(found[i].rgb565, c.colours[i].second);
        }
    }
    const auto green = with("SetColor;2016").colours("config.txt");
    EXPECT_EQ(std::vector<double>({green[0].red, green[0].green, green[0].blue}),
              std::vector<double>({0.0, 1.0, 0.0}));
    const auto grey = with("SetColor;2180").colours("config.txt"); // 1, 4, 4: 8, 16, 32
    EXPECT_DOUBLE_EQ(grey[0].red * 255, 8);
    EXPECT_DOUBLE_EQ(grey[0].green * 255, 16);
    EXPECT_DOUBLE_EQ(grey[0].blue * 255, 32);
}

TEST(ColourPick, EachChannelTakesTheNearestExpansionTiesGoingLower) {
    const struct {
        double red, green, blue;
        int32_t rgb565;
    } cases[] = {
        {0, 0, 0, 0},
        {1, 1, 1, 65535},
        {1, 0, 0, 63488},
        {4 / 255.0, 2 / 255.0, 0, 0},             // halfway between 0 and the first step
        {12 / 255.0, 6 / 255.0, 0, 2048 + 32},    // halfway: 8 and 4, not 16 and 8
        {0.5, 0.5, 0.5, 16 << 11 | 32 << 5 | 16}, // 128 lies nearer 131 and 129
        {-3, 2, std::nan(""), 63 << 5},
        {0, 0, 33 / 255.0, 4}, // 32 is nearest, 41 is not
    };
    for (const auto& c : cases)
        EXPECT_EQ(language::rgb565ForPick(c.red, c.green, c.blue), c.rgb565)
            << c.red << " " << c.green << " " << c.blue;
}

TEST_F(LanguageTest, OutlineAndDefinitionFollowTheKeywordLines) {
    const auto symbols = with("LED;1;2;3;0\n\nfoo\nSetColor;5\nShowFPS").symbols("config.txt");
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_EQ(symbols[0].name, "LED");
    EXPECT_EQ(symbols[0].detail, "line 1: x 1, y 2, diameter 3, interval 0");
    EXPECT_EQ(symbols[0].range, on(0, 0, 11));
    EXPECT_EQ(symbols[0].selection, on(0, 0, 3));
    EXPECT_EQ(symbols[1].detail, "line 4: colour 5");
    EXPECT_EQ(symbols[2].detail, "line 5");

    const struct {
        std::string text;
        Position at;
        const char* file; // null: no definition
    } cases[] = {
        {"image;pic.bmp", {0, 7}, "pic.bmp"},
        {"LoadConfig;b.txt;5", {0, 16}, "b.txt"},
        {"image;none.bmp", {0, 7}, nullptr},
        {"LoadConfig;b.txt;5", {0, 17}, nullptr},
        {"ToggleText;0;0;b.txt;1;1", {0, 16}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto found = with(c.text).definition("config.txt", c.at);
        ASSERT_EQ(found.has_value(), c.file != nullptr);
        if (found) {
            EXPECT_EQ(found->fileName, c.file);
        }
    }
    EXPECT_EQ(with("image;pic.bmp").definition("config.txt", {0, 9})->origin, on(0, 6, 13));
}

TEST(OverlayFolder, HeldTextsJoinTheListingAndShadowTheFolderBelow) {
    language::OverlayFolder below;
    below.put("a.txt", "disk");
    below.put("pics/x.bmp", "BM");
    language::OverlayFolder above(&below);
    above.put("a.txt", "unsaved");
    above.put("pics/deep/y.bmp", "");
    above.put("b.txt", "new");
    std::vector<std::string> top = above.list("");
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"a.txt", "b.txt", "pics"}));
    std::vector<std::string> pics = above.list("pics");
    std::sort(pics.begin(), pics.end());
    EXPECT_EQ(pics, (std::vector<std::string>{"deep", "x.bmp"}));
    char bytes[8] = {};
    ASSERT_NE(above.open("a.txt"), nullptr);
    EXPECT_EQ(above.open("a.txt")->readAt(bytes, 8, 2), 5u);
    EXPECT_EQ(std::string(bytes, 5), "saved");
    EXPECT_EQ(above.open("A.TXT"), nullptr);
}

} // namespace
} // namespace orvanta
