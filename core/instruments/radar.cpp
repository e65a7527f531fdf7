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
    if (reading == nullptr)
        updateEcho(&display, echo);
    else
        updateShownEcho(display);
}

void Radar::updateEcho(Display* display, Echo& e) {
    // The sweep passes the echo's bearing once per revolution; a faded echo lights up again.
    if (e.angle < sweepAngle && sweepAngle - e.angle <= 15 && e.brightness < 80) {
        e.size = 5;
        e.brightness = 255;
        e.angle -= 2;
        e.distance = mul32(radius / 4, 3);
    }
    if (e.brightness > 80) {
        const int32_t angle = e.angle + 60;
        if (display != nullptr)
            solidCircle(*display, add32(x, cosScaled(angle, e.distance, 1.0)),
                        add32(y, sinScaled(angle, e.distance, 1.0)), e.size, green(e.brightness));
        e.brightness -= 10;
    } else if (e.angle < 100) {
        e.angle = 200;
    }
}

void Radar::updateShownEcho(Display& display) {
    updateEcho(nullptr, echo);
    if (reading->mode == ReadingMode::Release) {
        reading.reset();
        return;
    }
    if (shownEcho.brightness <= 80) {
        const int32_t bearing = reading->mode == ReadingMode::Hold ? reading->value[0]
                                : walk.up                          ? 359
                                                                   : 0;
        // A detection moves the echo back two degrees and draws it sixty ahead; every
        // bearing before that lies in -15 .. 344, where some sweep position detects it.
        int32_t before = ((bearing - 58) % 360 + 360) % 360;
        if (before > 344) before -= 360;
        shownEcho.angle = before;
    }
    const int32_t brightness = shownEcho.brightness;
    updateEcho(&display, shownEcho);
    if (shownEcho.brightness > brightness) walk.up = !walk.up; // a detection
}

} // namespace orvanta
