#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;
struct Display;

// A rotating compass card: eighteen radial ticks and the four cardinal letters turning
// about (x, y), erased at the previous heading and drawn at the new one in every due frame.
class Kompass final : public MandDObject {
  public:
    Kompass(int32_t x, int32_t y, int32_t diameter, int32_t interval);
    // The object of a "Kompass" line: x, y, diameter, interval.
    static Kompass* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // Erases `text` at the previous heading plus `angle` and prints it at the current one.
    void drawLabel(Display& display, int32_t angle, const char* text);

    int32_t heading = 0;
    int32_t headingTarget = 0;
    int32_t headingStep = 1;
    int32_t labelOffset = -6;
    int32_t radius;
};

} // namespace orvanta
