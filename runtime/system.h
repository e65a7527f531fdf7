#pragma once

namespace orvanta {

// Puts every global of the simulator back to its program-start state: objects, frame
// counter, random source, configuration names and timing, pacing, the display object and
// the storage slot. The trace sink, clock, draw target and working folder are seams and
// stay as they are. Used by tests and the renderer, never by the window program.
void resetSystem();

} // namespace orvanta
