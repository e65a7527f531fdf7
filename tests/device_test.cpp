// Devices are independent: everything a device keeps is its own, so two of them in one
// process run as if each were alone.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/device/device.h"
#include "platform/disk_folder.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

// One device on its own virtual clock, reading an example folder, with its trace kept.
struct DeviceRun {
    explicit DeviceRun(const std::string& example)
        : disk(sourcePath("examples/" + example)),
          device(std::make_unique<Device>(clock, disk, Trace(traceToString, &trace))) {}
    // A frame 1.1 s after the previous one, so the demo's chain switches within the run.
    void frame() {
        AllMandDObjectsRun(*device);
        clock.advance(1100);
        pictures.push_back(device->display.surface);
    }
    std::string trace;
    VirtualClock clock{10000};
    DiskFolder disk;
    std::unique_ptr<Device> device;
    std::vector<Surface> pictures;
};

TEST(DeviceIndependence, InterleavedDevicesMatchEachRunAlone) {
    // The demo loads pictures and follows its chain; the two galleries draw random
    // readings, so a shared random source or storage slot would show at once.
    const char* examples[] = {"demo", "gallery/kompass", "gallery/digit_counter"};
    constexpr int kFrames = 40;
    std::vector<std::unique_ptr<DeviceRun>> alone, together;
    for (const char* example : examples) {
        alone.push_back(std::make_unique<DeviceRun>(example));
        for (int i = 0; i < kFrames; ++i) alone.back()->frame();
        together.push_back(std::make_unique<DeviceRun>(example));
    }
    for (int i = 0; i < kFrames; ++i)
        for (auto& run : together) run->frame();
    for (std::size_t k = 0; k < std::size(examples); ++k) {
        SCOPED_TRACE(examples[k]);
        ASSERT_FALSE(alone[k]->trace.empty());
        EXPECT_EQ(together[k]->trace, alone[k]->trace);
        for (int i = 0; i < kFrames; ++i)
            EXPECT_EQ(std::memcmp(together[k]->pictures[i].pixels, alone[k]->pictures[i].pixels,
                                  sizeof(Surface)),
                      0)
                << "frame " << i;
    }
    EXPECT_NE(alone[0]->trace.find("LoadConfigFromSD Start\n", 100), std::string::npos)
        << "the demo switched to its second screen";
}

} // namespace
} // namespace orvanta::test
