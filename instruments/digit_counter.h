#pragma once
#include "runtime/objects.h"

namespace orvanta {

class FieldTable;

// A row of random decimal digits, new ones in every due frame, printed over the old ones.
class DigitCounter final : public MandDObject {
  public:
    DigitCounter(int32_t textX, int32_t textY, int32_t digitCount, int32_t textScale,
                 int32_t interval);
    // The object of a "DigitCounter" line: textX, textY, digitCount, textScale, interval.
    static DigitCounter* fromFields(const FieldTable& fields);
    void run() override;

    int32_t textX, textY;
    int32_t digitCount;
    int32_t textScale;
};

} // namespace orvanta
