#include "cli/lsp/server.h"

#include "orvanta_version.h"

namespace orvanta::cli::lsp {

namespace {

// The protocol's DiagnosticSeverity.
int severityNumber(language::Severity severity) {
    switch (severity) {
    case language::Severity::Error:
        return 1;
    case language::Severity::Warning:
        return 2;
    case language::Severity::Note:
        return 3;
    }
    return 1;
}

bool flag(const Json& capabilities, const Json::json_pointer& path) {
    return capabilities.contains(path) && capabilities.at(path).is_boolean() &&
           capabilities.at(path).get<bool>();
}

} // namespace

Server::Server(Dispatcher::Send send, CardFolders::OpenFolder openFolder, bool watchFolders)
    : send_(send), dispatcher_(send), folders_(std::move(openFolder), watchFolders) {
    registerLifecycle();
    registerSync();
    registerRequests();
}

void Server::receive(const Frame& frame) {
    if (frame.kind == Frame::Kind::BadHeader) dispatcher_.reportBadHeader();
    if (frame.kind == Frame::Kind::Body) dispatcher_.handle(frame.body);
}

void Server::registerLifecycle() {
    dispatcher_.onRequest("initialize", [this](const Json& params) { return initialize(params); });
    dispatcher_.onNotification("initialized", [](const Json&) {});
}

Json Server::initialize(const Json& params) {
    const auto found = params.is_object() ? params.find("capabilities") : params.end();
    if (params.is_object() && found != params.end() && found->is_object()) {
        const Json& capabilities = *found;
        client_.snippets = flag(
            capabilities, "/textDocument/completion/completionItem/snippetSupport"_json_pointer);
        client_.hierarchicalSymbols =
            flag(capabilities,
                 "/textDocument/documentSymbol/hierarchicalDocumentSymbolSupport"_json_pointer);
        client_.definitionLinks =
            flag(capabilities, "/textDocument/definition/linkSupport"_json_pointer);
    }
    return {
        {"capabilities",
         {
             {"positionEncoding", "utf-16"},
             {"textDocumentSync",
              {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
             {"hoverProvider", true},
             {"completionProvider", {{"resolveProvider", false}, {"triggerCharacters", {";"}}}},
             {"colorProvider", true},
             {"documentSymbolProvider", true},
             {"definitionProvider", true},
             {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
         }},
        {"serverInfo", {{"name", "orvanta-cli"}, {"version", ORVANTA_VERSION}}},
    };
}

void Server::registerSync() {
    dispatcher_.onNotification("textDocument/didOpen", [this](const Json& params) {
        Document& document = documents_.open(params.at("textDocument"));
        if (!document.location) return;
        folders_.workspace(document.location->folder)
            .setText(document.location->name, document.text);
        publishFolder(document.location->folder);
    });
    dispatcher_.onNotification("textDocument/didChange", [this](const Json& params) {
        Document* document = documents_.change(params);
        if (document == nullptr || !document->location) return;
        folders_.workspace(document->location->folder)
            .setText(document->location->name, document->text);
        publishFolder(document->location->folder);
    });
    dispatcher_.onNotification("textDocument/didClose", [this](const Json& params) {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        Document* document = documents_.find(uri);
        if (document == nullptr) return;
        const std::optional<FileLocation> location = document->location;
        documents_.close(uri);
        send_(Json{{"jsonrpc", "2.0"},
                   {"method", "textDocument/publishDiagnostics"},
                   {"params", {{"uri", uri}, {"diagnostics", Json::array()}}}});
        if (!location) return;
        // Other open files of the folder may chain to this one, which now reads from disk.
        if (documents_.inFolder(location->folder).empty()) {
            folders_.release(location->folder);
        } else {
            folders_.workspace(location->folder).forget(location->name);
            publishFolder(location->folder);
        }
    });
    // Clients that do report saves and file changes get the same answer as the watch gives.
    dispatcher_.onNotification("textDocument/didSave", [this](const Json& params) {
        refreshFolderOf(params.at("textDocument").at("uri").get<std::string>());
    });
    dispatcher_.onNotification("workspace/didChangeWatchedFiles", [this](const Json& params) {
        for (const Json& change : params.at("changes"))
            refreshFolderOf(change.at("uri").get<std::string>());
    });
}

void Server::refreshFolderOf(const std::string& uri) {
    const std::optional<FileLocation> location = locateFileUri(uri);
    if (!location || documents_.inFolder(location->folder).empty()) return;
    folders_.renew(location->folder);
    publishFolder(location->folder);
}

void Server::pollFolders() {
    // The hook for saves made by other programs: each folder with a saved file is read
    // anew and its open documents get fresh diagnostics.
    for (const std::string& folder : folders_.takeChangedFolders(clock_.now())) {
        folders_.renew(folder);
        publishFolder(folder);
    }
}

void Server::publishFolder(const std::string& folder) {
    const std::vector<Document*> open = documents_.inFolder(folder);
    if (open.empty()) return;
    language::Workspace& workspace = folders_.workspace(folder);
    // A renewed workspace has none of the editors' texts yet; every one must be in place
    // before the first question, since the files chain to each other.
    for (Document* document : open) workspace.setText(document->location->name, document->text);
    for (Document* document : open) publish(*document, workspace);
}

void Server::publish(Document& document, language::Workspace& workspace) {
    const LineIndex index(document.text);
    Json diagnostics = Json::array();
    for (const language::Diagnostic& d : workspace.diagnostics(document.location->name)) {
        diagnostics.push_back({{"range", range(index, d.range)},
                               {"severity", severityNumber(d.severity)},
                               {"code", d.code},
                               {"source", "orvanta"},
                               {"message", d.message}});
    }
    send_(Json{
        {"jsonrpc", "2.0"},
        {"method", "textDocument/publishDiagnostics"},
        {"params",
         {{"uri", document.uri}, {"version", document.version}, {"diagnostics", diagnostics}}}});
}

Server::Target Server::target(const Json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    Document* document = documents_.find(uri);
    if (document == nullptr || !document->location)
        throw RpcError(error_code::kInvalidParams, "the document is not open: " + uri);
    return {*document, folders_.workspace(document->location->folder), LineIndex(document->text)};
}

language::Position Server::bytePosition(const Target& target, const Json& position) const {
    const int32_t line = positionNumber(position.at("line"));
    return {line, target.index.toByte(line, positionNumber(position.at("character")))};
}

Json Server::range(const LineIndex& index, const language::Range& range) const {
    const auto position = [&](const language::Position& p) {
        return Json{{"line", p.line}, {"character", index.toUtf16(p.line, p.column)}};
    };
    return {{"start", position(range.start)}, {"end", position(range.end)}};
}

} // namespace orvanta::cli::lsp
