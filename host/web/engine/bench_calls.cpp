// A measurement for the budgets benchmark: frames of a configuration on a device of their
// own, as the native frame benchmark runs them, timed inside the module.
#include <chrono>
#include <cstdint>
#include <memory>

#include "core/device/device.h"
#include "host/web/engine/engine_state.h"

extern "C" {

// Loads `config` as config.txt on a fresh device (recording who drew each pixel when
// `recordOwners` is 1), then runs `count` frames 110 ms apart, far enough that pacing never
// sleeps. Returns the milliseconds those frames took. The page's own device is untouched.
ORVANTA_EXPORT double orvanta_bench_frames(const char* config, uint32_t length, uint32_t count,
                                           int recordOwners) {
    orvanta::language::OverlayFolder folder;
    folder.put("config.txt", orvanta::web::bytesAt(config, length));
    orvanta::VirtualClock clock(10000);
    auto device = std::make_unique<orvanta::Device>(clock, folder);
    if (recordOwners != 0) device->recordOwners();
    orvanta::AllMandDObjectsRun(*device); // the load
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < count; ++i) {
        clock.advance(110);
        orvanta::AllMandDObjectsRun(*device);
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count();
}
}
