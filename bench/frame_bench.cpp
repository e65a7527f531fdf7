// One frame of the simulator as the renderer runs it: virtual clock, trace discarded.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "config/storage.h"
#include "display/surface.h"
#include "host/trace.h"
#include "runtime/clock.h"
#include "runtime/frame.h"
#include "runtime/system.h"

namespace {

using namespace orvanta;

// Loads `config` in a private folder, then times frames of its objects alone.
void runFrames(benchmark::State& state, const std::string& config) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("orvanta-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.txt") << config;
    Surface surface;
    VirtualClock clock(10000);
    resetSystem();
    setClock(&clock);
    setDrawTarget(&surface);
    setTraceSink(nullptr, nullptr);
    setWorkingFolder(folder.string());
    AllMandDObjectsRun(); // the load
    for (auto _ : state) {
        clock.advance(110); // far enough from the last frame that pacing never sleeps
        AllMandDObjectsRun();
    }
    state.SetItemsProcessed(state.iterations());
    resetSystem();
    setClock(nullptr);
    setDrawTarget(nullptr);
    setWorkingFolder("");
    std::filesystem::remove_all(folder);
}

void BM_FrameTenTachos(benchmark::State& state) {
    std::string config;
    for (int i = 0; i < 10; ++i) config += "Tacho;" + std::to_string(i * 12) + ";10;10;100;0\n";
    runFrames(state, config);
}
BENCHMARK(BM_FrameTenTachos);

void BM_FrameEmpty(benchmark::State& state) {
    runFrames(state, "");
}
BENCHMARK(BM_FrameEmpty);

} // namespace
