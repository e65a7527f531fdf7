// What the page's file list asks of the device's folder: the chain of configuration files
// from config.txt, followed by the checker exactly as the device follows it, and what kind of
// picture a dropped file is (the picture module converts those the device cannot draw).
#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

#include "core/config/bmp.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"
#include "host/web/engine/engine_state.h"
#include "language/overlay_folder.h"
#include "media/picture.h"
#include "session/chain_walk.h"

using orvanta::web::engine;
using orvanta::web::reply;

namespace {

// The list shows this many files of a chain at most; following a chain of thousands of files
// through the checker would hold the page for seconds.
constexpr std::size_t kMaxChainShown = 200;

// The kinds of dropped file the page tells apart: those the device draws as they are, those
// the converter can turn into such a file, and the rest.
enum PictureKind : int { kNotPicture = 0, kConvertible = 1, kDrawable = 2 };

// A BMP the device draws as it is: uncompressed, 24 bits, and no larger than the panel, so
// that nothing of it falls off the screen.
bool drawableAsIs(std::span<const uint8_t> bytes) {
    orvanta::language::OverlayFolder single;
    single.put("picture.bmp",
               std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    orvanta::Storage storage(single);
    if (orvanta::storageOpen(storage, "picture.bmp") != 0) return false;
    const orvanta::BmpHeader header = orvanta::readBmpHeader(storage, orvanta::Trace());
    const int64_t height = header.height < 0 ? -int64_t{header.height} : header.height;
    return header.drawable() && header.width > 0 && header.width <= 128 && height > 0 &&
           height <= 128;
}

} // namespace

extern "C" {

// The chain as JSON: {"chain": [names in the order the device shows them], "missing": the
// name of a successor the folder lacks, or null, "more": true when the chain goes on beyond
// the files listed}. A file that chains back to one already shown ends the list, as the
// device then goes round the same files again.
ORVANTA_EXPORT const char* orvanta_chain() {
    const orvanta::ChainWalk walk = orvanta::walkChain(engine().folder, kMaxChainShown);
    nlohmann::json missing = nullptr;
    if (walk.missing) missing = *walk.missing;
    const nlohmann::json chain = walk.chain;
    const bool more = walk.more;
    // Names are any bytes; the page reads them back as UTF-8 with replacement characters.
    return reply(nlohmann::json{{"chain", chain}, {"missing", missing}, {"more", more}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}

// What the page may do with a dropped file (see PictureKind).
ORVANTA_EXPORT int orvanta_picture_kind(const uint8_t* bytes, uint32_t size) {
    const std::span<const uint8_t> file(bytes, bytes == nullptr ? 0 : size);
    switch (orvanta::detectPictureFormat(file)) {
    case orvanta::PictureFormat::Bmp:
        return drawableAsIs(file) ? kDrawable : kConvertible;
    case orvanta::PictureFormat::Png:
    case orvanta::PictureFormat::Jpeg:
    case orvanta::PictureFormat::Gif:
        return kConvertible;
    case orvanta::PictureFormat::Unknown:
        break;
    }
    return kNotPicture;
}

// The reply of the last function that replied, for those that return a status instead.
ORVANTA_EXPORT const char* orvanta_reply_data() {
    return engine().reply.data();
}
}
