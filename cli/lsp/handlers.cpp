// The requests about one document, each a translation of the language service's answer.
#include <algorithm>
#include <tuple>

#include "cli/lsp/server.h"

namespace orvanta::cli::lsp {

namespace {

// The protocol's CompletionItemKind, SymbolKind and InsertTextFormat numbers.
constexpr int kKeywordItem = 14;
constexpr int kFileItem = 17;
constexpr int kObjectSymbol = 19;
constexpr int kPlainText = 1;
constexpr int kSnippet = 2;

Json markdown(const std::string& text) {
    return {{"kind", "markdown"}, {"value", text}};
}

bool before(const language::Position& a, const language::Position& b) {
    return std::tie(a.line, a.column) < std::tie(b.line, b.column);
}

bool overlaps(const language::Range& a, const language::Range& b) {
    return !before(a.end, b.start) && !before(b.end, a.start);
}

double channel(const Json& color, const char* name) {
    return std::clamp(color.at(name).get<double>(), 0.0, 1.0);
}

} // namespace

void Server::registerRequests() {
    const auto add = [this](const char* method, Json (Server::*handler)(const Json&)) {
        dispatcher_.onRequest(
            method, [this, handler](const Json& params) { return (this->*handler)(params); });
    };
    add("textDocument/hover", &Server::hover);
    add("textDocument/completion", &Server::completion);
    add("textDocument/documentColor", &Server::documentColor);
    add("textDocument/colorPresentation", &Server::colorPresentation);
    add("textDocument/documentSymbol", &Server::documentSymbol);
    add("textDocument/definition", &Server::definition);
    add("textDocument/codeAction", &Server::codeAction);
}

Json Server::hover(const Json& params) {
    Target t = target(params);
    const std::optional<language::Hover> found =
        t.workspace.hover(t.document.location->name, bytePosition(t, params.at("position")));
    if (!found) return nullptr;
    return {{"contents", markdown(found->markdown)}, {"range", range(t.index, found->range)}};
}

Json Server::completion(const Json& params) {
    Target t = target(params);
    Json items = Json::array();
    for (const language::Completion& c : t.workspace.completions(
             t.document.location->name, bytePosition(t, params.at("position")))) {
        // Clients without snippets get the plain text, which has no placeholders to jump to.
        const bool snippet = client_.snippets && !c.snippet.empty();
        Json item{{"label", c.label},
                  {"kind", c.kind == language::CompletionKind::File ? kFileItem : kKeywordItem},
                  {"insertTextFormat", snippet ? kSnippet : kPlainText},
                  {"textEdit",
                   {{"range", range(t.index, c.replace)},
                    {"newText", snippet ? c.snippet : c.plainText}}}};
        if (!c.detail.empty()) item["detail"] = c.detail;
        if (!c.documentation.empty()) item["documentation"] = markdown(c.documentation);
        items.push_back(std::move(item));
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

Json Server::documentColor(const Json& params) {
    Target t = target(params);
    Json colours = Json::array();
    for (const language::ColourField& field : t.workspace.colours(t.document.location->name)) {
        colours.push_back(
            {{"range", range(t.index, field.range)},
             {"color",
              {{"red", field.red}, {"green", field.green}, {"blue", field.blue}, {"alpha", 1.0}}}});
    }
    return colours;
}

Json Server::colorPresentation(const Json& params) {
    const Json& color = params.at("color");
    const std::string number = std::to_string(language::rgb565ForPick(
        channel(color, "red"), channel(color, "green"), channel(color, "blue")));
    // The client's own range goes back unchanged: it already counts in the client's units.
    return Json::array(
        {{{"label", number}, {"textEdit", {{"range", params.at("range")}, {"newText", number}}}}});
}

Json Server::documentSymbol(const Json& params) {
    Target t = target(params);
    Json symbols = Json::array();
    for (const language::Symbol& s : t.workspace.symbols(t.document.location->name)) {
        if (client_.hierarchicalSymbols) {
            symbols.push_back({{"name", s.name},
                               {"detail", s.detail},
                               {"kind", kObjectSymbol},
                               {"range", range(t.index, s.range)},
                               {"selectionRange", range(t.index, s.selection)}});
        } else {
            symbols.push_back(
                {{"name", s.name},
                 {"kind", kObjectSymbol},
                 {"containerName", s.detail},
                 {"location", {{"uri", t.document.uri}, {"range", range(t.index, s.range)}}}});
        }
    }
    return symbols;
}

Json Server::definition(const Json& params) {
    Target t = target(params);
    const std::optional<language::Definition> found =
        t.workspace.definition(t.document.location->name, bytePosition(t, params.at("position")));
    if (!found) return nullptr;
    const std::string uri = fileUri(t.document.location->folder, found->fileName);
    const Json start = range(LineIndex(std::string_view{}), {});
    if (client_.definitionLinks) {
        return Json::array({{{"originSelectionRange", range(t.index, found->origin)},
                             {"targetUri", uri},
                             {"targetRange", start},
                             {"targetSelectionRange", start}}});
    }
    return {{"uri", uri}, {"range", start}};
}

Json Server::codeAction(const Json& params) {
    Target t = target(params);
    const Json& asked = params.at("range");
    const language::Range wanted{bytePosition(t, asked.at("start")),
                                 bytePosition(t, asked.at("end"))};
    Json actions = Json::array();
    for (const language::Diagnostic& d : t.workspace.diagnostics(t.document.location->name)) {
        if (!d.fix || !overlaps(d.range, wanted)) continue;
        const Json edit{{"range", range(t.index, d.fix->range)}, {"newText", d.fix->newText}};
        actions.push_back({{"title", d.fix->title},
                           {"kind", "quickfix"},
                           {"isPreferred", true},
                           {"diagnostics", Json::array({{{"range", range(t.index, d.range)},
                                                         {"code", d.code},
                                                         {"message", d.message}}})},
                           {"edit", {{"changes", {{t.document.uri, Json::array({edit})}}}}}});
    }
    return actions;
}

} // namespace orvanta::cli::lsp
