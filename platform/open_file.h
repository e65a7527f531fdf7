#pragma once
// Files opened by name, the name being UTF-8 on every system, as every path in Orvanta is.
#include <cstdio>
#include <string>

namespace orvanta {

// std::fopen for a UTF-8 path; null with errno set when the file does not open.
std::FILE* openFile(const std::string& path, const char* mode);

// A file created, or emptied, for writing alone, with the usual permissions and not handed
// on to child processes: a descriptor, or -1 with errno set.
int createFileDescriptor(const std::string& path);

} // namespace orvanta
