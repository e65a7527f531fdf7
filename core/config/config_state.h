#pragma once
// The configuration state shared by the loader, the parser, the frame run and the host.
#include <cstddef>
#include <cstdint>

namespace orvanta {

// Both names hold at most 19 characters and a terminator.
inline constexpr std::size_t kConfigNameSize = 20;

struct ConfigState {
    char nextConfigName[kConfigNameSize] = "config.txt"; // the file the next load opens
    char thisConfigName[kConfigNameSize] = "";           // the file most recently loaded
    int32_t next_config_load = 0;    // seconds after the last load attempt; compared as unsigned
    uint32_t millis_this_config = 0; // clock reading after the last load attempt
    bool showFps = false;
};

// Copies at most 19 characters of `name` into a 20-byte name buffer, always terminated.
void copyConfigName(char (&dest)[kConfigNameSize], const char* name);

} // namespace orvanta
