#include "core/device/device.h"

#include "core/config/loader.h"
#include "core/display/arith.h"

namespace orvanta {

Device::Device(Clock& clock_, Folder& folder, Trace trace_)
    : clock(clock_), trace(trace_), storage(folder) {
    display.trace = &trace;
}

LoadContext Device::loadContext() {
    return {display, storage, objectList, frameCounter, config, trace, provenance, 0, &readings};
}

FrameContext Device::frameContext() {
    return {display, random, trace, frameCounter};
}

bool AllMandDObjectsRun(Device& device) {
    const Trace& trace = device.trace;
    ConfigState& config = device.config;
    traceText(trace, "R");
    const bool switching = device.switchRequested || isConfigDue(config, device.clock);
    if (switching) {
        device.switchRequested = false;
        traceLine(trace, "");
        traceText(trace, "millis(): ");
        traceIntLine(trace, static_cast<int32_t>(device.clock.now()));
        traceText(trace, "millis_this_config: ");
        traceIntLine(trace, static_cast<int32_t>(config.millis_this_config));
        traceText(trace, "millis()-millis_this_config: ");
        traceIntLine(trace, static_cast<int32_t>(device.clock.now() - config.millis_this_config));
        traceText(trace, "next_config_load*1000: ");
        traceIntLine(trace, mul32(config.next_config_load, 1000));
        traceLine(trace, "AllMandDObjectsRun() 2");
        LoadContext load = device.loadContext();
        LoadConfigFromSD(load, config.nextConfigName);
        config.millis_this_config = device.clock.now();
    }
    FrameContext frame = device.frameContext();
    Display& display = device.display;
    for (int32_t i = 0; i < device.objectList.objectCount; ++i) {
        display.writer = device.objectList.slots[i]->owner;
        device.objectList.slots[i]->run(frame);
    }
    display.writer = kOwnerFps; // the frame-rate text
    paceFrame(device.pacing, display, device.clock, config.showFps);
    display.writer = kOwnerNone;
    device.frameCounter = (device.frameCounter + 1) % 10000;
    return switching;
}

void requestConfigSwitch(Device& device, const char* name) {
    copyConfigName(device.config.nextConfigName, name);
    device.switchRequested = true;
}

} // namespace orvanta
