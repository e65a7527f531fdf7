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
    // The bearing the echo is drawn at, 0 to 359 (0 to the right, 90 down); its distance
    // is fixed. Held, the next detection draws the echo there.
    ReadingRange readingRange() const override { return {ReadingKind::Bearing, 0, 359}; }
    void beginReading() override { shownEcho = echo; }

    struct Echo {
        int32_t angle = 180;
        int32_t brightness = 40;
        int32_t size = 0;
        int32_t distance = 0;
    };
    // Detects and fades `e`, and draws it on `display` unless that is null; the last step
    // of run().
    void updateEcho(Display* display, Echo& e);

    int32_t radius;
    int32_t sweepAngle = 0;
    Echo echo;

  private:
    // Under an override the scope's own echo goes on unseen, and the echo shown is drawn
    // at the held bearing from its next detection.
    void updateShownEcho(Display& display);

    Echo shownEcho;
    ReadingWalk walk; // a sweep's way between the two ends
};

} // namespace orvanta
