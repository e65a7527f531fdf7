#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A row of random decimal digits, new ones in every due frame, printed over the old ones.
class DigitCounter final : public MandDObject {
  public:
    // The most digits one due frame prints: several times the 336 cells that the surface
    // holds at scale 1, so that every digit a counter on or near the surface can show is
    // still printed.
    static constexpr int32_t kMaxDigitsPerRun = 1024;

    DigitCounter(int32_t textX, int32_t textY, int32_t digitCount, int32_t textScale,
                 int32_t interval);
    // The object of a "DigitCounter" line: textX, textY, digitCount, textScale, interval.
    static DigitCounter* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;

    int32_t textX, textY;
    int32_t digitCount;
    int32_t textScale;
};

} // namespace orvanta
