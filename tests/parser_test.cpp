#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_state.h"
#include "config/keywords.h"
#include "config/parser.h"
#include "instruments/tacho.h"
#include "runtime/objects.h"
#include "tests/support.h"

namespace orvanta {
namespace {

TEST(ReadNumber, ReadsAsAtoiAndKeepsTheLow32Bits) {
    struct Case {
        const char* text;
        int32_t value;
        int32_t consumed; // characters up to and including the last digit, 0 for none
    };
    const Case cases[] = {
        {"123", 123, 3},
        {"  \t\n\v\f\r42x", 42, 9},
        {"+7", 7, 2},
        {"-65536;", -65536, 6},
        {"12;34", 12, 2},
        {"", 0, 0},
        {"abc", 0, 0},
        {"-", 0, 0},
        {" +", 0, 0},
        {"- 5", 0, 0},
        {"0x1F", 0, 1},
        {"2147483647", INT32_MAX, 10},
        {"2147483648", INT32_MIN, 10},
        {"-2147483648", INT32_MIN, 11},
        {"-2147483649", INT32_MAX, 11},
        {"4294967296", 0, 10},
        {"4294967297", 1, 10},
        {"99999999999999999999999999", static_cast<int32_t>(0xE3FFFFFFu), 26},
        {"000000000000000000000000000017", 17, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const char* end = nullptr;
        EXPECT_EQ(readNumber(c.text, &end), c.value);
        EXPECT_EQ(end - c.text, c.consumed);
    }
}

TEST(FieldTableTest, SplitsAsTheDeviceDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> fields; // the fields that began, in order
    };
    const Case cases[] = {
        {"", {}},
        {"a", {}},
        {";", {}},
        {"ab", {"ab"}},
        {"ShowFPS;", {"ShowFPS;"}},
        {"ShowFPS;x", {"ShowFPS", "x"}},
        {";;", {"", ";"}},
        {"a;;b", {"a", "", "b"}},
        {" Tacho; 1 ;2", {" Tacho", " 1 ", "2"}},
        {"image;pic.bmp;", {"image", "pic.bmp;"}},
        {"k;1;2;3;4;5;6;7;8", {"k", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"k;1;2;3;4;5;6;7;8;9;10", {"k", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"k;1;2;3;4;5;6;7;8;;;;", {"k", "1", "2", "3", "4", "5", "6", "7", "8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const FieldTable table(c.line);
        ASSERT_EQ(table.fieldCount(), static_cast<int32_t>(c.fields.size()));
        for (int32_t i = 0; i < kFieldSlots + 2; ++i) {
            const std::string want = i < table.fieldCount() ? c.fields[i] : "";
            EXPECT_EQ(table.field(i), want) << "field " << i;
        }
    }
    EXPECT_EQ(FieldTable("k;1;2;3;4;5;6;7;8;9;10").separatorCount(), 10);
    EXPECT_EQ(FieldTable("k;1;").separatorCount(), 1);
}

TEST(FieldTableTest, LeavesTheCallersLineAlone) {
    const char line[] = "Tacho;1;2";
    const FieldTable table(line);
    EXPECT_STREQ(line, "Tacho;1;2");
    EXPECT_EQ(table.number(2), 2);
    EXPECT_EQ(table.number(7), 0);
}

TEST(KeywordTableTest, NamesAreUniqueAndEveryEntryIsComplete) {
    const KeywordSpec* table = keywordTable();
    for (int32_t i = 0; i < keywordCount(); ++i) {
        SCOPED_TRACE(table[i].name);
        EXPECT_EQ(findKeyword(table[i].name), &table[i]);
        EXPECT_NE(table[i].action, nullptr);
        ASSERT_GE(table[i].fieldCount, 0);
        ASSERT_LE(table[i].fieldCount, 8);
        for (int32_t f = 0; f < table[i].fieldCount; ++f)
            EXPECT_NE(table[i].fields[f].name, nullptr);
    }
}

class ParserTest : public test::SystemTest {};

TEST_F(ParserTest, OnlyExactKeywordsDispatch) {
    const char* ignored[] = {
        "tacho;1;2;3;4;5", " Tacho;1;2;3;4;5",      "Tacho ;1;2;3;4;5", "TACHO",    "Tach",
        "Tachometer;1",    "GyroHorizon;1;2;3;4;5", "showfps",          "ShowFPS;", "",
        "#Tacho;1;2;3;4;5"};
    for (const char* line : ignored) parseConfigLine(line);
    EXPECT_EQ(objectCount, 0);
    EXPECT_FALSE(showFps);
    EXPECT_EQ(trace(), "");

    parseConfigLine("Tacho");
    ASSERT_EQ(objectCount, 1);
    const auto* tacho = dynamic_cast<Tacho*>(objectList[0].get());
    ASSERT_NE(tacho, nullptr);
    EXPECT_EQ(tacho->left, 0);
    EXPECT_EQ(tacho->interval, 0);
    parseConfigLine("Tacho;10;-20;30;40;5;99;;");
    tacho = dynamic_cast<Tacho*>(lastObject());
    ASSERT_NE(tacho, nullptr);
    EXPECT_EQ(tacho->left, 10);
    EXPECT_EQ(tacho->top, -20);
    EXPECT_EQ(tacho->width, 30);
    EXPECT_EQ(tacho->height, 40);
    EXPECT_EQ(tacho->interval, 5);
    EXPECT_EQ(trace(), "AddMandDObject 1\nAddMandDObject 2\n");
}

TEST_F(ParserTest, CommandsChangeTheSharedStateAndTraceColours) {
    struct Case {
        const char* line;
        const char* trace;
    };
    // The colour lines act on the Tacho; every line's trace is checked on its own.
    const Case cases[] = {
        {"SetColor", "SetColor 0\n"},
        {"SetColor;63488;", "SetColor 63488\n"},
        {"SetBGColor;-1", "SetBGColor -1\n"},
        {"SetBGColor;4294967327", "SetBGColor 31\n"},
        {"SetRotation;3", ""},
        {"ShowFPS;anything", ""},
        {"LoadConfig;next.txt;5", ""},
    };
    parseConfigLine("Tacho;1;2;3;4;5");
    takeTrace();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        parseConfigLine(c.line);
        EXPECT_EQ(takeTrace(), c.trace);
    }
    EXPECT_EQ(lastObject()->color, 63488);
    EXPECT_EQ(lastObject()->bgColor, 31);
    EXPECT_TRUE(showFps);
    EXPECT_STREQ(nextConfigName, "next.txt");
    EXPECT_EQ(next_config_load, 5);

    parseConfigLine("LoadConfig;other.txt");
    EXPECT_STREQ(nextConfigName, "other.txt");
    EXPECT_EQ(next_config_load, 0);
    parseConfigLine("LoadConfig;abcdefghijklmnopqrstuvwxyz.txt;-1");
    EXPECT_STREQ(nextConfigName, "abcdefghijklmnopqrs");
    EXPECT_EQ(next_config_load, -1);
    parseConfigLine("LoadConfig");
    EXPECT_STREQ(nextConfigName, "");
}

TEST_F(ParserTest, ColourLinesWithoutAnObjectAreIgnored) {
    parseConfigLine("SetColor;123");
    parseConfigLine("SetBGColor;456");
    EXPECT_EQ(trace(), "");
}

TEST_F(ParserTest, ColourLinesAfterAFullListChangeTheTenthObject) {
    for (int i = 0; i < 11; ++i) parseConfigLine(("Tacho;" + std::to_string(i)).c_str());
    ASSERT_EQ(objectCount, 10);
    parseConfigLine("SetColor;1234");
    EXPECT_EQ(objectList[9]->color, 1234);
    EXPECT_EQ(dynamic_cast<Tacho*>(objectList[9].get())->left, 9);
    EXPECT_EQ(objectList[8]->color, 0xFFFF);
}

} // namespace
} // namespace orvanta
