#pragma once
#include "runtime/objects.h"

namespace orvanta {

class FieldTable;

// A radar scope in shades of green: a fading fan of seven wedges sweeping clockwise about
// (x, y), three range rings, eight spokes and one echo that lights up as the sweep passes
// it. It consumes no random values.
class Radar final : public MandDObject {
  public:
    Radar(int32_t x, int32_t y, int32_t diameter);
    // The object of a "Radar" line: x, y, diameter.
    static Radar* fromFields(const FieldTable& fields);
    void run() override;
    // Detects, draws and fades the echo; the last step of run().
    void updateBlip();

    int32_t radius;
    int32_t sweepAngle = 0;
    int32_t blipAngle = 180;
    int32_t blipBrightness = 40;
    int32_t blipSize = 0;
    int32_t blipDistance = 0;
};

} // namespace orvanta
