#pragma once
// The time seam. The runtime reads the millisecond clock and sleeps only through these
// functions, so the window program can use the real monotonic clock while tests and the
// headless renderer run the same code on virtual time.
#include <cstdint>

namespace orvanta {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an origin at least one second before the program started,
    // wrapping after 2^32 ms.
    virtual uint32_t now() = 0;
    virtual void sleep(uint32_t ms) = 0;
};

// The monotonic clock of the machine (time since boot) and a real sleep.
class SystemClock final : public Clock {
  public:
    uint32_t now() override;
    void sleep(uint32_t ms) override;
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

// Installs a clock; null restores the system clock. The caller keeps the clock alive.
void setClock(Clock* clock);
uint32_t millis();
// Sleeps for ms milliseconds; a request for 0 ms sleeps 1 ms, as the device's does.
void sleepMs(uint32_t ms);

} // namespace orvanta
