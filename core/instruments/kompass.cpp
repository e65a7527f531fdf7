#include "core/instruments/kompass.h"

#include <new>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/display/text.h"
#include "core/runtime/random.h"
#include "core/syntax/fields.h"

namespace orvanta {

Kompass::Kompass(int32_t x_, int32_t y_, int32_t diameter, int32_t interval_)
    : radius(diameter / 2) {
    interval = interval_;
    x = x_;
    y = y_;
    color = 0xFFFF;
    bgColor = 0x0000;
}

Kompass* Kompass::fromFields(const FieldTable& f) {
    return new (std::nothrow) Kompass(f.number(1), f.number(2), f.number(3), f.number(4));
}

LineFacts Kompass::facts(const FieldTable& f) {
    const Kompass card(f.number(1), f.number(2), f.number(3), f.number(4));
    LineFacts facts;
    facts.disc = Disc{f.number(3), card.radius};
    facts.extent = circleExtent(card.x, card.y, card.radius);
    return facts;
}

void Kompass::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    if ((headingStep > 0 && heading > headingTarget) ||
        (headingStep < 0 && heading < headingTarget)) {
        headingTarget = frame.random.rand() % 720 - 360;
        headingStep = headingTarget > heading ? 1 : -1;
    }
    heading += headingStep; // stays within a degree of -360..359
    if (reading == nullptr)
        drawCard(display, heading - headingStep, heading);
    else
        drawShown(display);
}

void Kompass::drawShown(Display& display) {
    const int32_t old = walk.shown;
    if (reading->mode == ReadingMode::Release) {
        reading.reset();
        drawCard(display, old, heading);
        return;
    }
    drawCard(display, old, walk.next(*reading, reading->value[0], -360, 359, 1));
}

void Kompass::drawCard(Display& display, int32_t old, int32_t now) {
    // Angle 0 points down (+y) and 90 to the right (+x).
    auto tick = [&](int32_t angle, int32_t colour) {
        strokeLine(display, add32(x, sinScaled(angle, radius, 0.8)),
                   add32(y, cosScaled(angle, radius, 0.8)), add32(x, sinScaled(angle, radius, 1.0)),
                   add32(y, cosScaled(angle, radius, 1.0)), colour);
    };
    for (int32_t i = 0; i < 18; ++i) {
        tick(old + 20 * i, bgColor);
        tick(now + 20 * i, color);
    }
    drawLabel(display, 0, "S", old, now);
    drawLabel(display, 90, "E", old, now);
    drawLabel(display, 180, "N", old, now);
    drawLabel(display, 270, "W", old, now);
}

void Kompass::drawLabel(Display& display, int32_t angle, const char* text, int32_t old,
                        int32_t now) {
    setTextScale(display, 2);
    if (radius < 80) {
        setTextScale(display, 1);
        labelOffset = -3;
    }
    const int32_t baseX = add32(x, labelOffset), baseY = add32(y, labelOffset);
    // Equal colours paint only the glyph's own pixels, which removes the previous letter
    // without touching its cell's background.
    setTextColors(display, bgColor, bgColor);
    moveCursor(display, add32(baseX, sinScaled(old + angle, radius, 0.7)),
               add32(baseY, cosScaled(old + angle, radius, 0.7)));
    printText(display, text);
    setTextColors(display, color, bgColor);
    moveCursor(display, add32(baseX, sinScaled(now + angle, radius, 0.7)),
               add32(baseY, cosScaled(now + angle, radius, 0.7)));
    printText(display, text);
}

} // namespace orvanta
