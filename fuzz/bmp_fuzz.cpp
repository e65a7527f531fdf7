// Fuzzes a picture file through drawBmp. The input is the whole file. Each input is drawn
// twice: at the origin, as an "image" line draws it, and at a position taken from the last
// eight bytes of the file, which exercises the clipping against every edge of the surface.
// Trailing bytes after the pixel data do not change how a picture reads, so seeds stay
// ordinary BMP files.
#include <cstddef>
#include <cstdint>

#include <memory>

#include "core/config/bmp.h"
#include "core/device/device.h"
#include "fuzz/scratch_folder.h"
#include "platform/disk_folder.h"

namespace {

int32_t readTrailingInt32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta;
    fuzz::writeScratchFile("picture.bmp", data, size);

    static VirtualClock clock;
    static DiskFolder disk(fuzz::scratchFolder());
    static Device device(clock, disk);
    drawBmp(device.display, device.storage, device.trace, "picture.bmp", 0, 0);
    if (size >= 8) {
        const uint8_t* tail = data + size - 8;
        drawBmp(device.display, device.storage, device.trace, "picture.bmp",
                readTrailingInt32(tail), readTrailingInt32(tail + 4));
    }
    // The loader must leave the slot closed on every path.
    if (storageIsOpen(device.storage)) __builtin_trap();
    return 0;
}
