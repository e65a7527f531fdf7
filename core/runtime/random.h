#pragma once
#include <cstdint>

namespace orvanta {

// The device's one pseudo-random source, never reseeded: state x 214013 + 2531011,
// giving (state >> 16) & 0x7FFF.
class RandomSource {
  public:
    int32_t rand() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
    }
    // Advances the source as `count` calls of rand() would, in logarithmic time.
    void skip(uint64_t count);
    uint32_t state() const { return state_; }

  private:
    uint32_t state_ = 1;
};

} // namespace orvanta
