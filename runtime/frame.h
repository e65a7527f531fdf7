#pragma once

namespace orvanta {

// One frame of the simulated display: the configuration switch when due, every object's
// run in slot order, pacing, and the frame counter's advance.
void AllMandDObjectsRun();

} // namespace orvanta
