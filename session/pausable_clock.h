#pragma once
#include <cstdint>

#include "core/runtime/clock.h"

namespace orvanta {

// The clock a paused window gives its device: the platform's clock less the time spent
// paused, so that while paused the simulated time stands still and after a resume a timed
// switch comes as late as the running time says, neither missed nor rushed.
class PausableClock final : public Clock {
  public:
    explicit PausableClock(Clock& base) : base_(base) {}
    uint32_t now() override { return paused_ ? frozen_ : base_.now() - pausedTotal_; }
    void sleep(uint32_t ms) override { base_.sleep(ms); }
    void pause();
    void resume();
    bool paused() const { return paused_; }
    // The platform's own reading, which runs on while paused.
    uint32_t baseNow() { return base_.now(); }

  private:
    Clock& base_;
    bool paused_ = false;
    uint32_t frozen_ = 0;      // the reading when the pause began
    uint32_t pausedTotal_ = 0; // milliseconds spent paused, wrapping as the clock does
};

} // namespace orvanta
