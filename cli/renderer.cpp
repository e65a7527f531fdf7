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
