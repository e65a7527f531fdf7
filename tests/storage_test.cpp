#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "config/storage.h"
#include "tests/support.h"

namespace orvanta {
namespace {

class StorageTest : public test::SystemTest {};

std::string readAll(uint32_t chunk) {
    std::string out;
    std::vector<char> buffer(chunk);
    for (;;) {
        uint32_t count = 0;
        storageRead(buffer.data(), chunk, &count);
        if (count == 0) return out;
        out.append(buffer.data(), count);
    }
}

TEST_F(StorageTest, OpeningClosesThePreviousFileAndFailuresLeaveTheSlotEmpty) {
    writeFile("a.txt", "abc");
    EXPECT_EQ(storageOpen(nullptr), 0);
    EXPECT_FALSE(storageIsOpen());
    ASSERT_EQ(storageOpen("a.txt"), 0);
    EXPECT_TRUE(storageIsOpen());
    EXPECT_EQ(storageOpen("missing.txt"), -1);
    EXPECT_FALSE(storageIsOpen());
    ASSERT_EQ(storageOpen("a.txt"), 0);
    EXPECT_EQ(storageOpen(nullptr), 0);
    EXPECT_FALSE(storageIsOpen());
    // Names are used as they stand: no case folding.
    EXPECT_EQ(storageOpen("A.TXT"), -1);
}

TEST_F(StorageTest, OnlyRegularFilesOpen) {
    std::filesystem::create_directories(folder / "sub");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    for (const char* name : {"sub", "pipe", "", "."}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(storageOpen(name), -1);
        EXPECT_FALSE(storageIsOpen());
    }
    writeFile("sub/inner.txt", "x");
    EXPECT_EQ(storageOpen("sub/inner.txt"), 0);
}

TEST_F(StorageTest, DeliversRawBytesWhateverTheChunkSize) {
    std::string content = "line\r\nnext\r\x1a\n";
    content.push_back('\0');
    for (int i = 0; i < 70000; ++i) content.push_back(static_cast<char>(i * 31 % 251));
    writeFile("raw.bin", content);
    for (uint32_t chunk : {1u, 7u, 600u, 65536u, 200000u}) {
        SCOPED_TRACE(chunk);
        ASSERT_EQ(storageOpen("raw.bin"), 0);
        EXPECT_EQ(readAll(chunk), content);
    }
}

TEST_F(StorageTest, ShortReadsFillOnlyWhatTheFileHolds) {
    writeFile("f.bin", std::string(384, 'x'));
    ASSERT_EQ(storageOpen("f.bin"), 0);
    std::vector<char> buffer(600, '.');
    uint32_t count = 12345;
    storageRead(buffer.data(), 600, &count);
    EXPECT_EQ(count, 384u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 384), std::string(384, 'x'));
    EXPECT_EQ(std::string(buffer.begin() + 384, buffer.end()), std::string(216, '.'));
    buffer.assign(600, '.');
    storageRead(buffer.data(), 600, &count);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(buffer, std::vector<char>(600, '.'));

    // With no file open neither the buffer nor the count changes.
    storageOpen(nullptr);
    count = 77;
    storageRead(buffer.data(), 600, &count);
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(buffer, std::vector<char>(600, '.'));
    EXPECT_EQ(storageSeek(5), 0);
}

TEST_F(StorageTest, SeeksLandOnTheFileOffsetInsideAndOutsideTheCache) {
    std::string content;
    for (int i = 0; i < 200000; ++i) content.push_back(static_cast<char>(i % 253));
    writeFile("big.bin", content);
    ASSERT_EQ(storageOpen("big.bin"), 0);
    struct Case {
        int64_t offset;
        uint32_t n;
    };
    const Case cases[] = {{0, 10},      {5, 3},          {65530, 20}, {199990, 600},
                          {1, 1},       {131072, 70000}, {100, 100},  {200000, 4},
                          {5000000, 4}, {65535, 2},      {0, 200000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        storageSeek(c.offset);
        std::string got(c.n, '\0');
        uint32_t count = 0;
        storageRead(got.data(), c.n, &count);
        const std::string want = c.offset < static_cast<int64_t>(content.size())
                                     ? content.substr(static_cast<std::size_t>(c.offset), c.n)
                                     : std::string();
        EXPECT_EQ(got.substr(0, count), want);
        // Reading goes on from where the last read stopped.
        char next = 0;
        storageRead(&next, 1, &count);
        const int64_t after = c.offset + static_cast<int64_t>(want.size());
        if (after < static_cast<int64_t>(content.size()))
            EXPECT_EQ(next, content[static_cast<std::size_t>(after)]);
        else
            EXPECT_EQ(count, 0u);
    }
    // A negative offset lies beyond the end: nothing more is delivered.
    storageSeek(-1);
    char byte = 'q';
    uint32_t count = 9;
    storageRead(&byte, 1, &count);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(byte, 'q');
    storageSeek(INT64_MAX);
    storageRead(&byte, 1, &count);
    EXPECT_EQ(count, 0u);
}

TEST_F(StorageTest, LittleEndianReadsCountMissingBytesAsZero) {
    struct Case {
        std::string bytes;
        bool wide;
        int32_t want;
    };
    const Case cases[] = {
        {"\x42\x4d", false, 19778},
        {"\x05", false, 5},
        {"", false, 0},
        {"\xff\xff", false, 65535},
        {std::string("\x28\x00\x00\x00", 4), true, 40},
        {"\x80\xff\xff\xff", true, -128},
        {std::string("\x01\x02\x00", 3), true, 0x0201},
        {"\xff\xff\xff\x7f", true, INT32_MAX},
        {std::string("\x00\x00\x00\x80", 4), true, INT32_MIN},
        {"", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        writeFile("le.bin", c.bytes);
        ASSERT_EQ(storageOpen("le.bin"), 0);
        EXPECT_EQ(c.wide ? readLE32() : readLE16(), c.want);
    }
    storageOpen(nullptr);
    EXPECT_EQ(readLE16(), 0);
    EXPECT_EQ(readLE32(), 0);
}

} // namespace
} // namespace orvanta
