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
    // The headings the card turns between: the targets it draws, -360 to 359.
    ReadingRange readingRange() const override { return {ReadingKind::Heading, -360, 359}; }
    void beginReading() override { walk.shown = heading; }
    // Erases `text` at heading `old` plus `angle` and prints it at heading `now` plus `angle`.
    void drawLabel(Display& display, int32_t angle, const char* text, int32_t old, int32_t now);

    int32_t heading = 0;
    int32_t headingTarget = 0;
    int32_t headingStep = 1;
    int32_t labelOffset = -6;
    int32_t radius;
    ReadingWalk walk; // what the card shows under an override

  private:
    // Erases the ticks and letters at heading `old` and draws them at heading `now`.
    void drawCard(Display& display, int32_t old, int32_t now);
    // The card under the override: the heading shown turns a degree per due frame towards it.
    void drawShown(Display& display);
};

} // namespace orvanta
