// The Windows folder: names open exactly as written, as on every other system, and files
// read as raw bytes while other programs may rewrite or delete them.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/disk_folder.h"
#include "tests/support.h"

namespace orvanta {
namespace {

class WindowsFolderTest : public test::SystemTest {
  protected:
    std::string readAll(File& file) {
        std::string bytes(static_cast<std::size_t>(file.size()), '\0');
        bytes.resize(file.readAt(bytes.data(), bytes.size(), 0));
        return bytes;
    }
};

TEST_F(WindowsFolderTest, NamesMatchExactlyPartByPart) {
    writeFile("a.txt", "abc");
    writeFile("sub/inner.txt", "x");
    writeFile("longer name.text", "y");
    for (const char* name : {"a.txt", "sub/inner.txt", "./a.txt", "sub/../a.txt", "sub//inner.txt"})
        EXPECT_NE(disk.open(name), nullptr) << name;
    // Case, the dots and blanks Windows drops at the end, a backslash (part of a name
    // elsewhere), wildcards, a stream, devices, folders and nothing at all.
    for (const char* name :
         {"A.TXT", "Sub/inner.txt", "a.txt.", "a.txt ", "sub\\inner.txt", "a.tx?", "*.txt",
          "a.txt:x", "NUL", "con", "sub", ".", "", "missing.txt"})
        EXPECT_EQ(disk.open(name), nullptr) << name;
    // The short alias that Windows keeps for a long name is not the file's name.
    char alias[MAX_PATH] = "";
    const std::string full = (folder / "longer name.text").string();
    const DWORD n = GetShortPathNameA(full.c_str(), alias, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    const std::string shortName = std::filesystem::path(alias).filename().string();
    ASSERT_NE(shortName, "longer name.text");
    EXPECT_EQ(disk.open(shortName.c_str()), nullptr) << shortName;
    EXPECT_NE(disk.open("longer name.text"), nullptr);
}

TEST_F(WindowsFolderTest, ReadsRawBytesAtAnyOffset) {
    std::string content = std::string("a\r\nb\r\x1a\n\0", 8);
    for (int i = 0; i < 70000; ++i) content.push_back(static_cast<char>(i * 31 % 251));
    writeFile("big.bin", content);
    const auto file = disk.open("big.bin");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size(), static_cast<int64_t>(content.size()));
    EXPECT_EQ(readAll(*file), content);
    char buffer[16];
    EXPECT_EQ(file->readAt(buffer, 16, 65530), 16u);
    EXPECT_EQ(std::string(buffer, 16), content.substr(65530, 16));
    EXPECT_EQ(file->readAt(buffer, 16, static_cast<int64_t>(content.size()) - 3), 3u);
    EXPECT_EQ(file->readAt(buffer, 16, int64_t{1} << 40), 0u);
}

TEST_F(WindowsFolderTest, AnOpenFileCanBeRewrittenAndDeleted) {
    writeFile("config.txt", "first");
    const auto file = disk.open("config.txt");
    ASSERT_NE(file, nullptr);
    writeFile("config.txt", "second version");
    EXPECT_EQ(readAll(*file), "second version");
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::remove(folder / "config.txt", ec)) << ec.message();
}

} // namespace
} // namespace orvanta
