#include "runtime/pacing.h"

#include "config/config_state.h"
#include "display/surface.h"
#include "display/text.h"
#include "runtime/clock.h"

namespace orvanta {

int32_t fpsFrameCount = 0;
uint32_t lastFrameTime = 0;

void paceFrame() {
    const uint32_t now = millis();
    if (showFps) {
        fpsFrameCount = static_cast<int32_t>(static_cast<uint32_t>(fpsFrameCount) + 1u);
        const uint32_t second = now / 1000, lastSecond = lastFrameTime / 1000;
        if (second > lastSecond) {
            moveCursor(2, 2);
            setTextColors(0xFFFF, 0x0000);
            // The divisor is a whole number of seconds taken as a signed 32-bit value; the
            // quotient is single precision, as on the device.
            const int32_t seconds = static_cast<int32_t>(second - lastSecond);
            const float rate = static_cast<float>(fpsFrameCount) / static_cast<float>(seconds);
            printFloat(rate);
            printText(" fps      ");
            fpsFrameCount = 0;
        }
    }
    const uint32_t sinceLast = now - lastFrameTime;
    if (sinceLast < 100) sleepMs(110 - sinceLast);
    // The stamp is the time read before the sleep, so frames come in pairs.
    lastFrameTime = now;
}

void resetPacingState() {
    fpsFrameCount = 0;
    lastFrameTime = 0;
}

} // namespace orvanta
