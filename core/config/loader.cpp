#include "core/config/loader.h"

#include <cstring>
#include <new>

#include "core/config/config_state.h"
#include "core/config/load_context.h"
#include "core/config/parser.h"
#include "core/runtime/clock.h"
#include "core/runtime/objects.h"
#include "core/runtime/provenance.h"
#include "core/runtime/readings.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"

namespace orvanta {

bool isConfigDue(const ConfigState& config, Clock& clock) {
    // Elapsed time and the comparison are unsigned 32-bit, so the rule survives the clock
    // wrapping and a negative delay is never reached.
    const uint32_t seconds = (clock.now() - config.millis_this_config) / 1000u;
    return seconds > static_cast<uint32_t>(config.next_config_load);
}

unsigned char readConfigLine(Storage& storage, std::string& line, int64_t& consumed) {
    line.clear();
    unsigned char last = 0;
    consumed += storageReadLine(storage, line, &last);
    return last;
}

bool reopensAfter(const char* line) {
    return std::strstr(line, "image") != nullptr;
}

void LoadConfigFromSD(LoadContext& load, const char* name) {
    ConfigState& config = load.config;
    traceLine(load.trace, "LoadConfigFromSD Start");
    if (storageOpen(load.storage, name) != 0) {
        config.next_config_load = 20;
        return;
    }
    // From here on only thisConfigName names the file: `name` may be nextConfigName, which
    // a "LoadConfig" line of this very file rewrites.
    copyConfigName(config.thisConfigName, name);
    storageSeek(load.storage, 0);
    config.next_config_load = 3600;
    config.showFps = false;
    load.frameCounter = -1;
    if (load.readings != nullptr) load.readings->forgetObjects();
    deleteAllObjects(load.objectList);
    if (load.provenance.recording()) load.provenance.forgetUnused(load.objectList);
    load.lineNumber = 0;
    int64_t consumed = 0;

    try {
        std::string line;
        unsigned char previousEnd = 0;
        for (;;) {
            const unsigned char end = readConfigLine(load.storage, line, consumed);
            if (end == 0) break;
            // The empty line between the CR and the LF of a pair is no line of its own.
            if (!(end == '\n' && line.empty() && previousEnd == '\r')) ++load.lineNumber;
            previousEnd = end;
            parseConfigLine(load, line.c_str());
            // The picture of an "image" line went through the same slot and closed it. The
            // search sees the line as the parser did, up to a zero byte.
            if (reopensAfter(line.c_str())) {
                if (storageOpen(load.storage, config.thisConfigName) != 0) {
                    traceError(load.trace, "pf_open");
                    break;
                }
                storageSeek(load.storage, consumed);
            }
        }
    } catch (const std::bad_alloc&) {
        // A line too long to hold in memory ends the load as the end of the file would.
    }
    storageOpen(load.storage, nullptr);
    if (load.readings != nullptr && !load.readings->empty())
        load.readings->loaded(load.trace, config.thisConfigName);
    traceLine(load.trace, "LoadConfigFromSD End");
}

} // namespace orvanta
