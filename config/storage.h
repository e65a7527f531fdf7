#pragma once
// Single-slot file access in the manner of a small memory-card reader: at most one file
// is open, and opening a file closes the previous one. Names are resolved relative to
// the working folder and files are read as raw bytes.
#include <cstdint>
#include <string>

namespace orvanta {

// The folder that names are resolved against; empty means the process's current folder.
void setWorkingFolder(const std::string& folder);
const std::string& workingFolder();

// Closes the slot; with a non-null name opens that file. 0 on success, -1 on failure
// (the slot is then empty). Only regular files open.
int storageOpen(const char* name);
// Reads up to n bytes; with no file open reads nothing and leaves buffer and count alone.
int storageRead(void* buffer, uint32_t n, uint32_t* count);
// Positions the file; offsets beyond the end are not an error. Nothing with no file open.
int storageSeek(int64_t offset);
// Appends the bytes from the position up to the next LF or CR to `line` and reads past
// that line end, exactly as reading one byte at a time would. Returns the number of bytes
// read, line end included; `last` receives the last byte read (0 when none was).
int64_t storageReadLine(std::string& line, unsigned char* last);
int32_t readLE16();
int32_t readLE32();
bool storageIsOpen();

} // namespace orvanta
