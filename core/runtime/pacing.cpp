#include "core/runtime/pacing.h"

#include "core/display/surface.h"
#include "core/display/text.h"
#include "core/runtime/clock.h"

namespace orvanta {

void paceFrame(Pacing& pacing, Display& display, Clock& clock, bool showFps) {
    const uint32_t now = clock.now();
    if (showFps) {
        pacing.fpsFrameCount =
            static_cast<int32_t>(static_cast<uint32_t>(pacing.fpsFrameCount) + 1u);
        const uint32_t second = now / 1000, lastSecond = pacing.lastFrameTime / 1000;
        if (second > lastSecond) {
            moveCursor(display, 2, 2);
            setTextColors(display, 0xFFFF, 0x0000);
            // The divisor is a whole number of seconds taken as a signed 32-bit value; the
            // quotient is single precision, as on the device.
            const int32_t seconds = static_cast<int32_t>(second - lastSecond);
            const float rate =
                static_cast<float>(pacing.fpsFrameCount) / static_cast<float>(seconds);
            printFloat(display, rate);
            printText(display, " fps      ");
            pacing.fpsFrameCount = 0;
        }
    }
    const uint32_t sinceLast = now - pacing.lastFrameTime;
    if (sinceLast < 100) sleepMs(clock, 110 - sinceLast);
    // The stamp is the time read before the sleep, so frames come in pairs.
    pacing.lastFrameTime = now;
}

} // namespace orvanta
