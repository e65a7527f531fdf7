#include "platform/system_clock.h"

#include <ctime>

namespace orvanta {

uint32_t SystemClock::now() {
    timespec ts{};
    // Boot time keeps counting through suspend, like the device's tick counter.
    clock_gettime(CLOCK_BOOTTIME, &ts);
    const uint64_t ms =
        static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SystemClock::sleep(uint32_t ms) {
    timespec request{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&request, &request) != 0) {
    }
}

} // namespace orvanta
