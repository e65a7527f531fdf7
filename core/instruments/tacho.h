#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A bar gauge: ten bars stacked from the bottom of a rectangle, the lowest `level` lit.
class Tacho final : public MandDObject {
  public:
    Tacho(int32_t left, int32_t top, int32_t width, int32_t height, int32_t interval);
    // The object of a "Tacho" line: left, top, width, height, interval.
    static Tacho* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // The level, 0 to 9; bar 9 would light only at level 10, which the gauge never reaches.
    ReadingRange readingRange() const override { return {ReadingKind::Level, 0, 9}; }
    void beginReading() override { walk.shown = level; }

    int32_t left, top, width, height;
    int32_t level = 0;
    int32_t target = 0;
    ReadingWalk walk; // what the gauge shows under an override

  private:
    // The level shown under the override, one bar per due frame towards it.
    int32_t shownLevel();
};

} // namespace orvanta
