// The documentation stays true to the program: every picture listed in
// docs/images/pictures.txt is what orvanta-cli renders today, and the guide documents every
// keyword of the keyword table with its fields in order.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/config/keywords.h"
#include "media/image.h"
#include "tests/support.h"

namespace orvanta {
namespace {

namespace fs = std::filesystem;

struct PictureEntry {
    std::string output, folder, options;
    bool converted = false;
};

// The rows of a picture list, read exactly as scripts/make-doc-pictures reads them: the
// rendered pictures, or with `converted` those made by the picture converter.
std::vector<PictureEntry> pictureList(bool converted = false) {
    std::istringstream in(test::readWholeFile(
        test::sourcePath(converted ? "docs/images/converted.txt" : "docs/images/pictures.txt")));
    std::vector<PictureEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        PictureEntry e;
        if (!(words >> e.output) || e.output[0] == '#') continue;
        words >> e.folder;
        std::getline(words, e.options);
        e.converted = converted;
        entries.push_back(e);
    }
    return entries;
}

bool isGif(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".gif") == 0;
}

TEST(DocsPictures, EveryCommittedPictureIsWhatTheProgramRendersNow) {
    std::vector<PictureEntry> entries = pictureList();
    ASSERT_GE(entries.size(), 9u);
    for (const PictureEntry& e : pictureList(true)) entries.push_back(e);
    const fs::path scratch =
        fs::temp_directory_path() / ("orvanta-docs-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    for (const PictureEntry& e : entries) {
        const fs::path fresh = scratch / e.output;
        const std::string arguments =
            e.converted
                ? "picture " + test::sourcePath(e.folder) + " " + (scratch / "out.bmp").string() +
                      " --preview " + fresh.string() + e.options
                : "render " + test::sourcePath(e.folder) + " " + e.options +
                      (isGif(e.output) ? " --gif " : " --png ") + fresh.string();
        ASSERT_EQ(test::runCli(arguments), 0) << arguments;
        const fs::path committed = test::sourcePath("docs/images/" + e.output);
        const std::string hint =
            e.output + " is out of date: run scripts/make-doc-pictures and look at it";
        if (isGif(e.output)) {
            // The encoder is deterministic, so equal animations have equal bytes.
            EXPECT_TRUE(test::readWholeFile(committed) == test::readWholeFile(fresh)) << hint;
            continue;
        }
        RgbImage want, got;
        std::string error;
        ASSERT_TRUE(readPng(committed.string(), &want, &error)) << error << "; " << hint;
        ASSERT_TRUE(readPng(fresh.string(), &got, &error)) << error;
        EXPECT_TRUE(want == got) << hint;
    }
    fs::remove_all(scratch);
}

TEST(DocsGuide, DocumentsEveryKeywordWithItsFieldsInOrderAndShowsEveryPicture) {
    const std::string guide = test::readWholeFile(test::sourcePath("docs/configuration.md"));
    const std::string readme = test::readWholeFile(test::sourcePath("README.md"));
    for (int32_t i = 0; i < keywordCount(); ++i) {
        const KeywordSpec& spec = keywordTable()[i];
        std::string syntax = std::string("Syntax: `") + spec.name;
        for (int32_t f = 0; f < spec.fieldCount; ++f)
            syntax += std::string(";") + spec.fields[f].name;
        syntax += "`";
        EXPECT_NE(guide.find("### " + std::string(spec.name) + "\n"), std::string::npos)
            << spec.name;
        EXPECT_NE(guide.find(syntax), std::string::npos) << "missing or stale: " << syntax;
        for (int32_t f = 0; f < spec.fieldCount; ++f)
            EXPECT_NE(guide.find("| " + std::to_string(f + 1) + " | " + spec.fields[f].name +
                                 " | " + spec.fields[f].meaning + " |"),
                      std::string::npos)
                << spec.name << " field " << spec.fields[f].name;
    }
    std::vector<PictureEntry> shown = pictureList();
    for (const PictureEntry& e : pictureList(true)) shown.push_back(e);
    for (const PictureEntry& e : shown)
        EXPECT_TRUE(guide.find("images/" + e.output) != std::string::npos ||
                    readme.find("docs/images/" + e.output) != std::string::npos)
            << e.output << " is rendered but shown nowhere";
}

} // namespace
} // namespace orvanta
