#pragma once
// Loading a configuration file and the timed chain from one file to the next.
#include <cstdint>
#include <string>

namespace orvanta {

class Clock;
struct ConfigState;
struct LoadContext;
class Storage;

// The elapsed whole seconds never exceed this, so a delay from it on never ends.
inline constexpr int64_t kNeverDueSeconds = 4294967;

// True when more whole seconds than next_config_load have passed since millis_this_config.
bool isConfigDue(const ConfigState& config, Clock& clock);

// Reads one line of the file open in the slot into `line` (emptied first), without its line
// end, as the loader reads it: a line ends at LF or CR. Returns the byte last read: 0 when
// the file ended before any byte of the line, or when its last byte was a zero byte; the
// loader stops there. `consumed` counts every byte read, line ends included.
unsigned char readConfigLine(Storage& storage, std::string& line, int64_t& consumed);

// Whether the loader reopens its file after this line: it mentions "image" anywhere.
bool reopensAfter(const char* line);

// Replaces all objects by those of the named file. A file that cannot be opened sets
// next_config_load to 20 and changes nothing else.
void LoadConfigFromSD(LoadContext& load, const char* name);

} // namespace orvanta
