// The language server's wire level: UTF-16 columns, message framing and its recovery from
// broken headers, ranged document changes and file URIs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cli/lsp/documents.h"
#include "cli/lsp/framing.h"
#include "cli/lsp/line_index.h"
#include "cli/lsp/uri.h"

namespace orvanta::cli::lsp {
namespace {

// "é" is two bytes and one unit, "€" three bytes and one unit, "😀" four bytes and two.
const std::string kMixed = "a\xC3\xA9"
                           "b\xE2\x82\xAC"
                           "c\xF0\x9F\x98\x80"
                           "d";

TEST(LineIndexTest, ConvertsColumnsBothWaysAcrossCharacterSizes) {
    const LineIndex index(kMixed);
    struct Case {
        int32_t byte, unit;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{3, 2}, Case{4, 3}, Case{7, 4}, Case{8, 5},
                         Case{12, 7}, Case{13, 8}}) {
        EXPECT_EQ(index.toUtf16(0, c.byte), c.unit) << "byte " << c.byte;
        EXPECT_EQ(index.toByte(0, c.unit), c.byte) << "unit " << c.unit;
    }
    // Inside a character both directions round down to its start; beyond the line, to
    // the line's end.
    EXPECT_EQ(index.toUtf16(0, 2), 1);
    EXPECT_EQ(index.toUtf16(0, 10), 5);
    EXPECT_EQ(index.toByte(0, 6), 8); // between the halves of the surrogate pair
    EXPECT_EQ(index.toUtf16(0, 500), 8);
    EXPECT_EQ(index.toByte(0, 500), 13);
}

TEST(LineIndexTest, CountsLinesAsTheCheckerDoes) {
    const std::string text = "one\r\ntwo\rthree\n\xC3\xA9\r\n";
    const LineIndex index(text);
    ASSERT_EQ(index.lineCount(), 5);
    EXPECT_EQ(index.line(0), "one");
    EXPECT_EQ(index.line(1), "two");
    EXPECT_EQ(index.line(2), "three");
    EXPECT_EQ(index.line(3), "\xC3\xA9");
    EXPECT_EQ(index.line(4), "");
    // The line end is no part of the line, even at a column far beyond it.
    EXPECT_EQ(index.offset(0, 99), 3u);
    EXPECT_EQ(index.offset(3, 1), text.find("\r\n", 14));
    EXPECT_EQ(index.offset(9, 0), text.size());
}

TEST(LineIndexTest, CountsEachBrokenByteAsOneUnit) {
    // A lone continuation byte, a cut-short sequence, an overlong form and an encoded
    // surrogate: each byte is a character of its own.
    for (const std::string text : {"\x80x", "\xE2\x82x", "\xC0\xAFx", "\xED\xA0\x80x"}) {
        const LineIndex index(text);
        const auto bytes = static_cast<int32_t>(text.size());
        EXPECT_EQ(index.toUtf16(0, bytes), bytes);
        EXPECT_EQ(index.toByte(0, bytes - 1), bytes - 1);
    }
}

// Feeds `input` to a reader a few bytes at a time and collects what it reads.
std::vector<Frame> readAll(const std::string& input, std::size_t chunk = 3,
                           std::size_t maxBody = kMaxBody) {
    std::size_t at = 0;
    MessageReader reader(
        [&](char* buffer, std::size_t n) {
            const std::size_t take = std::min({n, chunk, input.size() - at});
            std::memcpy(buffer, input.data() + at, take);
            at += take;
            return take;
        },
        maxBody);
    std::vector<Frame> frames;
    for (Frame frame = reader.next(); frame.kind != Frame::Kind::End; frame = reader.next())
        frames.push_back(frame);
    return frames;
}

std::vector<std::string> describe(const std::vector<Frame>& frames) {
    std::vector<std::string> out;
    for (const Frame& f : frames) out.push_back(f.kind == Frame::Kind::Body ? f.body : "<bad>");
    return out;
}

TEST(FramingTest, ReadsFramesSplitAcrossReads) {
    const std::string input = frameMessage("{\"a\":1}") + "\r\n" +
                              "content-length:2\r\nContent-Type: x\r\n\r\n[]" + frameMessage("") +
                              frameMessage("{}");
    EXPECT_EQ(describe(readAll(input)), (std::vector<std::string>{"{\"a\":1}", "[]", "", "{}"}));
    EXPECT_EQ(describe(readAll(input, 1)), describe(readAll(input, 4096)));
}

TEST(FramingTest, RecoversAtTheNextContentLengthAfterABrokenHeader) {
    const std::string next = frameMessage("{\"ok\":1}");
    const std::vector<std::string> expected{"<bad>", "{\"ok\":1}"};
    for (const std::string broken :
         {"Content-Type: x\r\n\r\n{\"lost\":1}\r\n",         // no length at all
          "Content-Length: 7x\r\n\r\n{\"lost\"}\r\n",        // not a number
          "Content-Length: -1\r\n\r\n",                      // negative
          "Content-Length: 67108865\r\n\r\n{\"lost\":1}\n",  // over 64 MiB
          "Content-Length: 99999999999999999999999\r\n\r\n", // beyond any integer
          "garbage without a colon\r\n{\"lost\":1}\r\n"}) {  // not a header
        EXPECT_EQ(describe(readAll(broken + next)), expected) << broken;
    }
    // A body longer than its header said: its tail runs into the next header, which still
    // starts the next message.
    EXPECT_EQ(describe(readAll("Content-Length: 3\r\n\r\n{\"a\":1}" + next)),
              (std::vector<std::string>{"{\"a", "{\"ok\":1}"}));
    // A body of exactly the limit is accepted, one byte more is not.
    EXPECT_EQ(describe(readAll(frameMessage("[1]") + next, 3, 3)),
              (std::vector<std::string>{"[1]", "<bad>"}));
}

TEST(FramingTest, EndsAtACutShortBody) {
    EXPECT_TRUE(readAll("Content-Length: 10\r\n\r\n{}").empty());
    EXPECT_TRUE(readAll("Content-Length: 10\r\n").empty());
}

TEST(DocumentChangeTest, AppliesRangesCountedInUtf16Units) {
    const auto change = [](std::string text, int l0, int c0, int l1, int c1, const char* with) {
        applyChange(text, {{"range",
                            {{"start", {{"line", l0}, {"character", c0}}},
                             {"end", {{"line", l1}, {"character", c1}}}}},
                           {"text", with}});
        return text;
    };
    // After the astral character (two units), before the "d".
    EXPECT_EQ(change(kMixed, 0, 7, 0, 7, "!"), kMixed.substr(0, 12) + "!d");
    EXPECT_EQ(change("ab\r\ncd\r\nef", 0, 1, 2, 1, "X"), "aXf");
    EXPECT_EQ(change("ab\r\ncd", 1, 2, 0, 2, ""), "ab"); // reversed range
    EXPECT_EQ(change("ab", 5, 0, 9, 9, "\nc"), "ab\nc"); // beyond the end
    EXPECT_EQ(change("ab", -3, -1, 0, 1, "X"), "Xb");    // negative numbers
    std::string text = "old";
    applyChange(text, {{"text", "new"}});
    EXPECT_EQ(text, "new");
}

TEST(UriTest, FindsTheCardFolderOfAFileUri) {
    const auto located = locateFileUri("file:///home/pilot/My%20Cards/c%C3%A9/config.txt");
    ASSERT_TRUE(located);
    EXPECT_EQ(located->folder, "/home/pilot/My Cards/c\xC3\xA9");
    EXPECT_EQ(located->name, "config.txt");
    EXPECT_EQ(locateFileUri(fileUri(located->folder, located->name))->folder, located->folder);
    EXPECT_EQ(fileUri("/a b", "p#1.bmp"), "file:///a%20b/p%231.bmp");
    EXPECT_EQ(locateFileUri("file:///config.txt")->folder, "/");
    for (const char* other : {"untitled:Untitled-1", "file:///cards/", "http://x/y.txt", "file://",
                              "file:///a/b%00c.txt"})
        EXPECT_FALSE(locateFileUri(other)) << other;
}

TEST(UriTest, ReadsWindowsFormsAsOneDrivePath) {
    // The form most clients send and VS Code's, with its escaped colon and small letter,
    // name the same card folder; a backslash that a client left in counts as a separator.
    for (const char* uri : {"file:///C:/Users/J%C3%BCrgen/%C3%89clair%20%E2%9C%88/config.txt",
                            "file:///c%3A/Users/J%C3%BCrgen/%C3%89clair%20%E2%9C%88/config.txt",
                            "file:///c:/Users%5CJ%C3%BCrgen/%C3%89clair%20%E2%9C%88/config.txt"}) {
        const auto located = locateFileUri(uri, PathStyle::Windows);
        ASSERT_TRUE(located) << uri;
        EXPECT_EQ(located->folder, "C:/Users/J\xC3\xBCrgen/\xC3\x89"
                                   "clair \xE2\x9C\x88")
            << uri;
        EXPECT_EQ(located->name, "config.txt");
        // The Linux reading keeps the path as it stands.
        EXPECT_EQ(locateFileUri(uri, PathStyle::Posix)->folder[0], '/') << uri;
    }
    const auto root = locateFileUri("file:///d%3a/config.txt", PathStyle::Windows);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->folder, "D:/");
    const auto shared = locateFileUri("file://flight-pc/cards/jet/a.txt", PathStyle::Windows);
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->folder, "//flight-pc/cards/jet");
    // Back to URIs that read as the same folders again.
    for (const FileLocation& place : {*root, *shared}) {
        const std::string again = fileUri(place.folder, place.name, PathStyle::Windows);
        EXPECT_EQ(locateFileUri(again, PathStyle::Windows)->folder, place.folder) << again;
    }
    EXPECT_EQ(fileUri("C:/J\xC3\xBCrgen", "a b.txt", PathStyle::Windows),
              "file:///C:/J%C3%BCrgen/a%20b.txt");
    EXPECT_EQ(fileUri("//flight-pc/cards", "a.txt", PathStyle::Windows),
              "file://flight-pc/cards/a.txt");
}

} // namespace
} // namespace orvanta::cli::lsp
