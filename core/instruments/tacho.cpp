#include "core/instruments/tacho.h"

#include <new>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/runtime/random.h"
#include "core/syntax/fields.h"
#include "core/trace/trace.h"

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

LineFacts Tacho::facts(const FieldTable& f) {
    LineFacts facts;
    const int64_t width = f.number(3), height = f.number(4);
    if (height < 18)
        facts.findings.push_back({FactLevel::Warning,
                                  "a height of " + std::to_string(height) +
                                      (height < 10 ? " puts all ten bars on the same row"
                                                   : " gives bars of no thickness") +
                                      " — the bar gauge needs a height of 18 or more",
                                  4, "bar-height"});
    if (width < 1)
        facts.findings.push_back({FactLevel::Warning,
                                  "a width of " + std::to_string(width) + " gives bars of no width",
                                  3, "bar-width"});
    facts.extent = spanExtent(f.number(1), width, f.number(2), height);
    return facts;
}

void Tacho::run(FrameContext& frame) {
    traceLine(frame.trace, "Tacho1");
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    const int32_t right = add32(left, width), bottom = add32(top, height);
    if (frame.frameCounter < 0)
        solidQuad(display, left, bottom, right, bottom, right, top, left, top, bgColor);
    if (level == target) {
        do {
            target = frame.random.rand() % 10;
        } while (target == level);
    }
    traceLine(frame.trace, "Tacho2");
    traceIntLine(frame.trace, target);
    level += level < target ? 1 : -1;
    const int32_t lit = reading == nullptr ? level : shownLevel();
    const int32_t pitch = height / 10, thickness = height / 18;
    for (int32_t i = 0; i < 10; ++i) {
        const int32_t b = sub32(bottom, mul32(i, pitch));
        const int32_t u = sub32(b, thickness);
        solidQuad(display, left, b, right, b, right, u, left, u, i < lit ? color : bgColor);
    }
}

int32_t Tacho::shownLevel() {
    if (reading->mode == ReadingMode::Release) {
        reading.reset();
        return level;
    }
    return walk.next(*reading, reading->value[0], 0, 9, 1);
}

} // namespace orvanta
