#include "cli/renderer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "media/gif.h"
#include "media/image.h"
#include "platform/disk_folder.h"
#include "platform/open_file.h"
#include "platform/trace_sinks.h"
#include "session/frame_schedule.h"
#include "session/gif_animation.h"
#include "session/session.h"

namespace orvanta::cli {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr && f != stdout) std::fclose(f);
    }
};

// "FILE:LINE" into its parts; false when LINE is not a whole number from 1.
bool splitReference(const std::string& text, std::string& file, int32_t& line) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    file = text.substr(0, colon);
    int64_t number = 0;
    for (std::size_t i = colon + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || number > 100000000) return false;
        number = number * 10 + (text[i] - '0');
    }
    line = static_cast<int32_t>(number);
    return line >= 1;
}

// Sets the overrides of `options` on the session; an empty string when all were taken,
// otherwise the one line naming the first that was refused. Clamped values get a note.
std::string applyOverrides(Session& session, const RenderOptions& options,
                           std::vector<std::string>& notes) {
    std::string file;
    int32_t line = 0;
    for (const std::string& hold : options.holds) {
        const std::size_t equals = hold.find('=');
        if (equals == std::string::npos || !splitReference(hold.substr(0, equals), file, line))
            return "--hold '" + hold + "' is not FILE:LINE=VALUE";
        const ReadingAnswer answer = session.hold(file, line, hold.substr(equals + 1));
        if (!answer.ok) return "--hold '" + hold + "': " + answer.message;
        if (!answer.message.empty()) notes.push_back("--hold '" + hold + "': " + answer.message);
    }
    for (const std::string& sweep : options.sweeps) {
        if (!splitReference(sweep, file, line)) return "--sweep '" + sweep + "' is not FILE:LINE";
        const ReadingAnswer answer = session.sweep(file, line);
        if (!answer.ok) return "--sweep '" + sweep + "': " + answer.message;
    }
    return "";
}

} // namespace

RenderResult render(const RenderOptions& options, const ProgressFn& progress) {
    RenderResult result;
    const auto fail = [&result](std::string message) {
        result.exitCode = 1;
        result.error = std::move(message);
        return result;
    };

    std::unique_ptr<std::FILE, FileCloser> traceFile;
    if (options.tracePath == "-") {
        traceFile.reset(stdout);
    } else if (!options.tracePath.empty()) {
        traceFile.reset(openFile(options.tracePath, "wb"));
        if (!traceFile)
            return fail("cannot write trace '" + options.tracePath + "': " + std::strerror(errno));
    }
    if (traceFile) std::setvbuf(traceFile.get(), nullptr, _IOFBF, 1 << 16);

    GifWriter gif;
    const int32_t side = DISPLAY_SIZE * options.zoom;
    std::string error;
    if (!options.gifPath.empty() && !gif.open(options.gifPath, side, side, &error))
        return fail(error);
    GifAnimation animation(gif, options.zoom);

    VirtualClock clock(options.startMs);
    DiskFolder folder(options.folder);
    Session session(clock, folder, traceFile ? Trace(traceToFile, traceFile.get()) : Trace(),
                    !options.lineAt.empty());
    // Loop switched on before the first frame holds config.txt, the first successor.
    if (options.loop) session.toggleLoop();
    if (const std::string refused = applyOverrides(session, options, result.notes);
        !refused.empty()) {
        result.exitCode = 2;
        result.error = refused;
        return result;
    }
    const Surface& surface = session.surface();

    const bool bySeconds = options.seconds > 0;
    const double limitMs = options.seconds * 1000.0;
    const uint64_t planned = bySeconds ? 0 : options.frames;
    VirtualFrames frames(clock, options.startMs);
    for (uint64_t frame = 0;; ++frame) {
        if (bySeconds ? static_cast<double>(frames.nextStart()) >= limitMs
                      : frame >= options.frames)
            break;
        frames.run(session);
        ++result.framesRun;
        if (gif.isOpen() && !animation.picture(surface, frames.lastEnd(), &error))
            return fail(error);
        if (progress && (frame & 1023) == 0) progress(frame, planned);
    }
    result.virtualMs = frames.lastEnd();
    for (const PixelPosition& pixel : options.lineAt)
        result.lines.push_back(describeOwner(session.lineAt(pixel.x, pixel.y)));
    if (progress) progress(result.framesRun, planned);

    if (gif.isOpen()) {
        // The last picture stays until the tick at which the next frame would start.
        if (!animation.finish(frames.nextStart(), &error) || !gif.close(&error)) return fail(error);
        result.gifFrames = animation.frames();
    }
    if (traceFile && (std::fflush(traceFile.get()) != 0 || std::ferror(traceFile.get())))
        return fail("cannot write trace '" + options.tracePath + "'");
    if (!options.pngPath.empty() &&
        !writePng(options.pngPath, imageFromSurface(surface, options.zoom), &error))
        return fail(error);
    return result;
}

} // namespace orvanta::cli
