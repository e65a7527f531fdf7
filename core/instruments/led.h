#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A filled disc about (x, y) that blinks: dark in its first due frame, lit in the next.
class LED final : public MandDObject {
  public:
    LED(int32_t x, int32_t y, int32_t diameter, int32_t interval);
    // The object of a "LED" line: x, y, diameter, interval.
    static LED* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // Dark (0) or lit (1).
    ReadingRange readingRange() const override { return {ReadingKind::Phase, 0, 1}; }

    int32_t radius;
    bool lit = false;
};

} // namespace orvanta
