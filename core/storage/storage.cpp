#include "core/storage/storage.h"

#include <algorithm>
#include <cstring>

namespace orvanta {

namespace {

void closeSlot(Storage& s) {
    s.slot.reset();
    s.position = 0;
    s.cacheStart = 0;
    s.cacheLength = 0;
}

void refill(Storage& s, int64_t at) {
    s.cacheStart = at;
    s.cacheLength = s.slot->readAt(s.cache.get(), Storage::kCacheSize, at);
}

} // namespace

int storageOpen(Storage& s, const char* name) {
    closeSlot(s);
    if (name == nullptr) return 0;
    std::unique_ptr<File> file = s.folder.open(name);
    if (!file) return -1;
    if (!s.cache) s.cache = std::make_unique<unsigned char[]>(Storage::kCacheSize);
    s.slot = std::move(file);
    return 0;
}

int storageRead(Storage& s, void* buffer, uint32_t n, uint32_t* count) {
    if (!s.slot) return 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    if (s.position >= 0) {
        while (done < n) {
            const int64_t at = s.position + static_cast<int64_t>(done);
            if (at >= s.cacheStart && at < s.cacheStart + static_cast<int64_t>(s.cacheLength)) {
                const std::size_t from = static_cast<std::size_t>(at - s.cacheStart);
                const std::size_t take = std::min<std::size_t>(n - done, s.cacheLength - from);
                std::memcpy(out + done, s.cache.get() + from, take);
                done += take;
                continue;
            }
            if (n - done >= Storage::kCacheSize) {
                // A large request goes straight to the file; the cache would not help it.
                done += s.slot->readAt(out + done, n - done, at);
                break;
            }
            refill(s, at);
            if (s.cacheLength == 0) break;
        }
        s.position += static_cast<int64_t>(done);
    }
    if (count != nullptr) *count = static_cast<uint32_t>(done);
    return 0;
}

int64_t storageReadLine(Storage& s, std::string& line, unsigned char* last) {
    *last = 0;
    int64_t consumed = 0;
    if (!s.slot || s.position < 0) return 0;
    for (;;) {
        if (s.position < s.cacheStart ||
            s.position >= s.cacheStart + static_cast<int64_t>(s.cacheLength)) {
            refill(s, s.position);
            if (s.cacheLength == 0) return consumed;
        }
        const unsigned char* begin = s.cache.get() + (s.position - s.cacheStart);
        const unsigned char* stop = s.cache.get() + s.cacheLength;
        const unsigned char* end = begin;
        while (end < stop && *end != '\n' && *end != '\r') ++end;
        line.append(begin, end); // may throw std::bad_alloc
        const bool ended = end < stop;
        const int64_t taken = (end - begin) + (ended ? 1 : 0);
        *last = ended ? *end : stop[-1];
        s.position += taken;
        consumed += taken;
        if (ended) return consumed;
    }
}

int storageSeek(Storage& s, int64_t offset) {
    // A card reader takes the offset as an unsigned number, so a negative one lies beyond
    // the end of any file: the reads after it deliver nothing. Huge offsets are capped so
    // that position arithmetic cannot overflow; no file reaches the cap.
    constexpr int64_t kFarBeyond = int64_t{1} << 60;
    if (s.slot) s.position = offset < 0 ? -1 : std::min(offset, kFarBeyond);
    return 0;
}

namespace {
// Reads `bytes` single bytes, least significant first; a byte that cannot be read is 0.
uint32_t readLittleEndian(Storage& s, int bytes) {
    uint32_t value = 0;
    for (int shift = 0; shift < bytes * 8; shift += 8) {
        unsigned char byte = 0;
        uint32_t count = 0;
        storageRead(s, &byte, 1, &count);
        value |= static_cast<uint32_t>(byte) << shift;
    }
    return value;
}
} // namespace

int32_t readLE16(Storage& s) {
    return static_cast<int32_t>(readLittleEndian(s, 2));
}

int32_t readLE32(Storage& s) {
    return static_cast<int32_t>(readLittleEndian(s, 4));
}

bool storageIsOpen(const Storage& s) {
    return s.slot != nullptr;
}

int64_t storageSize(Storage& s) {
    return s.slot ? s.slot->size() : 0;
}

} // namespace orvanta
