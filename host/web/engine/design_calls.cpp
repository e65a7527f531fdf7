// The design questions of the language service for the page: the objects of a file with
// their boxes, and the edits that move, resize, insert, remove and duplicate them. Lines
// and columns are 0-based, as the language service counts them; line lists arrive as JSON
// arrays of numbers. Each edit answer carries the edits, the line map and, when it is
// refused, the reason instead.
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/web/engine/design_reply.h"
#include "host/web/engine/engine_state.h"
#include "host/web/engine/language_service.h"
#include "language/service.h"

namespace {

using Json = nlohmann::json;
using orvanta::web::bytesAt;
using orvanta::web::designEditReply;
namespace language = orvanta::language;

Json rect(const orvanta::PanelRect& r) {
    return Json::array({r.left, r.top, r.right, r.bottom});
}

const char* replyJson(const Json& answer) {
    return orvanta::web::reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

// The lines of a JSON array; anything else, or a number outside 32 bits, names no line.
std::vector<int32_t> linesAt(const char* json, uint32_t length) {
    std::vector<int32_t> lines;
    const Json parsed = Json::parse(bytesAt(json, length), nullptr, false);
    if (!parsed.is_array()) return lines;
    for (const Json& item : parsed)
        if (item.is_number_integer() && item.get<int64_t>() >= INT32_MIN &&
            item.get<int64_t>() <= INT32_MAX)
            lines.push_back(static_cast<int32_t>(item.get<int64_t>()));
    return lines;
}

language::Workspace& service() {
    return orvanta::web::languageService();
}

} // namespace

extern "C" {

ORVANTA_EXPORT const char* orvanta_design_objects(const char* name, uint32_t nameLength) {
    // Each item is filled in place: nlohmann's initializer lists copy every value once more,
    // which on a file of hundreds of objects took most of the call's time.
    Json out = Json::array();
    const std::vector<language::DesignObject> objects =
        service().objects(bytesAt(name, nameLength));
    out.get_ref<Json::array_t&>().reserve(objects.size());
    for (const language::DesignObject& o : objects) {
        Json& item = out.emplace_back(Json::object());
        Json& parts = item["parts"] = Json::array();
        for (const orvanta::PanelRect& part : o.box.parts) parts.push_back(rect(part));
        item["keyword"] = o.keyword;
        item["line"] = o.line;
        item["box"] = rect(o.box.bounds);
        item["tight"] = o.box.tight;
        item["live"] = o.live;
        item["centred"] = o.centred;
        item["place"] = o.placeFields;
        item["size"] = o.sizeFields;
        item["handles"] = o.handles;
        item["colours"] = o.colourLines;
    }
    return replyJson(out);
}

ORVANTA_EXPORT const char* orvanta_design_move(const char* name, uint32_t nameLength,
                                               const char* lines, uint32_t linesLength, int32_t dx,
                                               int32_t dy) {
    return designEditReply(
        service().move(bytesAt(name, nameLength), linesAt(lines, linesLength), dx, dy));
}

ORVANTA_EXPORT const char* orvanta_design_resize(const char* name, uint32_t nameLength,
                                                 int32_t line, const char* handle,
                                                 uint32_t handleLength, int32_t dx, int32_t dy) {
    return designEditReply(
        service().resize(bytesAt(name, nameLength), line, bytesAt(handle, handleLength), dx, dy));
}

ORVANTA_EXPORT const char* orvanta_design_insert(const char* name, uint32_t nameLength,
                                                 const char* keyword, uint32_t keywordLength,
                                                 int32_t x, int32_t y, const char* text,
                                                 uint32_t textLength) {
    return designEditReply(service().insert(bytesAt(name, nameLength),
                                            bytesAt(keyword, keywordLength), x, y,
                                            bytesAt(text, textLength)));
}

ORVANTA_EXPORT const char* orvanta_design_remove(const char* name, uint32_t nameLength,
                                                 const char* lines, uint32_t linesLength) {
    return designEditReply(
        service().remove(bytesAt(name, nameLength), linesAt(lines, linesLength)));
}

ORVANTA_EXPORT const char* orvanta_design_duplicate(const char* name, uint32_t nameLength,
                                                    const char* lines, uint32_t linesLength,
                                                    int32_t dx, int32_t dy) {
    return designEditReply(
        service().duplicate(bytesAt(name, nameLength), linesAt(lines, linesLength), dx, dy));
}
}
