#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;
struct Display;

// A radar scope in shades of green: a fading fan of seven wedges sweeping clockwise about
// (x, y), three range rings, eight spokes and one echo that lights up as the sweep passes
// it. It consumes no random values.
class Radar final : public MandDObject {
  public:
    Radar(int32_t x, int32_t y, int32_t diameter);
    // The object of a "Radar" line: x, y, diameter.
    static Radar* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // Detects, draws and fades the echo; the last step of run().
    void updateBlip(Display& display);

    int32_t radius;
    int32_t sweepAngle = 0;
    int32_t blipAngle = 180;
    int32_t blipBrightness = 40;
    int32_t blipSize = 0;
    int32_t blipDistance = 0;
};

} // namespace orvanta
