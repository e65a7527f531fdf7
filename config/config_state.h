#pragma once
// The configuration state shared by the loader, the parser, the frame run and the host.
#include <cstddef>
#include <cstdint>

namespace orvanta {

// Both names hold at most 19 characters and a terminator.
inline constexpr std::size_t kConfigNameSize = 20;

extern char nextConfigName[kConfigNameSize]; // the file the next load opens
extern char thisConfigName[kConfigNameSize]; // the file most recently loaded
extern int32_t next_config_load;             // seconds; compared as unsigned
extern uint32_t millis_this_config;          // clock reading after the last load attempt
extern bool showFps;

// Copies at most 19 characters of `name` into a 20-byte name buffer, always terminated.
void copyConfigName(char (&dest)[kConfigNameSize], const char* name);

// Puts the five values back to their program-start state.
void resetConfigState();

} // namespace orvanta
