#pragma once
// The simulated device: everything the panel, its card reader and its program keep, and
// the seams through which it meets the world (clock and sleep, trace sink, folder). A new
// Device is the device at power-on; two devices never share any state.
#include <cstdint>

#include "core/config/config_state.h"
#include "core/config/load_context.h"
#include "core/display/surface.h"
#include "core/runtime/clock.h"
#include "core/runtime/objects.h"
#include "core/runtime/pacing.h"
#include "core/runtime/provenance.h"
#include "core/runtime/random.h"
#include "core/runtime/readings.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"

namespace orvanta {

class Device {
  public:
    // The clock and the folder must outlive the device.
    Device(Clock& clock, Folder& folder, Trace trace = {});
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The parts a configuration load works on.
    LoadContext loadContext();
    // What the objects of this frame draw on and read.
    FrameContext frameContext();

    Clock& clock;
    Trace trace;
    Display display; // the surface and `tft`
    ObjectList objectList;
    int32_t frameCounter = -1; // -1 at start and in the first frame after each load
    RandomSource random;
    ConfigState config;
    Pacing pacing;
    Storage storage;
    // Set by requestConfigSwitch: the next frame switches whether or not the delay is over.
    bool switchRequested = false;
    // Who drew each pixel; recorded only after recordOwners().
    Provenance provenance;
    // A designer's reading overrides; empty on the device.
    Readings readings;

    // Starts recording who draws each pixel; a host calls it before the first frame.
    void recordOwners() { provenance.start(display); }
};

// One frame of the device: the configuration switch when due, every object's run in slot
// order, pacing, and the frame counter's advance. True when the frame tried a switch.
bool AllMandDObjectsRun(Device& device);

// Makes `name` the next file and the next frame switch to it as a due switch would, with
// the same trace; the chain goes on from that file. The host's way to show a file at once.
void requestConfigSwitch(Device& device, const char* name);

} // namespace orvanta
