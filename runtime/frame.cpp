#include "runtime/frame.h"

#include "config/config_state.h"
#include "config/loader.h"
#include "display/arith.h"
#include "host/trace.h"
#include "runtime/clock.h"
#include "runtime/objects.h"
#include "runtime/pacing.h"

namespace orvanta {

void AllMandDObjectsRun() {
    traceText("R");
    if (isConfigDue()) {
        traceLine("");
        traceText("millis(): ");
        traceIntLine(static_cast<int32_t>(millis()));
        traceText("millis_this_config: ");
        traceIntLine(static_cast<int32_t>(millis_this_config));
        traceText("millis()-millis_this_config: ");
        traceIntLine(static_cast<int32_t>(millis() - millis_this_config));
        traceText("next_config_load*1000: ");
        traceIntLine(mul32(next_config_load, 1000));
        traceLine("AllMandDObjectsRun() 2");
        LoadConfigFromSD(nextConfigName);
        millis_this_config = millis();
    }
    for (int32_t i = 0; i < objectCount; ++i) objectList[i]->run();
    paceFrame();
    frameCounter = (frameCounter + 1) % 10000;
}

} // namespace orvanta
