#pragma once
// Frames on virtual time, started when the window's 10 ms timer would start them. Every host
// that runs frames on its own schedule (the headless renderer, the page in a browser) uses
// this, so that each gives the same frames, and so the same trace and pictures.
#include <cstdint>

#include "core/runtime/clock.h"

namespace orvanta {

class Session;

// The next frame starts at the first tick (a multiple of 10 ms after the first frame) that
// is later than the previous frame's start and not earlier than its end. Offsets are
// milliseconds since the first frame.
uint64_t nextFrameStart(uint64_t previousStart, uint64_t previousEnd);

// Runs a session's frames one after another on the virtual clock its device reads; the
// first frame starts when the clock reads `startMs`. The clock must outlive this.
class VirtualFrames {
  public:
    VirtualFrames(VirtualClock& clock, uint32_t startMs) : clock_(clock), startMs_(startMs) {}

    // Runs one frame at the next start. The clock reads that start when the frame begins;
    // the frame's sleeps advance it, and so mark the frame's end.
    void run(Session& session);

    uint64_t nextStart() const { return next_; } // when the next frame would start
    uint64_t lastEnd() const { return end_; }    // when the last frame ended; 0 before any
    uint64_t framesRun() const { return frames_; }

  private:
    VirtualClock& clock_;
    uint32_t startMs_;
    uint64_t next_ = 0, end_ = 0, frames_ = 0;
};

} // namespace orvanta
