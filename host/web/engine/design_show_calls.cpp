// What design on the display asks of the device: a power-on afresh that shows a named file
// at once, so that a drag's live picture never keeps a trail of an object's old places;
// holding the file on show while anything is selected; and reading overrides that follow
// their objects when an edit moves lines.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/web/engine/engine_state.h"

namespace {

using Json = nlohmann::json;
using orvanta::web::bytesAt;
using orvanta::web::engine;

} // namespace

extern "C" {

// A new device, as at power-on, with the reading overrides kept; its first frame loads
// `name` instead of config.txt.
ORVANTA_EXPORT void orvanta_show_afresh(const char* name, uint32_t nameLength) {
    orvanta::Session& session = engine().current().session;
    session.restart();
    engine().heldSuccessor.clear();
    const std::string file = bytesAt(name, nameLength);
    if (!file.empty()) orvanta::requestConfigSwitch(session.device(), file.c_str());
}

// 1 holds the file on show, 0 lets the chain go on from it to the successor it names. Loop
// keeps its own hold: while it is checked, the release leaves the next file to it.
ORVANTA_EXPORT void orvanta_hold_shown(int32_t on) {
    orvanta::web::Engine& state = engine();
    const bool hold = on != 0;
    if (hold == state.holdShown) return;
    state.holdShown = hold;
    orvanta::Session& session = state.current().session;
    if (!hold && !session.host().loopChecked && !state.heldSuccessor.empty())
        orvanta::copyConfigName(session.device().config.nextConfigName,
                                state.heldSuccessor.c_str());
    state.heldSuccessor.clear();
}

// An edit of `name` moved lines: `moves` is a JSON array of [old, new] pairs of 1-based
// lines, a new line below 1 for a removed one. Anything else moves nothing.
ORVANTA_EXPORT void orvanta_move_reading_lines(const char* name, uint32_t nameLength,
                                               const char* moves, uint32_t movesLength) {
    const Json parsed = Json::parse(bytesAt(moves, movesLength), nullptr, false);
    if (!parsed.is_array()) return;
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (const Json& pair : parsed) {
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number_integer() ||
            !pair[1].is_number_integer())
            return;
        const int64_t from = pair[0].get<int64_t>(), to = pair[1].get<int64_t>();
        if (from < INT32_MIN || from > INT32_MAX || to < INT32_MIN || to > INT32_MAX) return;
        pairs.emplace_back(static_cast<int32_t>(from), static_cast<int32_t>(to));
    }
    engine().current().session.moveLines(bytesAt(name, nameLength), pairs);
}
}
