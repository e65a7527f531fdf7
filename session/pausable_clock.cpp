#include "session/pausable_clock.h"

namespace orvanta {

void PausableClock::pause() {
    if (paused_) return;
    frozen_ = now();
    paused_ = true;
}

void PausableClock::resume() {
    if (!paused_) return;
    paused_ = false;
    // From here on now() goes on from the frozen reading.
    pausedTotal_ = base_.now() - frozen_;
}

} // namespace orvanta
