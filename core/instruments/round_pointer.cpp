#include "core/instruments/round_pointer.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/runtime/random.h"
#include "core/syntax/fields.h"

namespace orvanta {

RoundPointer::RoundPointer(int32_t x_, int32_t y_, int32_t diameter, int32_t minValue_,
                           int32_t maxValue_)
    : radius(diameter / 2), minValue(minValue_), maxValue(maxValue_), value(minValue_) {
    interval = 0;
    x = x_;
    y = y_;
    color = 0xFFFF;
    bgColor = 0x0000;
}

RoundPointer* RoundPointer::fromFields(const FieldTable& f) {
    return new (std::nothrow)
        RoundPointer(f.number(1), f.number(2), f.number(3), f.number(4), f.number(5));
}

LineFacts RoundPointer::facts(const FieldTable& f) {
    const RoundPointer needle(f.number(1), f.number(2), f.number(3), f.number(4), f.number(5));
    LineFacts facts;
    facts.disc = Disc{f.number(3), needle.radius};
    const int64_t lo = needle.minValue, hi = needle.maxValue;
    if (lo == hi)
        facts.findings.push_back(
            {FactLevel::Error,
             "the maximum equals the minimum (" + std::to_string(lo) +
                 ") — the device divides by zero when it picks a target; "
                 "Orvanta holds the needle still. Make the maximum larger than "
                 "the minimum",
             5, "pointer-range-empty"});
    else if (hi < lo)
        facts.findings.push_back({FactLevel::Warning,
                                  "the maximum " + std::to_string(hi) + " is below the minimum " +
                                      std::to_string(lo) + " — the needle swings between " +
                                      std::to_string(lo) + " and " +
                                      std::to_string(2 * lo - hi - 1) + " instead; swap them",
                                  5, "pointer-range-reversed"});
    facts.extent = circleExtent(needle.x, needle.y, needle.radius);
    return facts;
}

void RoundPointer::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    bool held = false;
    if ((valueStep > 0 && value >= valueTarget) || (valueStep < 0 && value <= valueTarget)) {
        // The span is the wrapped 32-bit difference; an empty span leaves nothing to draw a
        // target from, so the needle holds still instead of dividing by zero.
        const int32_t span = sub32(maxValue, minValue);
        if (span == 0) {
            held = true;
        } else {
            valueTarget = add32(mod32(frame.random.rand(), span), minValue);
            valueStep = valueTarget > value ? 3 : -3;
        }
    }
    if (!held) value = add32(value, valueStep);
    const int32_t v = reading == nullptr ? value : shownValue(display);
    // Angle 0 points up (-y) and 90 to the right (+x).
    auto px = [&](int32_t angle, double k) { return add32(x, sinScaled(angle, radius, k)); };
    auto py = [&](int32_t angle, double k) { return sub32(y, cosScaled(angle, radius, k)); };
    for (const int32_t side : {-1, 1}) {
        const int32_t rim = add32(v, 2 * side), far = add32(v, 20 * side);
        const int32_t inner = add32(v, 30 * side);
        solidTriangle(display, px(rim, 1.0), py(rim, 1.0), px(far, 1.0), py(far, 1.0),
                      px(inner, 0.2), py(inner, 0.2), bgColor);
    }
    drawNeedle(display, v, color);
}

void RoundPointer::drawNeedle(Display& display, int32_t v, int32_t colour) {
    auto px = [&](int32_t angle, double k) { return add32(x, sinScaled(angle, radius, k)); };
    auto py = [&](int32_t angle, double k) { return sub32(y, cosScaled(angle, radius, k)); };
    const int32_t ax = px(v, 0.4), ay = py(v, 0.4), bx = px(v, 0.9), by = py(v, 0.9);
    static constexpr int32_t kShifts[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& s : kShifts) {
        strokeLine(display, add32(ax, s[0]), add32(ay, s[1]), add32(bx, s[0]), add32(by, s[1]),
                   colour);
    }
}

ReadingRange RoundPointer::readingRange() const {
    const int64_t span = sub32(maxValue, minValue);
    if (span == 0) return {};
    // A negative span draws its targets as its size would: the remainder takes the
    // dividend's sign.
    const int64_t last = (span > 0 ? span : -span) - 1;
    int64_t high = int64_t{minValue} + last / 3 * 3;
    // Beyond the largest 32-bit value the needle's own arithmetic wraps; the range stops short.
    constexpr int64_t kTop = INT32_MAX - 3;
    if (high > kTop) high = std::max(high - (high - kTop + 2) / 3 * 3, int64_t{minValue});
    return {ReadingKind::Needle, minValue, static_cast<int32_t>(high), 3};
}

int32_t RoundPointer::shownValue(Display& display) {
    if (reading->mode == ReadingMode::Release) {
        reading.reset();
        // The needle jumps back to its own value; the one shown is erased, as the moving
        // needle's erasing only reaches thirty degrees.
        drawNeedle(display, walk.shown, bgColor);
        return value;
    }
    const ReadingRange range = readingRange();
    return walk.next(*reading, reading->value[0], range.low, range.high, 3);
}

} // namespace orvanta
