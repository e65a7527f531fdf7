// Fuzzes a picture file through drawBmp. The input is the whole file. Each input is drawn
// twice: at the origin, as an "image" line draws it, and at a position taken from the last
// eight bytes of the file, which exercises the clipping against every edge of the surface.
// Trailing bytes after the pixel data do not change how a picture reads, so seeds stay
// ordinary BMP files.
#include <cstddef>
#include <cstdint>

#include "config/bmp.h"
#include "config/storage.h"
#include "display/surface.h"
#include "fuzz/scratch_folder.h"
#include "host/trace.h"
#include "runtime/system.h"

namespace {

int32_t readTrailingInt32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvanta::setTraceSink(nullptr, nullptr);
    orvanta::setWorkingFolder(orvanta::fuzz::scratchFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta;
    fuzz::writeScratchFile("picture.bmp", data, size);

    static Surface surface;
    setDrawTarget(&surface);
    resetSystem();
    drawBmp("picture.bmp", 0, 0);
    if (size >= 8) {
        const uint8_t* tail = data + size - 8;
        drawBmp("picture.bmp", readTrailingInt32(tail), readTrailingInt32(tail + 4));
    }
    // The loader must leave the slot closed on every path.
    if (storageIsOpen()) __builtin_trap();
    setDrawTarget(nullptr);
    return 0;
}
