#pragma once
// The headless renderer: runs the simulator on a virtual clock exactly as the window
// would, frame after frame, and writes the trace, the last picture and an animation.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/runtime/provenance.h"

namespace orvanta::cli {

struct RenderOptions {
    std::string folder = ".";
    uint64_t frames = 100;    // used unless `seconds` is positive
    double seconds = 0;       // run every frame that starts before start + seconds
    uint32_t startMs = 10000; // the clock at the first frame
    bool loop = false;        // as if Loop had been switched on before the first frame
    std::string pngPath;      // empty: no PNG
    std::string gifPath;      // empty: no GIF
    int32_t zoom = 1;         // 1..16
    std::string tracePath;    // empty: discard, "-": standard output
    // Pixels of the last picture whose line is asked for; the device records who drew each
    // pixel only when there are any.
    std::vector<PixelPosition> lineAt;
    // Reading overrides from power-on: "FILE:LINE=VALUE" holds and "FILE:LINE" sweeps.
    std::vector<std::string> holds;
    std::vector<std::string> sweeps;
};

struct RenderResult {
    int exitCode = 0;  // 0 done, 1 an output could not be written, 2 a bad override
    std::string error; // one line when exitCode != 0
    uint64_t framesRun = 0;
    uint64_t gifFrames = 0;
    uint64_t virtualMs = 0;         // virtual time from the first frame's start to the last's end
    std::vector<std::string> lines; // for each of lineAt, in order: the pixel's owner
    std::vector<std::string> notes; // overrides that were clamped, one line each
};

// Called now and then with the frames done and the frames planned (0 when unknown).
using ProgressFn = std::function<void(uint64_t done, uint64_t planned)>;

// Runs a whole render on a device of its own, at power-on, with a virtual clock. The
// folder must exist (the caller checks).
RenderResult render(const RenderOptions& options, const ProgressFn& progress = {});

} // namespace orvanta::cli
