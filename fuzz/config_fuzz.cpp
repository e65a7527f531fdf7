// Fuzzes a whole configuration file: it is loaded as config.txt exactly as the first frame
// loads it, and a few frames then run its objects, so that every instrument's arithmetic
// and every drawing primitive sees the fuzzed sizes, positions and colours. The folder also
// holds two pictures and a second configuration, so that "image" and "LoadConfig" lines
// can name files that exist.
#include <cstddef>
#include <cstdint>

#include "config/storage.h"
#include "display/surface.h"
#include "fuzz/scratch_folder.h"
#include "host/trace.h"
#include "runtime/clock.h"
#include "runtime/frame.h"
#include "runtime/system.h"

namespace {

using namespace orvanta;

// Frames per input. The clock jumps a little over a second between frames, so a chain
// with delay 0 switches files in every frame.
constexpr int kFrames = 6;
constexpr uint32_t kStepMs = 1100;

void prepareFolder() {
    fuzz::writeScratchFile("p.bmp", fuzz::gradientBmp(16, 16));
    fuzz::writeScratchFile("t.bmp", fuzz::gradientBmp(3, -5));
    fuzz::writeScratchFile("next.txt", "Radar;64;64;100\nimage;p.bmp\nTacho;0;0;20;60;0\n"
                                       "LoadConfig;config.txt;0\n");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepareFolder();
    setTraceSink(nullptr, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::writeScratchFile("config.txt", data, size);

    static Surface surface;
    VirtualClock clock(10000);
    setClock(&clock);
    setDrawTarget(&surface);
    setWorkingFolder(fuzz::scratchFolder());
    resetSystem();
    for (int frame = 0; frame < kFrames; ++frame) {
        AllMandDObjectsRun();
        clock.advance(kStepMs);
    }
    // Objects created by the input are destroyed here, so that a leak shows up at once.
    resetSystem();
    setClock(nullptr);
    setDrawTarget(nullptr);
    return 0;
}
