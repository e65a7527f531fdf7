#include "host/web/engine/engine.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "language/overlay_folder.h"
#include "session/frame_schedule.h"
#include "session/session.h"

namespace orvanta {
namespace {

constexpr uint32_t kFirstFrameMs = 10000;

// Everything one power-on creates, in the order it must be built and torn down.
struct Run {
    explicit Run(language::OverlayFolder& folder, std::string& trace)
        : session(clock, folder, Trace(traceToString, &trace)), frames(clock, kFirstFrameMs) {}
    VirtualClock clock{kFirstFrameMs};
    Session session;
    VirtualFrames frames;
};

struct Engine {
    language::OverlayFolder folder;
    std::string trace;
    std::unique_ptr<Run> run;

    Run& current() {
        if (!run) powerOn();
        return *run;
    }
    void powerOn() {
        run.reset();
        trace.clear();
        run = std::make_unique<Run>(folder, trace);
    }
};

Engine& engine() {
    static Engine instance;
    return instance;
}

} // namespace
} // namespace orvanta

using orvanta::engine;

extern "C" {

void* orvanta_alloc(uint32_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void orvanta_free(void* memory) {
    std::free(memory);
}

void orvanta_clear_files() {
    engine().folder.clear();
}

int orvanta_put_file(const char* name, uint32_t nameLength, const uint8_t* bytes, uint32_t size) {
    if (nameLength == 0 || std::memchr(name, '\0', nameLength) != nullptr) return 0;
    engine().folder.put(std::string(name, nameLength),
                        std::string(reinterpret_cast<const char*>(bytes), size));
    return 1;
}

void orvanta_power_on() {
    engine().powerOn();
}

void orvanta_run_frames(uint32_t count) {
    orvanta::Run& run = engine().current();
    for (uint32_t i = 0; i < count; ++i) run.frames.run(run.session);
}

double orvanta_next_start() {
    return static_cast<double>(engine().current().frames.nextStart());
}

double orvanta_frames_run() {
    return static_cast<double>(engine().current().frames.framesRun());
}

const uint32_t* orvanta_picture() {
    return engine().current().session.surface().pixels;
}

const uint8_t* orvanta_trace() {
    return reinterpret_cast<const uint8_t*>(engine().trace.data());
}

uint32_t orvanta_trace_size() {
    return static_cast<uint32_t>(engine().trace.size());
}

void orvanta_reload() {
    engine().current().session.reload();
}

void orvanta_next_file() {
    engine().current().session.loadNextNow();
}

void orvanta_restart() {
    engine().current().session.restart();
}

int orvanta_toggle_loop() {
    orvanta::Session& session = engine().current().session;
    session.toggleLoop();
    return session.host().loopChecked ? 1 : 0;
}
}
