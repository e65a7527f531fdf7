#include "core/instruments/led.h"

#include <new>

#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/syntax/fields.h"

namespace orvanta {

LED::LED(int32_t x_, int32_t y_, int32_t diameter, int32_t interval_) : radius(diameter / 2) {
    interval = interval_;
    x = x_;
    y = y_;
    color = 0xF800;
    bgColor = 0x0000;
}

LED* LED::fromFields(const FieldTable& f) {
    return new (std::nothrow) LED(f.number(1), f.number(2), f.number(3), f.number(4));
}

LineFacts LED::facts(const FieldTable& f) {
    const LED lamp(f.number(1), f.number(2), f.number(3), f.number(4));
    LineFacts facts;
    facts.disc = Disc{f.number(3), lamp.radius};
    facts.extent = circleExtent(lamp.x, lamp.y, lamp.radius);
    return facts;
}

void LED::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    const bool shown = reading == nullptr ? lit : shownPhase(reading, lit);
    solidCircle(display, x, y, radius, shown ? color : bgColor);
    lit = !lit;
}

} // namespace orvanta
