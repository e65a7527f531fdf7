#include "core/instruments/digit_counter.h"

#include <algorithm>
#include <new>

#include "core/display/surface.h"
#include "core/display/text.h"
#include "core/runtime/random.h"
#include "core/syntax/fields.h"

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

LineFacts DigitCounter::facts(const FieldTable& f) {
    LineFacts facts;
    const int32_t count = f.number(3);
    if (count < 1)
        facts.findings.push_back({FactLevel::Warning,
                                  "a digit count of " + std::to_string(count) + " prints nothing",
                                  3, "no-digits"});
    // The digits are not known before the frame; each is one character cell.
    facts.text =
        TextRun{f.number(1), f.number(2), f.number(4), {}, std::min(count, kMaxDigitsPerRun)};
    return facts;
}

void DigitCounter::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    setTextScale(display, textScale);
    enableTextWrap(display, true);
    moveCursor(display, textX, textY);
    setTextColors(display, color, bgColor);
    // One random value per digit, in the order printed. Each digit's whole cell is
    // repainted because foreground and background differ, so nothing needs erasing.
    // A count beyond kMaxDigitsPerRun would keep one frame busy for hours; the digits past
    // it are not printed, but their random values are still used up, so that every later
    // reading of every instrument stays what the device would show.
    const int32_t count = std::min(digitCount, kMaxDigitsPerRun);
    if (reading != nullptr && reading->mode == ReadingMode::Release) reading.reset();
    if (reading == nullptr) {
        for (int32_t i = 0; i < count; ++i) printInt(display, frame.random.rand() % 10);
    } else {
        printShown(display, frame.random, count);
    }
    if (digitCount > count) frame.random.skip(static_cast<uint64_t>(digitCount - count));
}

ReadingRange DigitCounter::readingRange() const {
    if (digitCount < 1) return {};
    return {ReadingKind::Digits, 0, 9, 1, std::min(digitCount, kMaxDigitsPerRun)};
}

void DigitCounter::printShown(Display& display, RandomSource& random, int32_t count) {
    const bool sweep = reading->mode == ReadingMode::Sweep;
    const std::string& held = reading->digits;
    for (int32_t i = 0; i < count; ++i) {
        random.rand();
        const auto at = static_cast<std::size_t>(i);
        printInt(display, sweep ? sweepDigit : at < held.size() ? held[at] - '0' : 0);
    }
    if (sweep) sweepDigit = (sweepDigit + 1) % 10;
}

} // namespace orvanta
