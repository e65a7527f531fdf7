#include "host/web/engine/engine.h"

#include <cstring>
#include <string>

#include "host/web/engine/engine_state.h"

using orvanta::web::bytesAt;
using orvanta::web::engine;

extern "C" {

ORVANTA_EXPORT void orvanta_clear_files() {
    engine().folder.clear();
}

ORVANTA_EXPORT int orvanta_put_file(const char* name, uint32_t nameLength, const uint8_t* bytes,
                                    uint32_t size) {
    if (nameLength == 0 || std::memchr(name, '\0', nameLength) != nullptr) return 0;
    engine().folder.put(bytesAt(name, nameLength), bytesAt(bytes, size));
    return 1;
}

ORVANTA_EXPORT void orvanta_remove_file(const char* name, uint32_t nameLength) {
    engine().folder.remove(bytesAt(name, nameLength));
}

ORVANTA_EXPORT void orvanta_file_saved(const char* name, uint32_t nameLength) {
    engine().current().session.fileSaved(bytesAt(name, nameLength));
}

ORVANTA_EXPORT void orvanta_power_on() {
    engine().powerOn();
}

ORVANTA_EXPORT void orvanta_run_frames(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) engine().runFrame();
}

ORVANTA_EXPORT double orvanta_next_start() {
    return static_cast<double>(engine().current().frames.nextStart());
}

ORVANTA_EXPORT double orvanta_last_end() {
    return static_cast<double>(engine().current().frames.lastEnd());
}

ORVANTA_EXPORT double orvanta_frames_run() {
    return static_cast<double>(engine().current().frames.framesRun());
}

ORVANTA_EXPORT const uint32_t* orvanta_picture() {
    return engine().current().session.surface().pixels;
}

ORVANTA_EXPORT const uint8_t* orvanta_trace() {
    return reinterpret_cast<const uint8_t*>(engine().trace.data());
}

ORVANTA_EXPORT uint32_t orvanta_trace_size() {
    return static_cast<uint32_t>(engine().trace.size());
}

ORVANTA_EXPORT void orvanta_reload() {
    engine().current().session.reload();
}

ORVANTA_EXPORT void orvanta_next_file() {
    engine().current().session.loadNextNow();
}

ORVANTA_EXPORT void orvanta_restart() {
    engine().current().session.restart();
}

ORVANTA_EXPORT int orvanta_toggle_loop() {
    orvanta::Session& session = engine().current().session;
    session.toggleLoop();
    return session.host().loopChecked ? 1 : 0;
}
}
