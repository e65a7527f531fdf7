// What window.orvanta offers beyond the picture and the trace: the checker's findings for
// the folder, and the trace's size cap.
#include <cstdint>

#include "host/web/engine/engine_state.h"
#include "session/check_report_json.h"

extern "C" {

// The findings for the folder, from config.txt along its chain, as the same JSON document
// that `orvanta-cli check --format json` prints for it, with bare file names.
ORVANTA_EXPORT const char* orvanta_findings() {
    return orvanta::web::reply(orvanta::chainReportJson(orvanta::web::engine().folder, "."));
}

// Caps the trace of the next power-on at `bytes` (0 restores the usual cap).
ORVANTA_EXPORT void orvanta_set_trace_cap(uint32_t bytes) {
    orvanta::web::engine().traceCap = bytes == 0 ? orvanta::web::kTraceCapBytes : bytes;
}
}
