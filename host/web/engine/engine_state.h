#pragma once
// The state behind the page's C interface: one folder held in memory, the trace of the
// device on it, and the device's run since the last power-on. Every file of this folder
// adds C functions over the one Engine; each is marked ORVANTA_EXPORT, which keeps it in
// the module under its own name with a leading underscore.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/web/engine/export.h"
#include "language/overlay_folder.h"
#include "session/frame_schedule.h"
#include "session/session.h"

namespace orvanta::web {

constexpr uint32_t kFirstFrameMs = 10000;

// Everything one power-on creates, in the order it must be built and torn down.
struct Run {
    explicit Run(language::OverlayFolder& folder, std::string& trace);
    VirtualClock clock{kFirstFrameMs};
    Session session;
    VirtualFrames frames;
};

// The trace is kept from power-on up to this many bytes; then it stops with a line saying
// so, so that a page left running for days holds a bounded trace whose start still matches
// the desktop's.
constexpr std::size_t kTraceCapBytes = 64u << 20;

struct Engine {
    language::OverlayFolder folder;
    std::string trace;
    std::size_t traceCap = kTraceCapBytes;
    bool traceStopped = false;
    std::unique_ptr<Run> run;
    // The text of the last answer that a function returned as text (see reply()).
    std::string reply;
    // While design on the display holds the file on show, each frame makes it the next file
    // again, as Loop does; `heldSuccessor` keeps the successor it named, for the release.
    bool holdShown = false;
    std::string heldSuccessor;

    Run& current(); // powers on first if nothing ran yet
    void powerOn();
    // One frame of the device, with the file on show held while design holds it.
    void runFrame();
};

Engine& engine();

// Keeps `text` as the engine's reply and returns its bytes; orvanta_reply_size() gives
// their count. The reply stays valid until the next function that replies.
const char* reply(std::string text);

// The bytes the page wrote at (pointer, size) as a string; a null pointer reads as empty.
std::string bytesAt(const void* pointer, uint32_t size);

} // namespace orvanta::web
