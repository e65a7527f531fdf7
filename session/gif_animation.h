#pragma once
// An animation of the pictures a window would show, written as a GIF: each frame's picture
// from the end of that frame until the end of the next. Pictures shown for less than 10 ms
// are left out, equal neighbours are merged, and delays are rounded on the running total so
// that the animation keeps true time.
#include <cstdint>
#include <memory>
#include <string>

#include "core/display/surface.h"
#include "media/gif.h"

namespace orvanta {

class GifAnimation {
  public:
    GifAnimation(GifWriter& writer, int32_t zoom) : writer_(writer), zoom_(zoom) {}

    // The picture shown from `shownFrom` (ms, on any clock that only moves forward).
    bool picture(const Surface& surface, uint64_t shownFrom, std::string* error);
    // Ends the animation at `end`: the last picture stays until then.
    bool finish(uint64_t end, std::string* error);

    uint64_t frames() const { return frames_; }

  private:
    bool settle(uint64_t heldUntil, std::string* error);
    bool emit(uint64_t until, std::string* error);

    GifWriter& writer_;
    int32_t zoom_;
    std::unique_ptr<Surface> held_, pending_;
    uint64_t heldFrom_ = 0, pendingFrom_ = 0, frames_ = 0;
};

} // namespace orvanta
