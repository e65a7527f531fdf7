#include "host/web/pictures/pictures_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace orvanta::web {

std::string& replyBytes() {
    static std::string bytes;
    return bytes;
}

const char* pictureReply(std::string bytes) {
    replyBytes() = std::move(bytes);
    return replyBytes().data();
}

std::unique_ptr<Surface> surfaceAt(const uint32_t* words) {
    auto surface = std::make_unique<Surface>();
    if (words != nullptr) std::memcpy(surface->pixels, words, sizeof surface->pixels);
    return surface;
}

uint64_t wholeMs(double ms) {
    constexpr double kLargest = 9007199254740992.0; // 2^53, every whole number below is exact
    if (!(ms > 0)) return 0;
    return static_cast<uint64_t>(std::floor(std::min(ms, kLargest)));
}

} // namespace orvanta::web

extern "C" {

ORVANTA_EXPORT void* orvanta_alloc(uint32_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

ORVANTA_EXPORT void orvanta_free(void* memory) {
    std::free(memory);
}

ORVANTA_EXPORT uint32_t orvanta_reply_size() {
    return static_cast<uint32_t>(orvanta::web::replyBytes().size());
}

// The reply of the last function that replied, for those that return a status instead.
ORVANTA_EXPORT const char* orvanta_reply_data() {
    return orvanta::web::replyBytes().data();
}
}
