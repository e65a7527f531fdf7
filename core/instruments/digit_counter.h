#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;
class RandomSource;
struct Display;

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
    // The digits printed, each 0 to 9: digitCount of them, at most kMaxDigitsPerRun. A count
    // below 1 prints none and has no reading.
    ReadingRange readingRange() const override;
    void beginReading() override { sweepDigit = 0; }

    int32_t textX, textY;
    int32_t digitCount;
    int32_t textScale;
    int32_t sweepDigit = 0; // under a sweep every digit shows this one, counting up

  private:
    // The held digits, or under a sweep the digit of the count, each in place of a
    // random digit whose value is still drawn.
    void printShown(Display& display, RandomSource& random, int32_t count);
};

} // namespace orvanta
