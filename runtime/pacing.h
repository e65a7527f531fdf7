#pragma once
#include <cstdint>

namespace orvanta {

extern int32_t fpsFrameCount;
extern uint32_t lastFrameTime;

// The FPS readout once per whole second while showFps is set, and the hold-back sleep for
// a frame that follows the previous one within 100 ms.
void paceFrame();
void resetPacingState();

} // namespace orvanta
