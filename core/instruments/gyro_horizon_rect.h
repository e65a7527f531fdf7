#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A rectangular artificial horizon: sky above and ground below a line whose two ends wander
// up and down independently, with a fixed pitch ladder drawn over it.
class GyroHorizonRect final : public MandDObject {
  public:
    GyroHorizonRect(int32_t left, int32_t top, int32_t width, int32_t height, int32_t interval);
    // The object of a "GyroHorizonRect" line: left, top, width, height, interval.
    static GyroHorizonRect* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // Each end's offset from the middle row, within the targets the horizon draws:
    // -height / 4 to height / 2 - 1 - height / 4. A height below 2 has none.
    ReadingRange readingRange() const override;
    void beginReading() override {
        leftWalk.shown = leftOffset;
        rightWalk.shown = rightOffset;
    }

    int32_t left, top, width, height;
    int32_t leftOffset = 0;
    int32_t rightOffset = 0;
    int32_t leftTarget = 0;
    int32_t rightTarget = 0;
    int32_t leftStep = 1;
    int32_t rightStep = 1;
    int32_t radius;
    ReadingWalk leftWalk, rightWalk; // what the horizon shows under an override

  private:
    // The rows of the two ends under the override, one pixel per due frame towards it.
    void shownRows(int32_t mid, int32_t& leftRow, int32_t& rightRow);
};

} // namespace orvanta
