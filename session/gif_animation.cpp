#include "session/gif_animation.h"

#include <cstring>

#include "media/image.h"

namespace orvanta {

bool GifAnimation::picture(const Surface& surface, uint64_t shownFrom, std::string* error) {
    if (held_ && !settle(shownFrom, error)) return false;
    held_ = std::make_unique<Surface>(surface);
    heldFrom_ = shownFrom;
    return true;
}

bool GifAnimation::finish(uint64_t end, std::string* error) {
    if (held_ && !settle(end, error)) return false;
    held_.reset();
    if (pending_) {
        const bool ok = emit(end, error);
        pending_.reset();
        return ok;
    }
    return true;
}

bool GifAnimation::settle(uint64_t heldUntil, std::string* error) {
    if (heldUntil - heldFrom_ < 10) return true;
    if (pending_ && std::memcmp(pending_->pixels, held_->pixels, sizeof held_->pixels) == 0)
        return true;
    if (pending_ && !emit(heldFrom_, error)) return false;
    pending_ = std::move(held_);
    pendingFrom_ = heldFrom_;
    return true;
}

bool GifAnimation::emit(uint64_t until, std::string* error) {
    const auto centiseconds = [](uint64_t ms) { return (ms + 5) / 10; };
    const uint64_t delay = centiseconds(until) - centiseconds(pendingFrom_);
    ++frames_;
    // A delay beyond the format's 16 bits is split over repeated frames.
    uint64_t left = delay;
    const RgbImage image = imageFromSurface(*pending_, zoom_);
    do {
        const uint64_t part = left > 65535 ? 65535 : left;
        if (!writer_.addFrame(image, static_cast<int32_t>(part), error)) return false;
        left -= part;
    } while (left > 0);
    return true;
}

} // namespace orvanta
