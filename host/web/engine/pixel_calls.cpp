// Pixel and line, both ways, and the inspector's readings: which line drew a pixel, which
// pixels a line owns now, and what the windows' overlay says about the pixel under the
// pointer.
#include <algorithm>
#include <string>

#include <nlohmann/json.hpp>

#include "core/runtime/provenance.h"
#include "host/web/engine/engine_state.h"

namespace {

using Json = nlohmann::json;
using orvanta::web::engine;

const char* replyJson(const Json& answer) {
    return orvanta::web::reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

} // namespace

extern "C" {

// The text `orvanta-cli render --line-at X,Y` prints for the pixel: "none", "fps" or
// "FILE:LINE: KEYWORD". A point off the panel reads as "none".
ORVANTA_EXPORT const char* orvanta_line_at(int32_t x, int32_t y) {
    return orvanta::web::reply(orvanta::describeOwner(engine().current().session.lineAt(x, y)));
}

// The owner of pixel (x, y) as JSON: {"kind": "none" | "fps" | "line", "file", "line"
// (1-based), "keyword"}.
ORVANTA_EXPORT const char* orvanta_owner_at(int32_t x, int32_t y) {
    const orvanta::PixelOwner& owner = engine().current().session.lineAt(x, y);
    const char* kind = owner.kind == orvanta::PixelOwner::Kind::Line  ? "line"
                       : owner.kind == orvanta::PixelOwner::Kind::Fps ? "fps"
                                                                      : "none";
    return replyJson(
        {{"kind", kind}, {"file", owner.file}, {"line", owner.line}, {"keyword", owner.keyword}});
}

// The pixels that line `line` (1-based) of file `name` owns now, as bytes: x then y for
// each pixel, row by row.
ORVANTA_EXPORT const char* orvanta_pixels_of_line(const char* name, uint32_t nameLength,
                                                  int32_t line) {
    std::string bytes;
    for (const orvanta::PixelPosition& p :
         engine().current().session.pixelsOfLine(orvanta::web::bytesAt(name, nameLength), line)) {
        bytes.push_back(static_cast<char>(p.x));
        bytes.push_back(static_cast<char>(p.y));
    }
    return orvanta::web::reply(std::move(bytes));
}

// The four readings of the windows' overlay for panel pixel (x, y), and the line that drew
// it, as JSON {"readings": [four texts], "line": text}. A point off the panel reads as the
// windows read a point beside the picture.
ORVANTA_EXPORT const char* orvanta_inspect(int32_t x, int32_t y) {
    const orvanta::Session& session = engine().current().session;
    const int32_t zoom = session.host().zoomFactor;
    // Clamped first, so that the point's place at the session's zoom cannot overflow.
    const int32_t px = std::clamp(x, -1, orvanta::DISPLAY_SIZE) * zoom;
    const int32_t py = std::clamp(y, -1, orvanta::DISPLAY_SIZE) * zoom;
    const orvanta::PicturePlacement placement{0, 0, orvanta::DISPLAY_SIZE * zoom};
    const orvanta::Overlay overlay =
        session.overlay(session.readCursor(placement, px, py, std::nullopt));
    Json readings = Json::array();
    for (int i = 0; i < orvanta::kOverlayLines; ++i) {
        std::string text(overlay.text[i], static_cast<std::size_t>(overlay.length[i]));
        // The windows pad with blanks to paint over an earlier, longer text; a page need not.
        text.erase(text.find_last_not_of(' ') + 1);
        readings.push_back(std::move(text));
    }
    const bool onPanel = x >= 0 && y >= 0 && x < orvanta::DISPLAY_SIZE && y < orvanta::DISPLAY_SIZE;
    const std::string line =
        onPanel ? orvanta::describeOwner(session.lineAt(x, y)) : std::string("none");
    return replyJson({{"readings", std::move(readings)}, {"line", line}});
}
}
