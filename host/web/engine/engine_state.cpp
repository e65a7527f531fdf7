#include "host/web/engine/engine_state.h"

#include <cstdlib>

namespace orvanta::web {

Run::Run(language::OverlayFolder& folder, std::string& trace)
    : session(clock, folder, Trace(traceToString, &trace)), frames(clock, kFirstFrameMs) {}

Run& Engine::current() {
    if (!run) powerOn();
    return *run;
}

void Engine::powerOn() {
    run.reset();
    trace.clear();
    run = std::make_unique<Run>(folder, trace);
}

Engine& engine() {
    static Engine instance;
    return instance;
}

const char* reply(std::string text) {
    engine().reply = std::move(text);
    return engine().reply.c_str();
}

std::string bytesAt(const void* pointer, uint32_t size) {
    if (pointer == nullptr || size == 0) return {};
    return std::string(static_cast<const char*>(pointer), size);
}

} // namespace orvanta::web

extern "C" {

ORVANTA_EXPORT void* orvanta_alloc(uint32_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

ORVANTA_EXPORT void orvanta_free(void* memory) {
    std::free(memory);
}

ORVANTA_EXPORT uint32_t orvanta_reply_size() {
    return static_cast<uint32_t>(orvanta::web::engine().reply.size());
}
}
