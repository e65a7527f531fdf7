#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A needle gauge without a face: a two-pixel needle about (x, y) swinging three degrees per
// frame towards random targets in minValue .. maxValue - 1.
class RoundPointer final : public MandDObject {
  public:
    RoundPointer(int32_t x, int32_t y, int32_t diameter, int32_t minValue, int32_t maxValue);
    // The object of a "RoundPointer" line: x, y, diameter, minValue, maxValue.
    static RoundPointer* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // The targets the needle draws, on its steps of 3 from minValue: minValue up to the
    // last step below maxValue (below minValue and up when maxValue is the smaller). An
    // empty span has none.
    ReadingRange readingRange() const override;
    void beginReading() override { walk.shown = value; }

    int32_t radius;
    int32_t minValue, maxValue;
    int32_t value;
    int32_t valueTarget = 0;
    int32_t valueStep = 3;
    ReadingWalk walk; // what the needle shows under an override

  private:
    // The value shown under the override, three degrees per due frame towards it.
    int32_t shownValue(Display& display);
    void drawNeedle(Display& display, int32_t v, int32_t colour);
};

} // namespace orvanta
