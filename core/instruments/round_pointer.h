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

    int32_t radius;
    int32_t minValue, maxValue;
    int32_t value;
    int32_t valueTarget = 0;
    int32_t valueStep = 3;
};

} // namespace orvanta
