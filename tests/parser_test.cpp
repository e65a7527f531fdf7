#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/config/config_state.h"
#include "core/config/parser.h"
#include "core/instruments/tacho.h"
#include "core/runtime/objects.h"
#include "core/syntax/fields.h"
#include "tests/support.h"

namespace orvanta {
namespace {

TEST(ReadNumber, ReadsAsAtoiAndKeepsTheLow32Bits) {
    const struct {
        const char* text;
        int32_t value;
        int32_t consumed; // up to and including the last digit; 0 without digits
    } cases[] = {{"123", 123, 3},
                 {"  \t\n\v\f\r42x", 42, 9},
                 {"+7", 7, 2},
                 {"-65536;", -65536, 6},
                 {"", 0, 0},
                 {"abc", 0, 0},
                 {" +", 0, 0},
                 {"- 5", 0, 0},
                 {"0x1F", 0, 1},
                 {"2147483648", INT32_MIN, 10},
                 {"-2147483648", INT32_MIN, 11},
                 {"-2147483649", INT32_MAX, 11},
                 {"4294967297", 1, 10},
                 {"99999999999999999999999999", int32_t(0xE3FFFFFFu), 26},
                 {"000000000000000000000000000017", 17, 30}};
    for (const auto& c : cases) {
        const char* end = nullptr;
        EXPECT_EQ(readNumber(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.consumed) << c.text;
    }
}

TEST(FieldTableTest, SplitsWithoutExaminingTheLastByte) {
    const struct {
        const char* line;
        std::vector<std::string> fields; // the fields that began
    } cases[] = {{"", {}},
                 {"a", {}},
                 {";", {}},
                 {"ShowFPS;", {"ShowFPS;"}},
                 {"ShowFPS;x", {"ShowFPS", "x"}},
                 {";;", {"", ";"}},
                 {"a;;b", {"a", "", "b"}},
                 {" Tacho; 1 ;2", {" Tacho", " 1 ", "2"}},
                 {"k;1;2;3;4;5;6;7;8;9;10", {"k", "1", "2", "3", "4", "5", "6", "7", "8"}},
                 {"k;1;2;3;4;5;6;7;8;;;;", {"k", "1", "2", "3", "4", "5", "6", "7", "8"}}};
    for (const auto& c : cases) {
        const FieldTable table(c.line);
        ASSERT_EQ(table.fieldCount(), int32_t(c.fields.size())) << c.line;
        for (int32_t i = -1; i <= kFieldSlots; ++i)
            EXPECT_EQ(table.field(i), i >= 0 && i < table.fieldCount() ? c.fields[i] : "")
                << c.line << " field " << i;
    }
    const char line[] = "k;1;2;3;4;5;6;7;8;9;10;";
    EXPECT_EQ(FieldTable(line).separatorCount(), 10);
    EXPECT_STREQ(line, "k;1;2;3;4;5;6;7;8;9;10;"); // the caller's line is never changed
}

class ParserTest : public test::SystemTest {};

TEST_F(ParserTest, OnlyExactKeywordsDispatch) {
    for (const char* line : {"tacho;1;2;3;4;5", " Tacho;1", "Tacho ;1", "TACHO", "Tach",
                             "GyroHorizon;1;2;3;4;5", "showfps", "ShowFPS;", "SetColor;5"})
        parseConfigLine(loading, line);
    EXPECT_EQ(device.objectList.objectCount, 0);
    EXPECT_FALSE(config.showFps);
    EXPECT_EQ(trace(), ""); // a colour line without an object is ignored silently

    parseConfigLine(loading, "Tacho");
    parseConfigLine(loading, "Tacho;10;-20;30;40;5;99;;");
    ASSERT_EQ(device.objectList.objectCount, 2);
    const auto* empty = dynamic_cast<Tacho*>(device.objectList.slots[0].get());
    const auto* full = dynamic_cast<Tacho*>(device.objectList.slots[1].get());
    ASSERT_TRUE(empty && full);
    EXPECT_EQ(
        std::vector<int32_t>({empty->left, empty->top, empty->width, empty->height, empty->interval,
                              full->left, full->top, full->width, full->height, full->interval}),
        std::vector<int32_t>({0, 0, 0, 0, 0, 10, -20, 30, 40, 5}));
    EXPECT_EQ(trace(), "AddMandDObject 1\nAddMandDObject 2\n");
}

TEST_F(ParserTest, CommandsChangeTheSharedStateAndTraceColours) {
    const struct {
        const char* line;
        const char* trace;
    } cases[] = {{"SetColor", "SetColor 0\n"},
                 {"SetColor;63488;", "SetColor 63488\n"},
                 {"SetBGColor;-1", "SetBGColor -1\n"},
                 {"SetBGColor;4294967327", "SetBGColor 31\n"},
                 {"SetRotation;3", ""},
                 {"ShowFPS;anything", ""},
                 {"LoadConfig;next.txt;5", ""}};
    for (int i = 0; i < 11; ++i) parseConfigLine(loading, ("Tacho;" + std::to_string(i)).c_str());
    takeTrace();
    for (const auto& c : cases) {
        parseConfigLine(loading, c.line);
        EXPECT_EQ(takeTrace(), c.trace) << c.line;
    }
    // The eleventh object was never stored, so the colours went to the tenth.
    EXPECT_EQ(dynamic_cast<Tacho*>(lastObject(device.objectList))->left, 9);
    EXPECT_EQ(lastObject(device.objectList)->color, 63488);
    EXPECT_EQ(lastObject(device.objectList)->bgColor, 31);
    EXPECT_EQ(device.objectList.slots[8]->color, 0xFFFF);
    EXPECT_TRUE(config.showFps);
    EXPECT_STREQ(config.nextConfigName, "next.txt");
    EXPECT_EQ(config.next_config_load, 5);

    const struct {
        const char* line;
        const char* name;
        int32_t delay;
    } loads[] = {{"LoadConfig;other.txt", "other.txt", 0},
                 {"LoadConfig;abcdefghijklmnopqrstuvwxyz.txt;-1", "abcdefghijklmnopqrs", -1},
                 {"LoadConfig", "", 0}};
    for (const auto& c : loads) {
        parseConfigLine(loading, c.line);
        EXPECT_STREQ(config.nextConfigName, c.name);
        EXPECT_EQ(config.next_config_load, c.delay);
    }
}

} // namespace
} // namespace orvanta
