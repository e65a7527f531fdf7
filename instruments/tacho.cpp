#include "instruments/tacho.h"

#include <new>

#include "config/parser.h"
#include "display/arith.h"
#include "display/primitives.h"
#include "host/trace.h"

namespace orvanta {

Tacho::Tacho(int32_t left_, int32_t top_, int32_t width_, int32_t height_, int32_t interval_)
    : left(left_), top(top_), width(width_), height(height_) {
    interval = interval_;
    color = 0xFFFF;
    bgColor = 0x0000;
}

Tacho* Tacho::fromFields(const FieldTable& f) {
    return new (std::nothrow)
        Tacho(f.number(1), f.number(2), f.number(3), f.number(4), f.number(5));
}

void Tacho::run() {
    traceLine("Tacho1");
    if (!isDue()) return;
    const int32_t right = add32(left, width), bottom = add32(top, height);
    if (frameCounter < 0) solidQuad(left, bottom, right, bottom, right, top, left, top, bgColor);
    if (level == target) {
        do {
            target = rand() % 10;
        } while (target == level);
    }
    traceLine("Tacho2");
    traceIntLine(target);
    level += level < target ? 1 : -1;
    const int32_t pitch = height / 10, thickness = height / 18;
    for (int32_t i = 0; i < 10; ++i) {
        const int32_t b = sub32(bottom, mul32(i, pitch));
        const int32_t u = sub32(b, thickness);
        solidQuad(left, b, right, b, right, u, left, u, i < level ? color : bgColor);
    }
}

} // namespace orvanta
