// The yardstick the other figures are compared with, writing every pixel of the surface
// once, together with the colour conversions, a picture far larger than the surface and
// one frame of the busiest demo screen. bench/run divides each figure by the
// BM_ReferenceClearDisplay time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/config/bmp.h"
#include "core/config/config_state.h"
#include "core/config/loader.h"
#include "core/device/device.h"
#include "core/display/surface.h"
#include "core/runtime/clock.h"
#include "core/runtime/objects.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"
#include "platform/disk_folder.h"
#include "tests/bmp_builder.h"

namespace orvanta {
namespace {

// The cheapest way to write all 16,384 pixels: one colour conversion, then a plain fill.
void BM_ReferenceClearDisplay(benchmark::State& state) {
    static Display display;
    int32_t colour = 0x965C;
    for (auto _ : state) {
        clearDisplay(display, colour);
        colour ^= 0xFFFF;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * DISPLAY_SIZE * DISPLAY_SIZE);
}
BENCHMARK(BM_ReferenceClearDisplay);

// All 16,384 pixels through the single-pixel path the glyph renderer uses: a range check
// and a colour conversion per pixel.
void BM_ReferencePlotEveryPixel(benchmark::State& state) {
    static Display display;
    int32_t colour = 0x965C;
    for (auto _ : state) {
        for (int32_t y = 0; y < DISPLAY_SIZE; ++y)
            for (int32_t x = 0; x < DISPLAY_SIZE; ++x) plot(display, x, y, colour + x);
        colour ^= 0xFFFF;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * DISPLAY_SIZE * DISPLAY_SIZE);
}
BENCHMARK(BM_ReferencePlotEveryPixel);

// Every one of the 65,536 RGB565 values once per iteration.
void BM_Color565ToRgbAllValues(benchmark::State& state) {
    for (auto _ : state) {
        for (int32_t c = 0; c < 0x10000; ++c) benchmark::DoNotOptimize(color565ToRgb(c));
    }
    state.SetItemsProcessed(state.iterations() * 0x10000);
}
BENCHMARK(BM_Color565ToRgbAllValues);

// The inverse, over the 65,536 surface colours the first conversion produces (as the
// window's cursor read-back meets them), spread over the whole 24-bit range.
void BM_RgbToColor565AllValues(benchmark::State& state) {
    for (auto _ : state) {
        for (uint32_t i = 0; i < 0x10000; ++i) {
            const Rgb24 word = (i * 0x9E3779B1u) & 0xFFFFFFu;
            benchmark::DoNotOptimize(rgbToColor565(word));
        }
    }
    state.SetItemsProcessed(state.iterations() * 0x10000);
}
BENCHMARK(BM_RgbToColor565AllValues);

// A 4096 x 4096 picture in a scratch folder, built once per process (48 MB) however often
// the benchmark below is invoked, and removed when the process ends.
class HugePicture {
  public:
    HugePicture()
        : folder_(std::filesystem::temp_directory_path() /
                  ("orvanta-reference-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
        test::BmpBuilder bmp;
        bmp.width = 4096;
        bmp.height = 4096;
        bmp.pixels = test::patternPixel;
        const std::string bytes = bmp.build();
        std::ofstream(folder_ / "huge.bmp", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~HugePicture() { std::filesystem::remove_all(folder_); }
    std::string folder() const { return folder_.string(); }

  private:
    std::filesystem::path folder_;
};

// The picture at the origin: only its top-left 128 x 128 pixels land on the surface, so
// the loader should cost about what a 128 x 128 picture does, not 1024 times that.
void BM_DrawBmp4096Clipped(benchmark::State& state) {
    static const HugePicture picture;
    VirtualClock clock;
    DiskFolder disk(picture.folder());
    auto device = std::make_unique<Device>(clock, disk);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            drawBmp(device->display, device->storage, device->trace, "huge.bmp", 0, 0));
}
BENCHMARK(BM_DrawBmp4096Clipped)->Unit(benchmark::kMicrosecond);

// The demo screen with the most objects, found by loading each of its files; ties go to
// the first name in order.
std::string busiestDemoScreen(Clock& clock, Folder& disk, const std::string& folder,
                              int32_t* objects) {
    std::string best;
    *objects = -1;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".txt") names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        auto device = std::make_unique<Device>(clock, disk);
        LoadContext load = device->loadContext();
        LoadConfigFromSD(load, name.c_str());
        if (device->objectList.objectCount > *objects) {
            *objects = device->objectList.objectCount;
            best = name;
        }
    }
    return best;
}

// One frame of that screen as the renderer runs it: virtual clock without pacing sleeps,
// trace discarded, and the screen held so that its timed successor never replaces it.
void BM_FrameBusiestDemoScreen(benchmark::State& state) {
    const std::string folder = std::string(ORVANTA_SOURCE_DIR) + "/examples/demo";
    if (!std::filesystem::is_directory(folder)) {
        state.SkipWithError("examples/demo is missing");
        return;
    }
    VirtualClock clock(10000);
    DiskFolder disk(folder);
    int32_t objects = 0;
    const std::string screen = busiestDemoScreen(clock, disk, folder, &objects);
    auto device = std::make_unique<Device>(clock, disk);
    copyConfigName(device->config.nextConfigName, screen.c_str());
    AllMandDObjectsRun(*device);          // the load, its picture included
    device->config.next_config_load = -1; // compared as unsigned: never due
    for (auto _ : state) {
        clock.advance(110); // far enough from the last frame that pacing never sleeps
        AllMandDObjectsRun(*device);
    }
    state.SetLabel(screen + ", " + std::to_string(objects) + " objects");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameBusiestDemoScreen);

} // namespace
} // namespace orvanta
