#include "config/storage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta {

namespace {

std::string folder;

// The slot. The position is kept here rather than in the descriptor: reads go through a
// cache filled with pread, so a one-byte read is a copy and a seek within the cached
// range costs nothing. A negative position stands for "beyond every end of file".
int slotFd = -1;
int64_t position = 0;

constexpr std::size_t kCacheSize = 64 * 1024;
unsigned char cache[kCacheSize];
int64_t cacheStart = 0;
std::size_t cacheLength = 0;

void closeSlot() {
    if (slotFd >= 0) ::close(slotFd);
    slotFd = -1;
    position = 0;
    cacheStart = 0;
    cacheLength = 0;
}

// Reads from the file at `offset`, retrying interrupted calls. A read error counts as the
// end of the file.
std::size_t readAt(void* buffer, std::size_t n, int64_t offset) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(slotFd, static_cast<unsigned char*>(buffer) + done, n - done,
                                    static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

void setWorkingFolder(const std::string& newFolder) {
    folder = newFolder;
}
const std::string& workingFolder() {
    return folder;
}

int storageOpen(const char* name) {
    closeSlot();
    if (name == nullptr) return 0;
    const std::string path = folder.empty() ? std::string(name) : folder + "/" + name;
    // Non-blocking so that opening a FIFO returns at once; anything but a regular file is
    // then turned away, since a directory or a device has no bytes to read as a file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    slotFd = fd;
    return 0;
}

int storageRead(void* buffer, uint32_t n, uint32_t* count) {
    if (slotFd < 0) return 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    if (position >= 0) {
        while (done < n) {
            const int64_t at = position + static_cast<int64_t>(done);
            if (at >= cacheStart && at < cacheStart + static_cast<int64_t>(cacheLength)) {
                const std::size_t from = static_cast<std::size_t>(at - cacheStart);
                const std::size_t take = std::min<std::size_t>(n - done, cacheLength - from);
                std::memcpy(out + done, cache + from, take);
                done += take;
                continue;
            }
            if (n - done >= kCacheSize) {
                // A large request goes straight to the file; the cache would not help it.
                done += readAt(out + done, n - done, at);
                break;
            }
            cacheStart = at;
            cacheLength = readAt(cache, kCacheSize, at);
            if (cacheLength == 0) break;
        }
        position += static_cast<int64_t>(done);
    }
    if (count != nullptr) *count = static_cast<uint32_t>(done);
    return 0;
}

int64_t storageReadLine(std::string& line, unsigned char* last) {
    *last = 0;
    int64_t consumed = 0;
    if (slotFd < 0 || position < 0) return 0;
    for (;;) {
        if (position < cacheStart || position >= cacheStart + static_cast<int64_t>(cacheLength)) {
            cacheStart = position;
            cacheLength = readAt(cache, kCacheSize, position);
            if (cacheLength == 0) return consumed;
        }
        const unsigned char* begin = cache + (position - cacheStart);
        const unsigned char* stop = cache + cacheLength;
        const unsigned char* end = begin;
        while (end < stop && *end != '\n' && *end != '\r') ++end;
        line.append(begin, end); // may throw std::bad_alloc
        const bool ended = end < stop;
        const int64_t taken = (end - begin) + (ended ? 1 : 0);
        *last = ended ? *end : stop[-1];
        position += taken;
        consumed += taken;
        if (ended) return consumed;
    }
}

int storageSeek(int64_t offset) {
    // A card reader takes the offset as an unsigned number, so a negative one lies beyond
    // the end of any file: the reads after it deliver nothing. Huge offsets are capped so
    // that position arithmetic cannot overflow; no file reaches the cap.
    constexpr int64_t kFarBeyond = int64_t{1} << 60;
    if (slotFd >= 0) position = offset < 0 ? -1 : std::min(offset, kFarBeyond);
    return 0;
}

namespace {
// Reads `bytes` single bytes, least significant first; a byte that cannot be read is 0.
uint32_t readLittleEndian(int bytes) {
    uint32_t value = 0;
    for (int shift = 0; shift < bytes * 8; shift += 8) {
        unsigned char byte = 0;
        uint32_t count = 0;
        storageRead(&byte, 1, &count);
        value |= static_cast<uint32_t>(byte) << shift;
    }
    return value;
}
} // namespace

int32_t readLE16() {
    return static_cast<int32_t>(readLittleEndian(2));
}

int32_t readLE32() {
    return static_cast<int32_t>(readLittleEndian(4));
}

bool storageIsOpen() {
    return slotFd >= 0;
}

} // namespace orvanta
