#include "platform/system_clock.h"

#include <windows.h>

namespace orvanta {

// The tick counter counts milliseconds since the system started and wraps after 2^32 ms,
// exactly as the device's millis() does.
uint32_t SystemClock::now() {
    return static_cast<uint32_t>(GetTickCount());
}

void SystemClock::sleep(uint32_t ms) {
    Sleep(static_cast<DWORD>(ms));
}

} // namespace orvanta
