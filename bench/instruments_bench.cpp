// One frame of each instrument type, and one frame of a full display of all eight, as the
// renderer runs them: virtual clock without pacing sleeps, trace discarded.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/device/device.h"
#include "core/display/surface.h"
#include "core/runtime/clock.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"
#include "platform/disk_folder.h"

namespace {

using namespace orvanta;

// Loads `config` in a private folder, then times frames of its objects alone; with
// `recordOwners` the device also records which line drew each pixel; with `held` every
// object is held at the top of its reading.
void runFrames(benchmark::State& state, const std::string& config, bool recordOwners = false,
               bool held = false) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("orvanta-instruments-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.txt") << config;
    VirtualClock clock(10000);
    DiskFolder disk(folder.string());
    auto device = std::make_unique<Device>(clock, disk);
    if (recordOwners) device->recordOwners();
    AllMandDObjectsRun(*device); // the load
    for (int32_t i = 0; held && i < device->objectList.objectCount; ++i) {
        const MandDObject& object = *device->objectList.slots[i];
        const ReadingRange range = object.readingRange();
        if (range.kind != ReadingKind::None)
            device->readings.set(device->trace, device->objectList, device->config.thisConfigName,
                                 "config.txt", object.sourceLine, object.keyword, range,
                                 readingEnd(range, true));
    }
    for (auto _ : state) {
        clock.advance(110); // far enough from the last frame that pacing never sleeps
        AllMandDObjectsRun(*device);
    }
    state.SetItemsProcessed(state.iterations());
    std::filesystem::remove_all(folder);
}

void BM_FrameTenTachos(benchmark::State& state) {
    std::string config;
    for (int i = 0; i < 10; ++i) config += "Tacho;" + std::to_string(i * 12) + ";10;10;100;0\n";
    runFrames(state, config);
}
BENCHMARK(BM_FrameTenTachos);

// The frame's own overhead: the trace, the due check and the pacing.
void BM_FrameEmpty(benchmark::State& state) {
    runFrames(state, "");
}
BENCHMARK(BM_FrameEmpty);

void BM_FrameOneInstrument(benchmark::State& state, const char* line) {
    runFrames(state, std::string(line) + "\n");
}
BENCHMARK_CAPTURE(BM_FrameOneInstrument, Tacho, "Tacho;10;10;20;100;0");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, GyroHorizonRect, "GyroHorizonRect;0;0;64;48;0");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, Kompass, "Kompass;64;64;100;0");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, RoundPointer, "RoundPointer;64;64;100;-90;90");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, Radar, "Radar;64;64;100");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, DigitCounter, "DigitCounter;10;20;4;2;0");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, ToggleText, "ToggleText;10;40;GEAR DOWN;1;0");
BENCHMARK_CAPTURE(BM_FrameOneInstrument, LED, "LED;100;100;12;0");

// A full display: ten objects of all eight types at the sizes a cockpit page uses.
const char* const kAllInstruments = "GyroHorizonRect;0;0;64;48;0\n"
                                    "Kompass;96;32;60;0\n"
                                    "Tacho;56;70;12;50;0\n"
                                    "Tacho;72;70;12;50;2\n"
                                    "RoundPointer;28;96;56;-90;90\n"
                                    "Radar;100;100;52\n"
                                    "DigitCounter;2;52;4;1;0\n"
                                    "ToggleText;34;52;STALL;1;5\n"
                                    "LED;120;4;8;10\n"
                                    "LED;120;16;8;3\n";

void BM_FrameAllInstruments(benchmark::State& state) {
    runFrames(state, kAllInstruments);
}
BENCHMARK(BM_FrameAllInstruments);

// The same frame while the device records which line drew each pixel, as the windows do.
void BM_FrameAllInstrumentsRecordingOwners(benchmark::State& state) {
    runFrames(state, kAllInstruments, true);
}
BENCHMARK(BM_FrameAllInstrumentsRecordingOwners);

// The same frame with every object held at the top of its reading: what overrides cost.
void BM_FrameAllInstrumentsHeld(benchmark::State& state) {
    runFrames(state, kAllInstruments, false, true);
}
BENCHMARK(BM_FrameAllInstrumentsHeld);

} // namespace
