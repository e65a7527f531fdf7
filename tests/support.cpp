#include "tests/support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <utility>

#include "core/display/text.h"
#include "platform/utf8_path.h"

namespace orvanta::test {

namespace {
std::filesystem::path testFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return std::filesystem::temp_directory_path() /
           ("orvanta-test-" + std::to_string(::getpid()) + "-" + name);
}
} // namespace

SystemTest::SystemTest()
    : folder(testFolder()), disk(utf8String(folder)),
      owned(std::make_unique<Device>(clock, disk, Trace(traceToString, &trace_))), device(*owned),
      display(device.display), surface(display.surface), tft(display.tft), config(device.config),
      loading(device.loadContext()) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

void SystemTest::powerOn() {
    std::destroy_at(owned.get());
    std::construct_at(owned.get(), clock, disk, Trace(traceToString, &trace_));
}

SystemTest::~SystemTest() {
    std::filesystem::remove_all(folder);
}

void SystemTest::writeFile(const std::string& name, const std::string& content) {
    const std::filesystem::path path = folder / utf8Path(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string SystemTest::takeTrace() {
    std::string t;
    t.swap(trace_);
    return t;
}

int32_t SystemTest::pixel(int32_t x, int32_t y) const {
    return rgbToColor565(surface.at(x, y));
}

::testing::AssertionResult SystemTest::showsGlyph(int32_t cx, int32_t cy, int32_t scale, int entry,
                                                  int32_t fg, int32_t bg) const {
    for (int32_t dy = 0; dy < 8 * scale; ++dy)
        for (int32_t dx = 0; dx < 6 * scale; ++dx) {
            const int32_t px = cx + dx, py = cy + dy, col = dx / scale;
            if (px >= DISPLAY_SIZE || py >= DISPLAY_SIZE) continue;
            const bool set = col < 5 && ((glyphTable[entry][col] >> (dy / scale)) & 1) != 0;
            if (pixel(px, py) != (set ? fg : bg))
                return ::testing::AssertionFailure() << entry << ": pixel " << px << "," << py;
        }
    return ::testing::AssertionSuccess();
}

std::string sourcePath(const std::string& relative) {
    return std::string(ORVANTA_SOURCE_DIR) + "/" + relative;
}

int runCli(const std::string& arguments, std::string* out, std::string* err) {
    const std::string stem =
        (std::filesystem::temp_directory_path() / ("orvanta-cli-" + std::to_string(::getpid())))
            .string();
    const std::string command = std::string(ORVANTA_CLI_PATH) + " " + arguments + " >" + stem +
                                ".out " + (err != nullptr ? "2>" + stem + ".err" : "2>&1");
    const int status = std::system(command.c_str());
    for (auto [text, suffix] : {std::pair{out, ".out"}, std::pair{err, ".err"}}) {
        if (text != nullptr) *text = readWholeFile(stem + suffix);
        std::filesystem::remove(stem + suffix);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

::testing::AssertionResult matchesGolden(const RgbImage& image, const std::string& name) {
    const std::string goldenPath = sourcePath("tests/golden/" + name + ".png");
    const char* update = std::getenv("ORVANTA_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(sourcePath("tests/golden"));
        std::string error;
        if (!writePng(goldenPath, image, &error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }
    RgbImage golden;
    std::string error;
    if (!readPng(goldenPath, &golden, &error))
        return ::testing::AssertionFailure()
               << "golden picture missing or unreadable: " << error
               << " (run with ORVANTA_UPDATE_GOLDEN=1 to create it, then look at it)";
    if (golden == image) return ::testing::AssertionSuccess();
    const std::string outDir = std::string(ORVANTA_BINARY_DIR) + "/golden-mismatch";
    std::filesystem::create_directories(outDir);
    const std::string actualPath = outDir + "/" + name + ".actual.png";
    const std::string diffPath = outDir + "/" + name + ".diff.png";
    writePng(actualPath, image);
    int64_t differing = 0;
    if (golden.width == image.width && golden.height == image.height) {
        RgbImage diff = image;
        for (int32_t y = 0; y < image.height; ++y)
            for (int32_t x = 0; x < image.width; ++x) {
                const bool same = golden.pixel(x, y) == image.pixel(x, y);
                differing += same ? 0 : 1;
                // Matching pixels are dimmed so that the differences stand out.
                const uint32_t p = image.pixel(x, y);
                diff.setPixel(x, y, same ? (p >> 2) & 0x3F3F3F : 0xFF00FF);
            }
        writePng(diffPath, diff);
    }
    return ::testing::AssertionFailure()
           << "picture differs from golden '" << goldenPath << "' (" << image.width << "x"
           << image.height << " vs " << golden.width << "x" << golden.height << ", " << differing
           << " pixels differ); actual: " << actualPath << ", diff: " << diffPath;
}

} // namespace orvanta::test
