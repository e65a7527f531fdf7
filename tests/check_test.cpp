// The configuration checker: every finding on a small file, the chain walk, the command's
// output and exit status, and the shipped examples passing clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "check/checker.h"
#include "check/name_encoding.h"
#include "check/words.h"
#include "tests/bmp_builder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

namespace fs = std::filesystem;
using check::Severity;
constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
constexpr Severity N = Severity::Note;

struct Expected {
    int32_t line;
    Severity severity;
    const char* contains;
};

struct Case {
    std::string config;
    std::vector<Expected> expected;
};

class CheckTest : public test::SystemTest {
  protected:
    // Checks the folder and compares every diagnostic of config.txt with `expected`.
    void expectFindings(const Case& c) {
        writeFile("config.txt", c.config);
        const check::CheckReport report = check::checkFolder(folder.string());
        std::string all;
        for (const check::Diagnostic& d : report.diagnostics)
            all += check::formatDiagnostic(d) + "\n";
        ASSERT_EQ(report.diagnostics.size(), c.expected.size()) << c.config << "\n" << all;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const check::Diagnostic& d = report.diagnostics[i];
            EXPECT_EQ(d.line, c.expected[i].line) << all;
            EXPECT_EQ(d.severity, c.expected[i].severity) << all;
            EXPECT_NE(d.message.find(c.expected[i].contains), std::string::npos) << all;
        }
    }
};

TEST_F(CheckTest, UnknownKeywordsGetTheKeywordTheyMostLikelyMean) {
    const Case cases[] = {
        {"tacho;1;2;30;30;0\n", {{1, E, "did you mean 'Tacho'? (keywords are case-sensitive)"}}},
        {" Tacho;1;2;30;30;0\n", {{1, E, "did you mean 'Tacho'? (a keyword must not have"}}},
        {"ShowFPS;\n", {{1, E, "did you mean 'ShowFPS'? (a ';' at the very end"}}},
        {"GyroHorizon;0;0;60;60;0\n", {{1, E, "did you mean 'GyroHorizonRect'?"}}},
        {"Tachometer;1;2;30;30;0\n", {{1, E, "did you mean 'Tacho'?"}}},
        {"Kompss;64;64;50;0\n", {{1, E, "did you mean 'Kompass'?"}}},
        {"SetColour;5\n", {{1, E, "did you mean 'SetColor'?"}}},
        {"Banana;1\n", {{1, E, "unknown keyword 'Banana' — the line is ignored"}}},
        {std::string(100000, 'Q') + "\n", {{1, E, "QQQ…' — the line is ignored"}}},
        {"# Tacho;1;2;30;30;0\n", {{1, N, "no comments"}}},
        {"\n  \n\t\n", {}},
    };
    for (const Case& c : cases) expectFindings(c);
    EXPECT_EQ(check::suggestKeyword("Banana"), "");
    EXPECT_EQ(check::suggestKeyword("SetColorRed"), "SetColor");
}

TEST_F(CheckTest, FieldsThatDoNotSayWhatTheDeviceReads) {
    const Case cases[] = {
        {"Tacho;x;2;30;30;0\n", {{1, E, "field 'left' is 'x', not a number"}}},
        {"Tacho;1px;2;30;30;0\n", {{1, W, "reads 1 and ignores 'px'"}}},
        {"Tacho;1;2;30;30;0;\n", {}}, // the final ';' ends the number as intended
        {"Tacho;4294967297;2;30;30;0\n", {{1, W, "beyond 32 bits — the device reads 1"}}},
        {"Tacho;1;;30;30;0\n", {{1, W, "field 'top' is empty and reads as 0"}}},
        {"Kompass;64;64;100\n", {{1, W, "'interval' is missing and reads as 0"}}},
        {"LED;10;10;8;0;7\n", {{1, W, "'LED' takes 4 fields — '7' is ignored"}}},
        {"Tacho;1;2;30;30;0;;;;gone\n", {{1, W, "after the ninth ';' is dropped: 'gone'"}}},
        {"LED;9;9;9;0\nSetColor;0xF800\n", {{2, E, "write 63488"}}},
        {"LED;9;9;9;0\nSetBGColor;70000\n", {{2, W, "so it draws as 4464"}}},
        {"LED;9;9;9;0\nSetColor;-1\n", {{2, W, "so it draws as 65535"}}},
    };
    for (const Case& c : cases) expectFindings(c);
}

TEST_F(CheckTest, InstrumentsThatShowNothingOrDegenerate) {
    const Case cases[] = {
        {"Tacho;200;0;10;30;0\n", {{1, E, "lies entirely outside"}}},
        {"Tacho;-40;0;39;30;0\n", {{1, E, "x -40..-1"}}},
        {"Tacho;0;0;20;17;0\n", {{1, W, "bars of no thickness"}}},
        {"GyroHorizonRect;0;0;60;1;0\n", {{1, E, "a height of 1 leaves the horizon"}}},
        {"RoundPointer;64;64;50;10;10\n", {{1, E, "the maximum equals the minimum"}}},
        {"RoundPointer;64;64;50;90;0\n", {{1, W, "swings between 90 and 179"}}},
        {"Kompass;64;64;1;0\n", {{1, W, "shrinks to a dot"}}},
        {"Radar;64;64;3\n", {{1, W, "a diameter of 3 gives a radius of 0"}}},
        {"LED;-10;64;18;0\n", {{1, E, "lies entirely outside"}}},
        {"LED;-8;64;18;0\n", {}},
        {"ToggleText;0;130;HI;1;1\n", {{1, E, "no character of it lands"}}},
        {"ToggleText;125;112;HI;1;1\n", {}},                                   // wraps to row 120
        {"ToggleText;125;120;HI;1;1\n", {{1, E, "no character of it lands"}}}, // wraps off
        {"DigitCounter;-20;0;2;1;0\n", {{1, E, "no character of it lands"}}},
        {"DigitCounter;-20;0;5;1;0\n", {}}, // the fifth digit starts at column 4
        {"DigitCounter;0;0;0;1;0\n", {{1, W, "a digit count of 0 prints nothing"}}},
        {"ToggleText;0;0;ABCDEFGHIJKLMNOPQRSTUV;1;1\n",
         {{1, W, "only the first 20 show: 'ABCDEFGHIJKLMNOPQRST'"}}},
        {"ToggleText;0;0;;1;1\n", {{1, W, "the text is empty"}}},
        {"ToggleText;0;0;X;0;1\n", {{1, W, "a text scale of 0"}}},
    };
    for (const Case& c : cases) expectFindings(c);
}

TEST_F(CheckTest, ColourLinesAndTheTenObjectLimit) {
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += "LED;" + std::to_string(10 + i * 10) + ";10;8;0\n";
    const Case cases[] = {
        {"SetColor;2016\nLED;9;9;9;0\n", {{1, W, "no instrument above it"}}},
        {eleven + "SetColor;2016\n",
         {{11, E, "the 11th instrument"}, {12, W, "goes to the tenth (LED of line 10)"}}},
        {"Radar;64;64;100\nSetColor;31\n", {{2, W, "changes nothing"}}},
        {"GyroHorizonRect;0;0;60;60;0\nSetBGColor;31\n", {{2, W, "SetBGColor changes nothing"}}},
        {"LED;9;9;9;0\nLDE;30;9;9;0\nSetColor;31\n",
         {{2, E, "did you mean 'LED'?"}, {3, N, "goes to the LED of line 1"}}},
    };
    for (const Case& c : cases) expectFindings(c);
}

TEST_F(CheckTest, TheChainAndItsSuccessors) {
    writeFile("b.txt", "LoadConfig;config.txt;3\n");
    writeFile("abcdefghijklmnopqrs", "");
    const Case cases[] = {
        {"LoadConfig;b.txt;5\n", {}},
        {"LoadConfig;missing.txt;5\n", {{1, E, "'missing.txt' does not exist"}}},
        {"LoadConfig;B.TXT;5\n", {{1, E, "did you mean 'b.txt'? names must match exactly"}}},
        {"LoadConfig;bb.txt;5\n", {{1, E, "did you mean 'b.txt'?"}}},
        {"LoadConfig;b.txt\n", {{1, W, "'seconds' is missing and reads as 0"}}},
        {"LoadConfig;b.txt;\n", {{1, W, "'seconds' is missing"}, {1, E, "stays part of the file"}}},
        {"LoadConfig;\n", {{1, E, "did you mean 'LoadConfig'?"}}},
        {"LoadConfig;;5\n", {{1, E, "no file name"}}},
        {"LoadConfig;b.txt;-1\n", {{1, W, "a delay of -1 seconds is never reached"}}},
        {"LoadConfig;b.txt;4294967\n", {{1, W, "never reached"}}},
        {"LoadConfig;b.txt;4294966\n", {}},
        {"LoadConfig;abcdefghijklmnopqrstuvw;5\n", {{1, W, "keeps only the first 19"}}},
        {"LoadConfig;missing.txt;5\nLoadConfig;b.txt;5\n", {{1, W, "overridden by the"}}},
    };
    for (const Case& c : cases) expectFindings(c);

    writeFile("config.txt", "LoadConfig;b.txt;5\n");
    const check::CheckReport report = check::checkFolder(folder.string());
    EXPECT_EQ(report.files, 2) << "each file of a loop is read once";
    EXPECT_TRUE(report.diagnostics.empty());
}

TEST_F(CheckTest, PicturesThatDoNotShowAsMeant) {
    test::BmpBuilder good;
    good.width = 128;
    good.height = -128;
    auto with = [&good](auto change) {
        test::BmpBuilder b = good;
        change(b);
        return b.build();
    };
    const struct {
        std::string bytes;
        std::vector<Expected> expected;
    } pictures[] = {
        {good.build(), {}},
        {"GIF89a", {{1, E, "is not a BMP file"}}},
        {with([](test::BmpBuilder& b) { b.planes = 2; }), {{1, E, "has 2 colour planes"}}},
        {with([](test::BmpBuilder& b) { b.bitsPerPixel = 8; }), {{1, E, "has 8 bits per pixel"}}},
        {with([](test::BmpBuilder& b) { b.bitsPerPixel = 32; }),
         {{1, E, "drawn; convert it with: orvanta-cli picture p.bmp p.bmp"}}},
        {with([](test::BmpBuilder& b) { b.compression = 1; }),
         {{1, E, "is compressed (method 1)"}}},
        {with([](test::BmpBuilder& b) { b.width = 200, b.height = 100; }),
         {{1, W,
           "only its top-left 128 × 100 pixels show; shrink it with: orvanta-cli picture "
           "p.bmp p.bmp"}}},
        {with([](test::BmpBuilder& b) { b.writePixels = false; }),
         {{1, W, "ends inside its pixel data"}}},
        {with([](test::BmpBuilder& b) { b.width = 0; }), {{1, E, "is 0 × 128 pixels"}}},
    };
    for (const auto& p : pictures) {
        writeFile("p.bmp", p.bytes);
        expectFindings({"image;p.bmp\n", p.expected});
    }
    writeFile("p.bmp", good.build());
    writeFile("my logo.bmp", "\x89PNG\r\n\x1a\n");
    const Case cases[] = {
        {"image;none.bmp\n", {{1, E, "picture 'none.bmp' not found"}}},
        {"image;my logo.bmp\n",
         {{1, E,
           "is not a BMP file — the display is cleared to black and nothing is drawn; "
           "convert it with: orvanta-cli picture \"my logo.bmp\" \"my logo.bmp\""}}},
        {"image;p.bmp;\n", {{1, E, "stays part of the file name"}}},
        {"image;\n", {{1, E, "did you mean 'image'?"}}},
        {"image;p.bmp\nimage;p.bmp\n", {{1, W, "wiped out by the 'image' line 2"}}},
        {"ToggleText;0;0;image;1;1\n", {{1, N, "mentions 'image'"}}},
    };
    for (const Case& c : cases) expectFindings(c);
}

TEST_F(CheckTest, BytesAndLineEndsAsTheLoaderReadsThem) {
    const Case cases[] = {
        {std::string("LED;9;9;9;0\0zz\n", 15), {{1, W, "'zz' after it is ignored"}}},
        {"LED;9;9;9;0\r\nLED;30;9;9;0\r\n", {}},
        {"LED;9;9;9;0\nLED;30;9;9;0\r\n", {{2, N, "ends in CR LF but line 1 ends in LF"}}},
        {"LED;9;9;9;0\rLED;30;9;9;0\r", {{0, N, "CR alone"}}},
        {"LED;9;9;9;0\nLED;30;9;9;0", {}},
    };
    for (const Case& c : cases) expectFindings(c);

    writeFile("config.txt", std::string("LED;9;9;9;0\0zz\nLED;30;9;9;0\0", 28));
    const check::CheckReport report = check::checkFolder(folder.string());
    ASSERT_EQ(report.diagnostics.size(), 2u);
    EXPECT_NE(report.diagnostics[0].message.find("'zz' after it is ignored"), std::string::npos);
    EXPECT_EQ(report.diagnostics[1].line, 2);
    EXPECT_NE(report.diagnostics[1].message.find("ends in a zero byte"), std::string::npos);
}

// The built program as a user runs it: output format, summary and exit status.
int runCheck(const std::string& arguments, std::string* out) {
    return test::runCli("check " + arguments, out);
}

TEST_F(CheckTest, TheCommandPrintsCompilerStyleLinesAndExitsByTheWorstFinding) {
    writeFile("clean/config.txt", "LED;9;9;9;0\n");
    writeFile("warn/config.txt", "LED;9;9;9;0;5\n");
    writeFile("bad/config.txt", "LED;9;9;9;0\nled;1;1;1;1\n");
    writeFile("empty/other.txt", "");
    const std::string f = folder.string();
    std::string out;
    EXPECT_EQ(runCheck(f + "/clean", &out), 0);
    EXPECT_EQ(out, "0 errors, 0 warnings in 1 file\n");
    EXPECT_EQ(runCheck(f + "/warn", &out), 0);
    EXPECT_EQ(runCheck(f + "/warn --werror", &out), 1);
    EXPECT_NE(out.find(f + "/warn/config.txt:1:12: error: 'LED' takes 4 fields"), std::string::npos)
        << out;
    EXPECT_NE(out.find("1 error, 0 warnings in 1 file\n"), std::string::npos) << out;
    EXPECT_EQ(runCheck(f + "/bad", &out), 1);
    EXPECT_NE(out.find(f + "/bad/config.txt:2:1: error: unknown keyword 'led'"), std::string::npos);
    EXPECT_EQ(runCheck(f + "/bad/config.txt " + f + "/warn/config.txt", &out), 1);
    EXPECT_NE(out.find("in 2 files"), std::string::npos) << out;
    EXPECT_EQ(runCheck(f + "/empty", &out), 1);
    EXPECT_NE(out.find("config.txt: error: not found"), std::string::npos) << out;
    EXPECT_EQ(runCheck(f + "/nowhere", &out), 2);
    EXPECT_EQ(runCheck(f + "/clean " + f + "/warn", &out), 2);
    EXPECT_EQ(runCheck("--bogus", &out), 2);
}

TEST_F(CheckTest, NamesExistOnlyAsTheFolderListsThemLetterCaseIncluded) {
    writeFile("Panel.txt", "");
    writeFile("pics/Inner.bmp", "");
    std::vector<std::string> top = disk.list("");
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"Panel.txt", "pics"}));
    EXPECT_EQ(disk.list("pics"), std::vector<std::string>{"Inner.bmp"});
    EXPECT_TRUE(disk.list("none").empty());
    for (const char* name : {"Panel.txt", "pics/Inner.bmp", "pics"})
        EXPECT_TRUE(check::existsExactly(disk, name)) << name;
    for (const char* name : {"panel.txt", "PANEL.TXT", "pics/inner.bmp", "pics/", "", "none"})
        EXPECT_FALSE(check::existsExactly(disk, name)) << name;
}

TEST_F(CheckTest, NamesThatAreNotUtf8SayWhatAnOldEditorMeant) {
    for (const auto& [text, at] : std::vector<std::pair<std::string, std::size_t>>{
             {"D\xC3\xBCsenjet \xE2\x9C\x88 \xF0\x9F\x9B\xA9.bmp", std::string::npos},
             {"D\xFCsenjet.bmp", 1},
             {"a\xC0\xAF", 1},        // an overlong '/'
             {"ab\xED\xA0\x80", 2},   // a surrogate
             {"\xF4\x90\x80\x80", 0}, // beyond U+10FFFF
             {"Jet \xE2\x9C", 4},     // a character cut short
             {"\x80\xC3\xBC", 0}}) {  // a lone continuation byte
        const auto found = check::firstNonUtf8Byte(text);
        EXPECT_EQ(found.value_or(std::string::npos), at) << text;
    }
    writeFile("D\xC3\xBCsenjet.bmp", "");
    writeFile("Men\xC3\xBC.txt", "");
    const Case cases[] = {
        {"image;D\xFCsenjet.bmp\n",
         {{1, W,
           "'D\\xFCsenjet.bmp' is not UTF-8 text (byte 0xFC) — it is looked up byte for byte"},
          {1, E, "not found"}}},
        {"LoadConfig;Men\xFC.txt;5\n",
         {{1, W, "read as Windows-1252, as older editors save, it is 'Men\xC3\xBC.txt'"},
          {1, E, "does not exist"}}},
        // 0x81 means nothing in Windows-1252, so there is no reading to offer.
        {"image;x\x81.bmp\n", {{1, W, "(byte 0x81) — it is looked up"}, {1, E, "not found"}}},
        {"image;D\xC3\xBCsenjet.bmp\n", {{1, E, "is not a BMP file"}}},
        // As an editor that read the byte as UTF-8 sends it to the language server.
        {"image;D\xEF\xBF\xBDsenjet.bmp\n",
         {{1, W, "holds U+FFFD, the character an editor shows"}, {1, E, "not found"}}},
    };
    for (const Case& c : cases) expectFindings(c);
    writeFile("config.txt", "LoadConfig;Men\xFC.txt;5\nimage;x\x81.bmp\n");
    const check::CheckReport report = check::checkFolder(folder.string());
    ASSERT_EQ(report.diagnostics.size(), 4u);
    EXPECT_EQ(report.diagnostics[0].code, std::string("name-not-utf8"));
    ASSERT_TRUE(report.diagnostics[0].fix);
    EXPECT_EQ(report.diagnostics[0].fix->text, "Men\xC3\xBC.txt");
    EXPECT_EQ(report.diagnostics[0].column, 11);
    EXPECT_EQ(report.diagnostics[0].endColumn, 19);
    EXPECT_EQ(report.diagnostics[2].code, std::string("name-not-utf8"));
    EXPECT_FALSE(report.diagnostics[2].fix);
#ifndef _WIN32
    // A folder may hold a name with these very bytes; the device then finds it, so the
    // name is not replaced, though it stays one that other systems cannot write.
    writeFile("Men\xFC.txt", "");
    writeFile("config.txt", "LoadConfig;Men\xFC.txt;5\n");
    const check::CheckReport same = check::checkFolder(folder.string());
    ASSERT_EQ(same.diagnostics.size(), 1u);
    EXPECT_EQ(same.diagnostics[0].code, std::string("name-not-utf8"));
    EXPECT_FALSE(same.diagnostics[0].fix);
#endif

    // The JSON report carries the finding as UTF-8, the name's odd byte spelt out.
    writeFile("config.txt", "image;D\xFCsenjet.bmp\n");
    std::string out;
    EXPECT_EQ(runCheck("--format json " + folder.string(), &out), 1);
    const nlohmann::json first = nlohmann::json::parse(out)["findings"][0];
    EXPECT_EQ(first["code"], "name-not-utf8");
    EXPECT_NE(first["message"].get<std::string>().find("D\\xFCsenjet"), std::string::npos);
    EXPECT_EQ(first["fix"]["text"], "D\xC3\xBCsenjet.bmp");
}

TEST_F(CheckTest, TheJsonReportHoldsEveryFindingWithColumnsCodeAndFix) {
    writeFile("show/config.txt", "LED;9;9;9;0\r\nled;1;1;1;1\r\nLED;7x;9;9;0\r\n");
    std::string out;
    EXPECT_EQ(runCheck("--format json " + (folder / "show").string(), &out), 1);
    const nlohmann::json report = nlohmann::json::parse(out);
    EXPECT_EQ(report["errors"], 1);
    EXPECT_EQ(report["warnings"], 1);
    EXPECT_EQ(report["files"], 1);
    ASSERT_EQ(report["findings"].size(), 2u);
    const nlohmann::json& first = report["findings"][0];
    // The shown name joins the folder as given and the file's name with '/', on Windows too.
    EXPECT_EQ(first["file"], (folder / "show").string() + "/config.txt");
    EXPECT_EQ(first["line"], 2);
    EXPECT_EQ(first["column"], 1);
    EXPECT_EQ(first["endColumn"], 4);
    EXPECT_EQ(first["severity"], "error");
    EXPECT_EQ(first["code"], "unknown-keyword");
    EXPECT_EQ(first["fix"]["text"], "LED");
    const nlohmann::json& second = report["findings"][1];
    EXPECT_EQ(second["code"], "trailing-text");
    EXPECT_EQ(second["line"], 3);
    EXPECT_EQ(second["column"], 5);
    EXPECT_EQ(second["endColumn"], 7);
    EXPECT_EQ(second["fix"]["text"], "7");

    writeFile("none/other.txt", "");
    EXPECT_EQ(runCheck("--format json " + (folder / "none").string(), &out), 1);
    const nlohmann::json missing = nlohmann::json::parse(out)["findings"][0];
    EXPECT_EQ(missing["code"], "file-not-found");
    EXPECT_TRUE(missing["line"].is_null());
    EXPECT_TRUE(missing["column"].is_null());
    EXPECT_TRUE(missing["fix"].is_null());
    EXPECT_EQ(runCheck("--format xml " + (folder / "none").string(), &out), 2);
}

// The finding codes in the sources (every string literal shaped like one) and the codes in
// the guide's table are the same set.
TEST(CheckCodes, EveryCodeIsInTheGuideAndTheGuideListsNoOther) {
    const auto matches = [](const std::string& text, const std::regex& pattern) {
        std::set<std::string> found;
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
            found.insert((*it)[1]);
        return found;
    };
    const std::regex literal(R"re("([a-z0-9]+(?:-[a-z0-9]+)+)")re");
    std::set<std::string> inSources;
    for (const char* folder : {"check", "core/instruments"})
        for (const auto& entry : fs::directory_iterator(test::sourcePath(folder)))
            if (entry.path().extension() == ".cpp")
                inSources.merge(matches(test::readWholeFile(entry.path()), literal));
    const std::set<std::string> inGuide =
        matches(test::readWholeFile(test::sourcePath("docs/configuration.md")),
                std::regex(R"(\n\| `([a-z0-9]+(?:-[a-z0-9]+)+)` \|)"));
    EXPECT_GE(inSources.size(), 50u);
    EXPECT_EQ(inSources, inGuide);
}

TEST(CheckExamples, TheDemoAndTheGalleryPassClean) {
    std::vector<fs::path> folders = {test::sourcePath("examples/demo")};
    for (const auto& entry : fs::directory_iterator(test::sourcePath("examples/gallery")))
        folders.push_back(entry.path());
    ASSERT_GE(folders.size(), 9u);
    for (const fs::path& f : folders) {
        const check::CheckReport report = check::checkFolder(f.string());
        EXPECT_GE(report.files, 1) << f;
        for (const check::Diagnostic& d : report.diagnostics)
            ADD_FAILURE() << check::formatDiagnostic(d);
    }
}

} // namespace
} // namespace orvanta
