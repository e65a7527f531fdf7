#pragma once
// Single-slot file access in the manner of a small memory-card reader: at most one file
// is open, and opening a file closes the previous one. Names are resolved by the device's
// folder and files are read as raw bytes.
#include <cstdint>
#include <memory>
#include <string>

#include "core/storage/folder.h"

namespace orvanta {

class Storage {
  public:
    explicit Storage(Folder& folder) : folder(folder) {}

    Folder& folder;
    // The slot. The position is kept here rather than in the file: reads go through a cache,
    // so a one-byte read is a copy and a seek within the cached range costs nothing. A
    // negative position stands for "beyond every end of file".
    std::unique_ptr<File> slot;
    int64_t position = 0;
    static constexpr std::size_t kCacheSize = 64 * 1024;
    std::unique_ptr<unsigned char[]> cache; // allocated at the first open
    int64_t cacheStart = 0;
    std::size_t cacheLength = 0;
};

// Closes the slot; with a non-null name opens that file. 0 on success, -1 on failure
// (the slot is then empty).
int storageOpen(Storage& storage, const char* name);
// Reads up to n bytes; with no file open reads nothing and leaves buffer and count alone.
int storageRead(Storage& storage, void* buffer, uint32_t n, uint32_t* count);
// Positions the file; offsets beyond the end are not an error. Nothing with no file open.
int storageSeek(Storage& storage, int64_t offset);
// Appends the bytes from the position up to the next LF or CR to `line` and reads past
// that line end, exactly as reading one byte at a time would. Returns the number of bytes
// read, line end included; `last` receives the last byte read (0 when none was).
int64_t storageReadLine(Storage& storage, std::string& line, unsigned char* last);
int32_t readLE16(Storage& storage);
int32_t readLE32(Storage& storage);
bool storageIsOpen(const Storage& storage);
// The size of the open file in bytes; 0 with no file open.
int64_t storageSize(Storage& storage);

} // namespace orvanta
