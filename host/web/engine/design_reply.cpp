#include "host/web/engine/design_reply.h"

#include <nlohmann/json.hpp>

#include "host/web/engine/engine_state.h"
#include "language/service.h"

namespace orvanta::web {

const char* designEditReply(const language::DesignEdit& edit) {
    using Json = nlohmann::json;
    Json answer;
    if (!edit.done()) {
        answer = Json{{"refusal", edit.refusal}};
    } else {
        Json edits = Json::array();
        for (const language::TextEdit& e : edit.edits)
            edits.push_back({{"from", {e.range.start.line, e.range.start.column}},
                             {"to", {e.range.end.line, e.range.end.column}},
                             {"text", e.newText}});
        answer = Json{{"edits", std::move(edits)},
                      {"lineMap", edit.lineMap},
                      {"added", edit.addedLines},
                      {"warning", edit.warning}};
    }
    // Texts from the folder may hold any bytes; those that are not UTF-8 become U+FFFD.
    return reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

} // namespace orvanta::web
