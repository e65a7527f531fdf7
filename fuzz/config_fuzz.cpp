// Fuzzes a whole configuration file: it is loaded as config.txt exactly as the first frame
// loads it, and a few frames then run its objects, so that every instrument's arithmetic
// and every drawing primitive sees the fuzzed sizes, positions and colours. The folder also
// holds two pictures and a second configuration, so that "image" and "LoadConfig" lines
// can name files that exist.
#include <cstddef>
#include <cstdint>

#include <memory>

#include "core/device/device.h"
#include "fuzz/scratch_folder.h"
#include "platform/disk_folder.h"

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
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::writeScratchFile("config.txt", data, size);

    VirtualClock clock(10000);
    DiskFolder disk(fuzz::scratchFolder());
    // A device at power-on for every input, destroyed with its objects at the end, so that
    // a leak shows up at once.
    auto device = std::make_unique<Device>(clock, disk);
    for (int frame = 0; frame < kFrames; ++frame) {
        AllMandDObjectsRun(*device);
        clock.advance(kStepMs);
    }
    return 0;
}
