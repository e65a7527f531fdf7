#pragma once
#include <cstdint>

namespace orvanta {

class Clock;
struct Display;

struct Pacing {
    int32_t fpsFrameCount = 0;  // frames counted while showFps was set, since the last readout
    uint32_t lastFrameTime = 0; // the clock at the previous frame's pacing
};

// The FPS readout once per whole second while showFps is set, and the hold-back sleep for
// a frame that follows the previous one within 100 ms.
void paceFrame(Pacing& pacing, Display& display, Clock& clock, bool showFps);

} // namespace orvanta
