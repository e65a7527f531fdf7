#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/storage/storage.h"
#include "tests/support.h"

namespace orvanta {
namespace {

class StorageTest : public test::SystemTest {};

TEST_F(StorageTest, OnlyRegularFilesOpenAndEveryOpenEmptiesTheSlotFirst) {
    writeFile("a.txt", "abc");
    writeFile("sub/inner.txt", "x");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(storageOpen(device.storage, nullptr), 0);
    for (const char* name : {"missing.txt", "A.TXT", "sub", "pipe", "", "."}) {
        ASSERT_EQ(storageOpen(device.storage, "a.txt"), 0);
        EXPECT_EQ(storageOpen(device.storage, name), -1) << name;
        EXPECT_FALSE(storageIsOpen(device.storage)) << name;
    }
    EXPECT_EQ(storageOpen(device.storage, "sub/inner.txt"), 0);
    EXPECT_EQ(storageOpen(device.storage, nullptr), 0);
    EXPECT_FALSE(storageIsOpen(device.storage));
}

TEST_F(StorageTest, ReadsRawBytesAtEverySeekPosition) {
    std::string content = std::string("a\r\nb\r\x1a\n\0", 8);
    for (int i = 0; i < 200000; ++i) content.push_back(static_cast<char>(i * 31 % 251));
    writeFile("big.bin", content);
    ASSERT_EQ(storageOpen(device.storage, "big.bin"), 0);
    // Positions inside and across the read cache, a request larger than it, the end of
    // the file and beyond it, and a negative offset, which lies beyond every end.
    const struct {
        int64_t offset;
        uint32_t n;
    } cases[] = {{0, 10},     {5, 3},          {65530, 20},     {200004, 600}, {1, 1},
                 {0, 200008}, {131072, 70000}, {200008, 4},     {5000000, 4},  {65535, 2},
                 {-1, 4},     {INT64_MAX, 1},  {-4000000000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        storageSeek(device.storage, c.offset);
        std::string got(c.n + 1, '.');
        uint32_t count = 99;
        storageRead(device.storage, got.data(), c.n, &count);
        const std::string want = c.offset >= 0 && c.offset < int64_t(content.size())
                                     ? content.substr(std::size_t(c.offset), c.n)
                                     : "";
        EXPECT_EQ(count, want.size());
        EXPECT_EQ(got, want + std::string(c.n + 1 - want.size(), '.'));
        // Reading goes on where the last read stopped.
        char next = '?';
        storageRead(device.storage, &next, 1, &count);
        const std::size_t after = std::size_t(c.offset) + want.size();
        if (!want.empty() && after < content.size()) {
            EXPECT_EQ(next, content[after]);
        }
    }
    // With no file open nothing is read and the count is left alone.
    storageOpen(device.storage, nullptr);
    char byte = 'q';
    uint32_t count = 77;
    EXPECT_EQ(storageSeek(device.storage, 0), 0);
    EXPECT_EQ(storageRead(device.storage, &byte, 1, &count), 0);
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(byte, 'q');
}

TEST_F(StorageTest, LittleEndianReadsCountMissingBytesAsZero) {
    const struct {
        std::string bytes;
        bool wide;
        int32_t want;
    } cases[] = {{"\x42\x4d", false, 19778},
                 {"\x05", false, 5},
                 {"", false, 0},
                 {"\xff\xff", false, 65535},
                 {std::string("\x28\0\0\0", 4), true, 40},
                 {"\x80\xff\xff\xff", true, -128},
                 {std::string("\x01\x02\0", 3), true, 0x0201},
                 {std::string("\0\0\0\x80", 4), true, INT32_MIN},
                 {"", true, 0}};
    for (const auto& c : cases) {
        writeFile("le.bin", c.bytes);
        ASSERT_EQ(storageOpen(device.storage, "le.bin"), 0);
        EXPECT_EQ(c.wide ? readLE32(device.storage) : readLE16(device.storage), c.want)
            << testing::PrintToString(c.bytes);
    }
    storageOpen(device.storage, nullptr);
    EXPECT_EQ(readLE16(device.storage) + readLE32(device.storage), 0);
}

// Line reading must see exactly what reading one byte at a time sees: the same lines, the
// same last bytes and the same positions, across the read cache and around seeks.
TEST_F(StorageTest, LineReadingMatchesByteReading) {
    std::string content = std::string("Tacho;1\r\n\nx\0y\rlast", 18);
    content += std::string(70000, 'L') + "\n" + std::string(5, '\0');
    writeFile("lines.txt", content);
    for (const int64_t start :
         {int64_t{0}, int64_t{3}, int64_t{65535}, int64_t{70020}, int64_t{-1}}) {
        std::vector<std::string> bulk, single;
        ASSERT_EQ(storageOpen(device.storage, "lines.txt"), 0);
        storageSeek(device.storage, start);
        for (;;) {
            std::string line;
            unsigned char last = 0;
            const int64_t n = storageReadLine(device.storage, line, &last);
            if (n == 0) break;
            bulk.push_back(line + "|" + std::to_string(last) + "|" + std::to_string(n));
        }
        ASSERT_EQ(storageOpen(device.storage, "lines.txt"), 0);
        storageSeek(device.storage, start);
        std::string line;
        int64_t n = 0;
        for (;;) {
            unsigned char byte = 0;
            uint32_t count = 0;
            storageRead(device.storage, &byte, 1, &count);
            if (count == 0) break;
            ++n;
            const bool end = byte == '\n' || byte == '\r';
            if (!end) line.push_back(static_cast<char>(byte));
            if (end) {
                single.push_back(line + "|" + std::to_string(byte) + "|" + std::to_string(n));
                line.clear();
                n = 0;
            }
        }
        if (n > 0)
            single.push_back(line + "|" + std::to_string(static_cast<unsigned char>(line.back())) +
                             "|" + std::to_string(n));
        EXPECT_EQ(bulk, single) << "from " << start;
    }
}

} // namespace
} // namespace orvanta
