#include "cli/lsp/stdio_loop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/lsp/server.h"
#include "platform/disk_folder.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace orvanta::cli::lsp {

namespace {

// How often the loop looks at the folder watches when no message arrives.
constexpr auto kWatchInterval = std::chrono::milliseconds(100);
// Frames read ahead of the server; the reader waits beyond that, so a flooding client
// cannot fill the memory.
constexpr std::size_t kMaxQueued = 16;

std::size_t readStandardInput(char* buffer, std::size_t n) {
#ifdef _WIN32
    const int got = _read(0, buffer, static_cast<unsigned>(std::min<std::size_t>(n, 1 << 20)));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
#else
    for (;;) {
        const ssize_t got = ::read(0, buffer, n);
        if (got < 0 && errno == EINTR) continue;
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }
#endif
}

void writeStandardOutput(const Json& message) {
    const std::string framed = frameMessage(serialize(message));
    std::fwrite(framed.data(), 1, framed.size(), stdout);
    std::fflush(stdout);
}

// The frames the reading thread has read and the server has not yet taken. Shared, since
// the reading thread may still wait in a read when the server has ended.
struct Inbox {
    std::mutex mutex;
    std::condition_variable arrived;
    std::condition_variable taken;
    std::deque<Frame> frames;
};

void readFrames(const std::shared_ptr<Inbox>& inbox) {
    MessageReader reader(readStandardInput);
    for (;;) {
        Frame frame = reader.next();
        const bool end = frame.kind == Frame::Kind::End;
        {
            std::unique_lock lock(inbox->mutex);
            inbox->taken.wait(lock, [&] { return inbox->frames.size() < kMaxQueued; });
            inbox->frames.push_back(std::move(frame));
        }
        inbox->arrived.notify_one();
        if (end) return;
    }
}

} // namespace

int runOnStandardStreams() {
#ifdef _WIN32
    // The protocol counts bytes, so no line ends may be translated either way.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    // A client that has gone away ends the server through the end of its input, not
    // through a signal on the next write.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    Server server(
        writeStandardOutput,
        [](const std::string& path) { return std::make_unique<DiskFolder>(path); }, true);
    auto inbox = std::make_shared<Inbox>();
    std::thread(readFrames, inbox).detach();
    for (;;) {
        std::deque<Frame> frames;
        {
            std::unique_lock lock(inbox->mutex);
            inbox->arrived.wait_for(lock, kWatchInterval, [&] { return !inbox->frames.empty(); });
            frames.swap(inbox->frames);
        }
        inbox->taken.notify_one();
        for (const Frame& frame : frames) {
            if (frame.kind == Frame::Kind::End) return server.exitCode();
            server.receive(frame);
            if (server.exited()) return server.exitCode();
        }
        server.pollFolders();
    }
}

} // namespace orvanta::cli::lsp
