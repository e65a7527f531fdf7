#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "core/config/bmp.h"
#include "core/config/loader.h"
#include "core/device/device.h"
#include "core/display/surface.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"
#include "platform/disk_folder.h"
#include "tests/bmp_builder.h"

namespace orvanta {
namespace {

// A scratch folder with the benchmark's files; the trace is discarded so that only the
// loading itself is measured.
class Scratch {
  public:
    Scratch() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("orvanta-config-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        disk_ = std::make_unique<DiskFolder>(folder_.string());
        device_ = std::make_unique<Device>(clock_, *disk_);
    }
    ~Scratch() { std::filesystem::remove_all(folder_); }
    Device& device() { return *device_; }
    void write(const std::string& name, const std::string& content) {
        std::ofstream out(folder_ / name, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }

  private:
    std::filesystem::path folder_;
    VirtualClock clock_;
    std::unique_ptr<DiskFolder> disk_;
    std::unique_ptr<Device> device_;
};

void BM_DrawBmp128(benchmark::State& state) {
    Scratch scratch;
    test::BmpBuilder bmp;
    bmp.width = 128;
    bmp.height = 128;
    bmp.pixels = test::patternPixel;
    scratch.write("picture.bmp", bmp.build());
    Device& d = scratch.device();
    for (auto _ : state)
        benchmark::DoNotOptimize(drawBmp(d.display, d.storage, d.trace, "picture.bmp", 0, 0));
}
BENCHMARK(BM_DrawBmp128)->Unit(benchmark::kMicrosecond);

// Ten kinds of line in turn: instruments (of which only ten are kept), colour and other
// commands, an unknown keyword with many fields and an empty line.
void BM_LoadConfig10000Lines(benchmark::State& state) {
    Scratch scratch;
    const char* kinds[] = {"Tacho;10;10;20;100;2",
                           "SetColor;63488",
                           "SetBGColor;0",
                           "LoadConfig;config.txt;30",
                           "SetRotation;1",
                           "ShowFPS",
                           "Remark;line;with;a;few;fields;1;2;3",
                           "",
                           "Tacho;1;2;3;4;5;6;7;8;9;10",
                           "SetColor;31"};
    std::string content;
    for (int i = 0; i < 10000; ++i) content += std::string(kinds[i % 10]) + "\r\n";
    scratch.write("config.txt", content);
    LoadContext load = scratch.device().loadContext();
    for (auto _ : state) LoadConfigFromSD(load, "config.txt");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(content.size()));
}
BENCHMARK(BM_LoadConfig10000Lines)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvanta
