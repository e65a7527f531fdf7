#pragma once
// The seams' real implementations are the platform's: each system has its own folder of
// sources (platform/posix/ here) behind these headers.
#include "core/runtime/clock.h"

namespace orvanta {

// The monotonic clock of the machine (time since boot) and a real sleep.
class SystemClock final : public Clock {
  public:
    uint32_t now() override;
    void sleep(uint32_t ms) override;
};

} // namespace orvanta
