#pragma once
// The folder seam: where a device's storage finds its files. The hosts give it the card's
// folder on disk; tests and tools may give it anything that reads bytes by name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvanta {

// An open file, read as raw bytes at any offset.
class File {
  public:
    virtual ~File() = default;
    // Reads up to n bytes at `offset` (never negative) into `buffer` and returns the count;
    // fewer than n only at the end of the file. A read error counts as the end of the file.
    virtual std::size_t readAt(void* buffer, std::size_t n, int64_t offset) = 0;
    virtual int64_t size() = 0;
};

class Folder {
  public:
    virtual ~Folder() = default;
    // Opens the named file for reading, the name used unchanged. Null when no regular file
    // of that name can be opened: a folder or a device has no bytes to read as a file.
    virtual std::unique_ptr<File> open(const char* name) = 0;
    // The names of the entries of the folder, or of its subfolder `sub` when that is not
    // empty, exactly as they are stored: files and folders alike, letter case kept, without
    // "." and "..". Empty when there is no such folder. A name matches a file only when it
    // is in this list byte for byte, whatever the system's own rules for names.
    virtual std::vector<std::string> list(const std::string& sub) = 0;
};

} // namespace orvanta
