#pragma once
// The time seam. A device reads the millisecond clock and sleeps only through its Clock,
// so the window program can use the real monotonic clock while tests and the headless
// renderer run the same code on virtual time.
#include <cstdint>

namespace orvanta {

class Clock {
  public:
    virtual ~Clock() = default;
    // The device's millis(): milliseconds since an origin at least one second before the
    // program started, wrapping after 2^32 ms.
    virtual uint32_t now() = 0;
    virtual void sleep(uint32_t ms) = 0;
};

// Virtual time: the clock stands still until it is set or advanced, and sleeping
// advances it by exactly the milliseconds asked.
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(uint32_t start = 10000) : time_(start) {}
    uint32_t now() override { return time_; }
    void sleep(uint32_t ms) override {
        time_ += ms;
        slept_ += ms;
    }
    void set(uint32_t time) { time_ = time; }
    void advance(uint32_t ms) { time_ += ms; }
    // Total milliseconds slept since construction or the last takeSlept().
    uint64_t takeSlept() {
        const uint64_t s = slept_;
        slept_ = 0;
        return s;
    }

  private:
    uint32_t time_;
    uint64_t slept_ = 0;
};

// Sleeps for ms milliseconds; a request for 0 ms sleeps 1 ms, as the device's does.
inline void sleepMs(Clock& clock, uint32_t ms) {
    clock.sleep(ms == 0 ? 1 : ms);
}

} // namespace orvanta
