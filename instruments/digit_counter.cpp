#include "instruments/digit_counter.h"

#include <algorithm>
#include <new>

#include "config/parser.h"
#include "display/surface.h"
#include "display/text.h"

namespace orvanta {

DigitCounter::DigitCounter(int32_t textX_, int32_t textY_, int32_t digitCount_, int32_t textScale_,
                           int32_t interval_)
    : textX(textX_), textY(textY_), digitCount(digitCount_), textScale(textScale_) {
    interval = interval_;
    color = 0xFFFF;
    bgColor = 0x0000;
}

DigitCounter* DigitCounter::fromFields(const FieldTable& f) {
    return new (std::nothrow)
        DigitCounter(f.number(1), f.number(2), f.number(3), f.number(4), f.number(5));
}

void DigitCounter::run() {
    if (!isDue()) return;
    setTextScale(textScale);
    enableTextWrap(true);
    moveCursor(textX, textY);
    setTextColors(color, bgColor);
    // One random value per digit, in the order printed. Each digit's whole cell is
    // repainted because foreground and background differ, so nothing needs erasing.
    // A count beyond kMaxDigitsPerRun would keep one frame busy for hours; the digits past
    // it are not printed, but their random values are still used up, so that every later
    // reading of every instrument stays what the device would show.
    const int32_t count = std::min(digitCount, kMaxDigitsPerRun);
    for (int32_t i = 0; i < count; ++i) printInt(rand() % 10);
    if (digitCount > count) skipRandom(static_cast<uint64_t>(digitCount - count));
}

} // namespace orvanta
