#include "core/instruments/gyro_horizon_rect.h"

#include <new>

#include "core/display/arith.h"
#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/runtime/random.h"
#include "core/syntax/fields.h"

namespace orvanta {

namespace {

constexpr int32_t kSky = 0x965C;
constexpr int32_t kWhite = 0xFFFF;

// One end of the horizon: once it has gone a step past its target it draws a new target
// within the middle half of the rectangle and turns towards it.
void retarget(RandomSource& random, int32_t offset, int32_t& target, int32_t& step,
              int32_t height) {
    if ((step > 0 && offset > target) || (step < 0 && offset < target)) {
        target = sub32(random.rand() % (height / 2), height / 4);
        step = target > offset ? 1 : -1;
    }
}

} // namespace

GyroHorizonRect::GyroHorizonRect(int32_t left_, int32_t top_, int32_t width_, int32_t height_,
                                 int32_t interval_)
    : left(left_), top(top_), width(width_), height(height_),
      radius(width_ <= height_ ? width_ / 2 : height_ / 2) {
    interval = interval_;
    // The ladder is centred on the rectangle; everything else the horizon draws lies inside
    // it too.
    x = add32(left, width / 2);
    y = add32(top, height / 2);
    color = 0xF800;
    bgColor = 0x0000;
}

GyroHorizonRect* GyroHorizonRect::fromFields(const FieldTable& f) {
    return new (std::nothrow)
        GyroHorizonRect(f.number(1), f.number(2), f.number(3), f.number(4), f.number(5));
}

LineFacts GyroHorizonRect::facts(const FieldTable& f) {
    LineFacts facts;
    const int64_t height = f.number(4);
    if (height / 2 == 0)
        facts.findings.push_back(
            {FactLevel::Error,
             "a height of " + std::to_string(height) +
                 " leaves the horizon no room to move — the device divides by "
                 "zero here; Orvanta keeps the horizon still. Use a height of 2 "
                 "or more",
             4, "horizon-height"});
    facts.extent = spanExtent(f.number(1), int64_t{f.number(3)} - 1, f.number(2), height - 1);
    return facts;
}

void GyroHorizonRect::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    const int32_t half = height / 2;
    const int32_t mid = add32(top, half);
    const int32_t l = add32(left, 1);
    const int32_t r = sub32(add32(left, width), 2);
    const int32_t inner = sub32(width, 2);
    if (frame.frameCounter < 0) {
        solidRoundBox(display, l, top, inner, half, radius / 4, kSky);
        solidRoundBox(display, l, mid, inner, half, radius / 4, color);
    }
    // Heights -1, 0 and 1 leave no range to draw targets from (half the height is zero), so
    // the horizon stays level and consumes no random values. Every other height, negative
    // ones included, draws its targets as the device does.
    if (height / 2 != 0) {
        retarget(frame.random, leftOffset, leftTarget, leftStep, height);
        retarget(frame.random, rightOffset, rightTarget, rightStep, height);
        leftOffset = add32(leftOffset, leftStep);
        rightOffset = add32(rightOffset, rightStep);
    }
    int32_t leftRow = add32(mid, leftOffset);
    int32_t rightRow = add32(mid, rightOffset);
    if (reading != nullptr) shownRows(mid, leftRow, rightRow);
    const int32_t skyRow = add32(top, 10);
    const int32_t groundRow = sub32(add32(top, height), 10);

    const int32_t a = truncToInt32(0.1 * radius);
    const int32_t b = truncToInt32(0.2 * radius);
    const int32_t c = truncToInt32(0.6 * radius);
    const int32_t ladderLeft = sub32(x, a), ladderRight = add32(x, a);
    const int32_t firstRung = sub32(y, c);
    auto ladderAndLine = [&] {
        for (int32_t i = 0; i < 6; ++i) {
            const int32_t row = add32(firstRung, mul32(b, i));
            strokeLine(display, ladderLeft, row, ladderRight, row, kWhite);
        }
        strokeLine(display, add32(left, 2), leftRow, r, rightRow, kWhite);
    };

    solidQuad(display, l, skyRow, r, skyRow, r, rightRow, l, leftRow, kSky);
    ladderAndLine();
    solidQuad(display, l, leftRow, r, rightRow, r, groundRow, l, groundRow, color);
    ladderAndLine();
}

ReadingRange GyroHorizonRect::readingRange() const {
    if (height < 2) return {};
    const int32_t quarter = height / 4;
    return {ReadingKind::Ends, -quarter, height / 2 - 1 - quarter};
}

void GyroHorizonRect::shownRows(int32_t mid, int32_t& leftRow, int32_t& rightRow) {
    if (reading->mode == ReadingMode::Release) {
        reading.reset();
        return;
    }
    const ReadingRange range = readingRange();
    leftRow = add32(mid, leftWalk.next(*reading, reading->value[0], range.low, range.high, 1));
    rightRow = add32(mid, rightWalk.next(*reading, reading->value[1], range.low, range.high, 1));
}

} // namespace orvanta
