#include "config/loader.h"

#include <cstring>
#include <new>
#include <string>

#include "config/config_state.h"
#include "config/parser.h"
#include "config/storage.h"
#include "host/trace.h"
#include "runtime/clock.h"
#include "runtime/objects.h"

namespace orvanta {

bool isConfigDue() {
    // Elapsed time and the comparison are unsigned 32-bit, so the rule survives the clock
    // wrapping and a negative delay is never reached.
    const uint32_t seconds = (millis() - millis_this_config) / 1000u;
    return seconds > static_cast<uint32_t>(next_config_load);
}

namespace {

// Reads one line into `line` without its line end. Returns the byte last read: 0 when the
// file ended before any byte of the line (or its last byte was a zero byte). `consumed`
// counts every byte read, line ends included.
unsigned char readLine(std::string& line, int64_t& consumed) {
    line.clear();
    unsigned char last = 0;
    consumed += storageReadLine(line, &last);
    return last;
}

} // namespace

void LoadConfigFromSD(const char* name) {
    traceLine("LoadConfigFromSD Start");
    if (storageOpen(name) != 0) {
        next_config_load = 20;
        return;
    }
    // From here on only thisConfigName names the file: `name` may be nextConfigName, which
    // a "LoadConfig" line of this very file rewrites.
    copyConfigName(thisConfigName, name);
    storageSeek(0);
    next_config_load = 3600;
    showFps = false;
    frameCounter = -1;
    deleteAllObjects();
    int64_t consumed = 0;

    try {
        std::string line;
        for (;;) {
            if (readLine(line, consumed) == 0) break;
            parseConfigLine(line.c_str());
            // The picture of an "image" line went through the same slot and closed it. The
            // search sees the line as the parser did, up to a zero byte.
            if (std::strstr(line.c_str(), "image") != nullptr) {
                if (storageOpen(thisConfigName) != 0) {
                    traceError("pf_open");
                    break;
                }
                storageSeek(consumed);
            }
        }
    } catch (const std::bad_alloc&) {
        // A line too long to hold in memory ends the load as the end of the file would.
    }
    storageOpen(nullptr);
    traceLine("LoadConfigFromSD End");
}

} // namespace orvanta
