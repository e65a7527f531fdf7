// The page's pictures to share: the panel as a PNG at a zoom, and an animated GIF recorded
// frame by frame as the device runs, both written by the desktop's own encoders into
// memory and handed to the page as the module's reply. The panel's words and the frames'
// times come from the device's module, as the page reads them there.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/web/pictures/pictures_state.h"
#include "media/gif.h"
#include "media/image.h"
#include "session/gif_animation.h"

namespace {

using orvanta::web::pictureReply;
using orvanta::web::surfaceAt;
using orvanta::web::wholeMs;

// The zooms a picture may be written at, as on the command line.
int32_t boundedZoom(uint32_t zoom) {
    return static_cast<int32_t>(std::clamp<uint32_t>(zoom, 1, 16));
}

// One recording at a time. The animation is written into `bytes` as it goes; it stops
// taking pictures once they pass kGifCapBytes, so that a long recording of a busy panel
// cannot exhaust the page's memory.
constexpr std::size_t kGifCapBytes = 48u << 20;

struct Recording {
    std::vector<uint8_t> bytes;
    orvanta::GifWriter writer;
    std::unique_ptr<orvanta::GifAnimation> animation;
    uint64_t lastShown = 0; // the time of the last picture taken
    bool stopped = false;   // no more pictures are taken
    bool failed = false;    // the encoder failed: nothing can be written
};

std::unique_ptr<Recording> recording;

} // namespace

extern "C" {

// The panel given as words (see surfaceAt) as a PNG file, each pixel repeated zoom x zoom
// times (zoom 1 to 16); the reply's size is 0 when it could not be encoded.
ORVANTA_EXPORT const char* orvanta_picture_png(const uint32_t* words, uint32_t zoom) {
    std::vector<uint8_t> bytes;
    const orvanta::RgbImage image = orvanta::imageFromSurface(*surfaceAt(words), boundedZoom(zoom));
    if (!orvanta::encodePng(image, &bytes)) bytes.clear();
    return pictureReply(std::string(bytes.begin(), bytes.end()));
}

// Starts recording the pictures of the frames to come at a zoom of 1 to 16, dropping a
// recording that was not finished. 1 when started.
ORVANTA_EXPORT int orvanta_gif_begin(uint32_t zoom) {
    recording = std::make_unique<Recording>();
    const int32_t side = orvanta::DISPLAY_SIZE * boundedZoom(zoom);
    if (!recording->writer.openInMemory(&recording->bytes, side, side, nullptr)) {
        recording.reset();
        return 0;
    }
    recording->animation =
        std::make_unique<orvanta::GifAnimation>(recording->writer, boundedZoom(zoom));
    return 1;
}

// Takes the picture of the frame that just ran: the panel's words and the time its frame
// ended (the device module's orvanta_last_end()). 1 while the recording goes on; 0 when
// there is none, it failed, or it reached its size cap (finish it then).
ORVANTA_EXPORT int orvanta_gif_capture(const uint32_t* words, double frameEnd) {
    if (!recording || recording->stopped) return 0;
    // A device powered on again starts its clock anew: its pictures cannot follow on.
    const uint64_t shownFrom = wholeMs(frameEnd);
    if (recording->bytes.size() >= kGifCapBytes || shownFrom < recording->lastShown) {
        recording->stopped = true;
        return 0;
    }
    if (!recording->animation->picture(*surfaceAt(words), shownFrom, nullptr))
        recording->failed = recording->stopped = true;
    recording->lastShown = shownFrom;
    return recording->stopped ? 0 : 1;
}

// Ends the recording at `nextStart`, when the device's next frame would start, and replies
// with the GIF file; the reply is empty when nothing was recorded or writing failed. A
// recording stopped by its cap or by a power-on keeps what it took before.
ORVANTA_EXPORT const char* orvanta_gif_finish(double nextStart) {
    if (!recording) return pictureReply({});
    std::unique_ptr<Recording> done = std::move(recording);
    const uint64_t end = std::max(wholeMs(nextStart), done->lastShown);
    const bool ok = !done->failed && done->animation->finish(end, nullptr) &&
                    done->animation->frames() > 0 && done->writer.close(nullptr);
    if (!ok) return pictureReply({});
    return pictureReply(std::string(done->bytes.begin(), done->bytes.end()));
}

// The size of the recording so far, in bytes.
ORVANTA_EXPORT double orvanta_gif_size() {
    return recording ? static_cast<double>(recording->bytes.size()) : 0.0;
}
}
