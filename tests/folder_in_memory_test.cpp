// A folder held in memory, as the page hands its files over: it reads as a folder on disk
// does, and a session on it runs frame for frame as the renderer on disk does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/renderer.h"
#include "language/overlay_folder.h"
#include "media/image.h"
#include "session/chain_walk.h"
#include "session/frame_schedule.h"
#include "session/session.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

std::string readAll(File& file, int64_t offset, std::size_t n) {
    std::string out(n, '\0');
    out.resize(file.readAt(out.data(), n, offset));
    return out;
}

TEST(FolderInMemory, ReadsByExactNameAtAnyOffsetAndKeepsOpenFilesWhole) {
    language::OverlayFolder folder;
    folder.put("config.txt", std::string("Led;1;2\n"));
    folder.put(std::string("\xff\x01.bmp"), std::string("BM"));
    EXPECT_EQ(folder.open("CONFIG.TXT"), nullptr);
    EXPECT_EQ(folder.open("missing"), nullptr);
    ASSERT_NE(folder.open("\xff\x01.bmp"), nullptr);

    const auto file = folder.open("config.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size(), 8);
    EXPECT_EQ(readAll(*file, 0, 3), "Led");
    EXPECT_EQ(readAll(*file, 4, 100), "1;2\n"); // fewer bytes only at the end
    EXPECT_EQ(readAll(*file, 8, 4), "");
    EXPECT_EQ(readAll(*file, INT64_MAX, 4), "");
    EXPECT_EQ(readAll(*file, -1, 4), "");

    // Replaced or removed while open, the open file reads what it was opened on.
    folder.put("config.txt", std::string("x"));
    folder.remove("\xff\x01.bmp");
    EXPECT_EQ(readAll(*file, 0, 100), "Led;1;2\n");
    EXPECT_EQ(readAll(*folder.open("config.txt"), 0, 100), "x");
    EXPECT_EQ(folder.open("\xff\x01.bmp"), nullptr);
    EXPECT_EQ(folder.heldCount(), 1u);
}

// The demo read into memory and run on VirtualFrames gives the renderer's trace and picture:
// the seam and the frame schedule the page uses change nothing the device does.
TEST(FolderInMemory, ASessionOnItRunsAsTheRendererOnTheFolderOnDisk) {
    const fs::path demo = fs::path(ORVANTA_SOURCE_DIR) / "examples" / "demo";
    language::OverlayFolder folder;
    for (const auto& entry : fs::directory_iterator(demo)) {
        std::ifstream in(entry.path(), std::ios::binary);
        folder.put(entry.path().filename().string(),
                   std::string(std::istreambuf_iterator<char>(in), {}));
    }
    const uint64_t frames = 700;
    std::string trace;
    VirtualClock clock(10000);
    Session session(clock, folder, Trace(traceToString, &trace));
    VirtualFrames schedule(clock, 10000);
    for (uint64_t i = 0; i < frames; ++i) schedule.run(session);

    const fs::path out = fs::temp_directory_path() / "orvanta-memory-folder-test";
    fs::create_directories(out);
    cli::RenderOptions options;
    options.folder = demo.string();
    options.frames = frames;
    options.tracePath = (out / "trace").string();
    options.pngPath = (out / "last.png").string();
    const cli::RenderResult result = cli::render(options);
    ASSERT_EQ(result.exitCode, 0) << result.error;
    std::string rendered;
    {
        // Closed before the folder is removed, which Windows refuses for an open file.
        std::ifstream in(options.tracePath, std::ios::binary);
        rendered.assign(std::istreambuf_iterator<char>(in), {});
    }

    EXPECT_EQ(schedule.framesRun(), frames);
    EXPECT_EQ(schedule.lastEnd(), result.virtualMs);
    EXPECT_GT(trace.size(), 1000u);
    EXPECT_TRUE(trace == rendered) << "the traces differ";
    RgbImage last;
    ASSERT_TRUE(readPng(options.pngPath, &last));
    EXPECT_TRUE(last == imageFromSurface(session.surface(), 1)) << "the pictures differ";
    fs::remove_all(out);
}

// The file list's chain: the files in the order shown, ended by a file that chains back, by
// a missing successor or by the cap; held files in subfolders do not confuse the listing.
TEST(FolderInMemory, ChainWalkStopsAtARepeatAMissingFileOrTheCap) {
    language::OverlayFolder folder;
    folder.put("config.txt", "LoadConfig;b.txt;1\n");
    folder.put("b.txt", "LoadConfig;c.txt;1\n");
    folder.put("c.txt", "LoadConfig;config.txt;1\n");
    folder.put("sub/b.txt", "x");
    ChainWalk walk = walkChain(folder, 200);
    EXPECT_EQ(walk.chain, (std::vector<std::string>{"config.txt", "b.txt", "c.txt"}));
    EXPECT_FALSE(walk.missing.has_value());
    EXPECT_FALSE(walk.more);

    walk = walkChain(folder, 2);
    EXPECT_EQ(walk.chain.size(), 2u);
    EXPECT_TRUE(walk.more);

    folder.put("c.txt", "LoadConfig;gone.txt;1\n");
    walk = walkChain(folder, 200);
    EXPECT_EQ(walk.missing, std::optional<std::string>("gone.txt"));
    EXPECT_EQ(walk.chain.back(), "c.txt");

    folder.remove("config.txt");
    walk = walkChain(folder, 200);
    EXPECT_TRUE(walk.chain.empty());
    EXPECT_EQ(walk.missing, std::optional<std::string>("config.txt"));
}

} // namespace
} // namespace orvanta::test
