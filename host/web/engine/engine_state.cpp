#include "host/web/engine/engine_state.h"

#include <cstdlib>
#include <string_view>

namespace orvanta::web {

namespace {
// Appends each piece while the trace stays within the engine's cap; the first piece that
// would pass it ends the trace with a line that says where and why.
void traceWithinCap(void* context, const char* data, std::size_t length) {
    Engine& state = engine();
    auto& trace = *static_cast<std::string*>(context);
    if (state.traceStopped) return;
    if (trace.size() + length <= state.traceCap) {
        trace.append(data, length);
        return;
    }
    state.traceStopped = true;
    if (!trace.empty() && trace.back() != '\n') trace += '\n';
    trace += "The page's trace stops here: it reached its limit of " +
             std::to_string(state.traceCap) + " bytes.\n";
}
} // namespace

Run::Run(language::OverlayFolder& folder, std::string& trace)
    : session(clock, folder, Trace(traceWithinCap, &trace)), frames(clock, kFirstFrameMs) {}

Run& Engine::current() {
    if (!run) powerOn();
    return *run;
}

void Engine::powerOn() {
    run.reset();
    // A new device holds no file; what design held belonged to the one that went.
    holdShown = false;
    heldSuccessor.clear();
    trace.clear();
    traceStopped = false;
    run = std::make_unique<Run>(folder, trace);
}

void Engine::runFrame() {
    Run& now = current();
    now.frames.run(now.session);
    if (!holdShown) return;
    ConfigState& config = now.session.device().config;
    if (config.thisConfigName[0] == '\0') return;
    // A load names its successor in nextConfigName; it is kept for the release.
    if (std::string_view(config.nextConfigName) != config.thisConfigName)
        heldSuccessor = config.nextConfigName;
    copyConfigName(config.nextConfigName, config.thisConfigName);
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
