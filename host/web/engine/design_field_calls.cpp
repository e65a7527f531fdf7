// The property panel's questions of the language service for the page: the fields of one
// line with their names, units and meanings, and the edits that write one field or one
// colour of an object. Lines and columns are 0-based, as the language service counts them.
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "core/display/surface.h"
#include "host/web/engine/design_reply.h"
#include "host/web/engine/engine_state.h"
#include "host/web/engine/language_service.h"
#include "language/service.h"

namespace {

using Json = nlohmann::json;
using orvanta::web::bytesAt;
using orvanta::web::designEditReply;
namespace language = orvanta::language;

language::Workspace& service() {
    return orvanta::web::languageService();
}

Json position(const language::Position& at) {
    return Json::array({at.line, at.column});
}

// The channels 0..1 the device shows for a colour field's value.
Json channels(int32_t rgb565) {
    const orvanta::Rgb24 rgb = orvanta::color565ToRgb(rgb565);
    return Json::array(
        {(rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0});
}

} // namespace

extern "C" {

ORVANTA_EXPORT const char* orvanta_design_fields(const char* name, uint32_t nameLength,
                                                 int32_t line) {
    const language::DesignFields found = service().fields(bytesAt(name, nameLength), line);
    Json fields = Json::array();
    for (const language::DesignField& f : found.fields)
        fields.push_back({{"field", f.field},
                          {"name", f.name},
                          {"unit", f.unit},
                          {"meaning", f.meaning},
                          {"kind", f.kind},
                          {"value", f.value},
                          {"present", f.present},
                          {"from", position(f.range.start)},
                          {"to", position(f.range.end)}});
    Json colours = Json::array();
    for (const language::DesignColour& c : found.colours)
        colours.push_back(
            {{"command",
              c.command == language::ColourCommand::SetColor ? "SetColor" : "SetBGColor"},
             {"line", c.line},
             {"rgb565", c.rgb565},
             {"rgb", channels(c.rgb565)},
             {"fixed", c.fixed}});
    const Json answer{
        {"keyword", found.keyword}, {"fields", std::move(fields)}, {"colours", std::move(colours)}};
    return orvanta::web::reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

ORVANTA_EXPORT const char* orvanta_design_set_field(const char* name, uint32_t nameLength,
                                                    int32_t line, int32_t field, const char* value,
                                                    uint32_t valueLength) {
    return designEditReply(
        service().setField(bytesAt(name, nameLength), line, field, bytesAt(value, valueLength)));
}

// `background` 0 writes the colour (SetColor), anything else the background (SetBGColor).
ORVANTA_EXPORT const char* orvanta_design_set_colour(const char* name, uint32_t nameLength,
                                                     int32_t line, int32_t background,
                                                     int32_t rgb565) {
    return designEditReply(service().setColour(bytesAt(name, nameLength), line,
                                               background != 0 ? language::ColourCommand::SetBGColor
                                                               : language::ColourCommand::SetColor,
                                               rgb565));
}
}
