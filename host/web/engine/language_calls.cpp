// The language service for the page's editor. Every answer is JSON with 0-based lines and
// byte columns, as the service counts them; the page converts columns to its own offsets.
//
// The editor hands its text over before it asks (orvanta_lang_set_text), and the service
// keeps it over the device's folder. Its answers therefore match the text on screen even in
// the moment before a debounced edit reaches the device, and a file's bytes that are not
// UTF-8 read as the editor shows them.
#include <string>

#include <nlohmann/json.hpp>

#include "host/web/engine/engine_state.h"
#include "host/web/engine/language_service.h"
#include "language/service.h"

orvanta::language::Workspace& orvanta::web::languageService() {
    static orvanta::language::Workspace instance(orvanta::web::engine().folder);
    return instance;
}

namespace {

using Json = nlohmann::json;
using orvanta::web::bytesAt;
using orvanta::web::engine;
namespace language = orvanta::language;

language::Workspace& service() {
    return orvanta::web::languageService();
}

Json position(const language::Position& at) {
    return Json::array({at.line, at.column});
}

void putRange(Json& into, const language::Range& range, const char* from = "from",
              const char* to = "to") {
    into[from] = position(range.start);
    into[to] = position(range.end);
}

const char* severityName(language::Severity severity) {
    switch (severity) {
    case language::Severity::Error:
        return "error";
    case language::Severity::Warning:
        return "warning";
    case language::Severity::Note:
        return "info";
    }
    return "info";
}

// Texts from the folder may hold any bytes; bytes that are not UTF-8 become U+FFFD rather
// than stopping the answer.
const char* replyJson(const Json& answer) {
    return orvanta::web::reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::string nameAt(const char* name, uint32_t length) {
    return bytesAt(name, length);
}

} // namespace

extern "C" {

ORVANTA_EXPORT void orvanta_lang_set_text(const char* name, uint32_t nameLength, const char* text,
                                          uint32_t textLength) {
    service().setText(nameAt(name, nameLength), bytesAt(text, textLength));
}

ORVANTA_EXPORT void orvanta_lang_forget(const char* name, uint32_t nameLength) {
    service().forget(nameAt(name, nameLength));
}

ORVANTA_EXPORT const char* orvanta_lang_diagnostics(const char* name, uint32_t nameLength) {
    Json out = Json::array();
    for (const language::Diagnostic& d : service().diagnostics(nameAt(name, nameLength))) {
        Json item{{"severity", severityName(d.severity)}, {"code", d.code}, {"message", d.message}};
        putRange(item, d.range);
        if (d.fix) {
            Json fix{{"title", d.fix->title}, {"text", d.fix->newText}};
            putRange(fix, d.fix->range);
            item["fix"] = std::move(fix);
        }
        out.push_back(std::move(item));
    }
    return replyJson(out);
}

ORVANTA_EXPORT const char* orvanta_lang_hover(const char* name, uint32_t nameLength, int32_t line,
                                              int32_t column) {
    const auto found = service().hover(nameAt(name, nameLength), {line, column});
    if (!found) return replyJson(nullptr);
    Json out{{"markdown", found->markdown}};
    putRange(out, found->range);
    return replyJson(out);
}

ORVANTA_EXPORT const char* orvanta_lang_completions(const char* name, uint32_t nameLength,
                                                    int32_t line, int32_t column) {
    Json out = Json::array();
    for (const language::Completion& c :
         service().completions(nameAt(name, nameLength), {line, column})) {
        Json item{{"label", c.label},
                  {"kind", c.kind == language::CompletionKind::File ? "file" : "keyword"},
                  {"detail", c.detail},
                  {"documentation", c.documentation},
                  {"snippet", c.snippet},
                  {"text", c.plainText}};
        putRange(item, c.replace);
        out.push_back(std::move(item));
    }
    return replyJson(out);
}

ORVANTA_EXPORT const char* orvanta_lang_colours(const char* name, uint32_t nameLength) {
    Json out = Json::array();
    for (const language::ColourField& c : service().colours(nameAt(name, nameLength))) {
        Json item{{"rgb565", c.rgb565}, {"rgb", {c.red, c.green, c.blue}}};
        putRange(item, c.range);
        out.push_back(std::move(item));
    }
    return replyJson(out);
}

ORVANTA_EXPORT const char* orvanta_lang_symbols(const char* name, uint32_t nameLength) {
    Json out = Json::array();
    for (const language::Symbol& s : service().symbols(nameAt(name, nameLength))) {
        Json item{{"name", s.name}, {"detail", s.detail}};
        putRange(item, s.range);
        putRange(item, s.selection, "nameFrom", "nameTo");
        out.push_back(std::move(item));
    }
    return replyJson(out);
}

// The colour picker's rule: channels from 0 to 1, the field value whose colour on the
// device lies nearest.
ORVANTA_EXPORT int32_t orvanta_rgb565_for_pick(double red, double green, double blue) {
    return language::rgb565ForPick(red, green, blue);
}
}
