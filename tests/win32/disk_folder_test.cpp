// The Windows folder: names open exactly as written, as on every other system, and files
// read as raw bytes while other programs may rewrite or delete them.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/disk_folder.h"
#include "platform/folder_watcher.h"
#include "platform/utf8_path.h"
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

TEST_F(WindowsFolderTest, NamesBeyondTheCodePageAreUtf8ByteForByte) {
    // A card folder under a user's folder, and a file name, that no code page holds whole.
    const std::string under = "J\xC3\xBCrgen/\xC3\x89"
                              "clair \xE2\x9C\x88";
    const std::string name = "D\xC3\xBCsenjet \xE2\x9C\x88.txt";
    writeFile(under + "/" + name, "jet");
    DiskFolder card(utf8String(folder) + "/" + under);
    const auto file = card.open(name.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(*file), "jet");
    EXPECT_EQ(card.list(""), std::vector<std::string>{name});
    // The same name in an old editor's Windows-1252, and in the decomposed form a Mac
    // writes ('u' and a combining diaeresis), are other bytes and name no file.
    for (const char* other : {"D\xFCsenjet \xE2\x9C\x88.txt", "Du\xCC\x88senjet \xE2\x9C\x88.txt"})
        EXPECT_EQ(card.open(other), nullptr) << other;
    // The window and the language server learn of a save under the same UTF-8 name.
    FolderWatcher watcher(card.path());
    ASSERT_TRUE(watcher.watching());
    writeFile(under + "/" + name, "saved");
    std::vector<std::string> saved;
    for (int wait = 0; wait < 100 && saved.empty(); ++wait) {
        if (WaitForSingleObject(reinterpret_cast<HANDLE>(watcher.handle()), 50) == WAIT_OBJECT_0)
            saved = watcher.takeSaved();
    }
    EXPECT_EQ(saved, std::vector<std::string>{name});
}

} // namespace
} // namespace orvanta
