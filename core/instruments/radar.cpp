#include "core/instruments/radar.h"

#include <new>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/syntax/fields.h"

namespace orvanta {

namespace {

constexpr int32_t kGrid = 0x0400;

// The pure green Color565 whose six-bit green channel is v / 4.
constexpr int32_t green(int32_t v) {
    return (v & 0xFC) << 3;
}

} // namespace

Radar::Radar(int32_t x_, int32_t y_, int32_t diameter)
    : radius(truncToInt32((diameter / 2) * 0.9)) {
    interval = 0;
    x = x_;
    y = y_;
    color = kGrid;
    bgColor = 0x0000;
}

Radar* Radar::fromFields(const FieldTable& f) {
    return new (std::nothrow) Radar(f.number(1), f.number(2), f.number(3));
}

LineFacts Radar::facts(const FieldTable& f) {
    const Radar scope(f.number(1), f.number(2), f.number(3));
    LineFacts facts;
    facts.disc = Disc{f.number(3), scope.radius};
    facts.extent = circleExtent(scope.x, scope.y, scope.radius);
    return facts;
}

void Radar::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    sweepAngle = (sweepAngle + 15) % 360;
    // Angle 0 points right (+x) and 90 down (+y), so the sweep turns clockwise.
    auto qx = [&](int32_t angle, int32_t r) { return add32(x, cosScaled(angle, r, 1.0)); };
    auto qy = [&](int32_t angle, int32_t r) { return add32(y, sinScaled(angle, r, 1.0)); };
    // Tail first, so that the bright leading wedge is painted last.
    for (int32_t i = 8; i >= 2; --i) {
        const int32_t from = sweepAngle + 12 * i - 12, to = sweepAngle + 12 * i;
        solidTriangle(display, x, y, qx(from, radius), qy(from, radius), qx(to, radius),
                      qy(to, radius), green(i * 31));
    }
    for (int32_t i = 1; i <= 3; ++i) ringCircle(display, x, y, mul32(radius / 3, i), kGrid);
    for (int32_t i = 0; i < 8; ++i)
        strokeLine(display, x, y, qx(45 * i, radius), qy(45 * i, radius), kGrid);
    updateBlip(display);
}

void Radar::updateBlip(Display& display) {
    // The sweep passes the echo's bearing once per revolution; a faded echo lights up again.
    if (blipAngle < sweepAngle && sweepAngle - blipAngle <= 15 && blipBrightness < 80) {
        blipSize = 5;
        blipBrightness = 255;
        blipAngle -= 2;
        blipDistance = mul32(radius / 4, 3);
    }
    if (blipBrightness > 80) {
        const int32_t angle = blipAngle + 60;
        solidCircle(display, add32(x, cosScaled(angle, blipDistance, 1.0)),
                    add32(y, sinScaled(angle, blipDistance, 1.0)), blipSize, green(blipBrightness));
        blipBrightness -= 10;
    } else if (blipAngle < 100) {
        blipAngle = 200;
    }
}

} // namespace orvanta
