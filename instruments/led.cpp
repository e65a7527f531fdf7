#include "instruments/led.h"

#include <new>

#include "config/parser.h"
#include "display/primitives.h"

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

void LED::run() {
    if (!isDue()) return;
    solidCircle(x, y, radius, lit ? color : bgColor);
    lit = !lit;
}

} // namespace orvanta
