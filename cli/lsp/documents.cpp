#include "cli/lsp/documents.h"

#include <algorithm>

#include "cli/lsp/line_index.h"

namespace orvanta::cli::lsp {

void applyChange(std::string& text, const Json& change) {
    const std::string& replacement = change.at("text").get_ref<const std::string&>();
    const auto range = change.find("range");
    if (range == change.end() || range->is_null()) {
        text = replacement;
        return;
    }
    const LineIndex index(text);
    const auto offsetOf = [&](const Json& position) {
        return index.offset(positionNumber(position.at("line")),
                            positionNumber(position.at("character")));
    };
    std::size_t start = offsetOf(range->at("start"));
    std::size_t end = offsetOf(range->at("end"));
    if (end < start) std::swap(start, end);
    text.replace(start, end - start, replacement);
}

Document& DocumentStore::open(const Json& item) {
    Document document;
    document.uri = item.at("uri").get<std::string>();
    document.text = item.at("text").get<std::string>();
    const auto version = item.find("version");
    if (version != item.end() && version->is_number_integer())
        document.version = version->get<int64_t>();
    document.location = locateFileUri(document.uri);
    return documents_[document.uri] = std::move(document);
}

Document* DocumentStore::change(const Json& params) {
    const Json& identifier = params.at("textDocument");
    Document* document = find(identifier.at("uri").get<std::string>());
    if (document == nullptr) return nullptr;
    // The changes apply in order, each to the text the one before left; a faulty change
    // leaves the text as it was.
    std::string text = document->text;
    for (const Json& change : params.at("contentChanges")) applyChange(text, change);
    document->text = std::move(text);
    const auto version = identifier.find("version");
    if (version != identifier.end() && version->is_number_integer())
        document->version = version->get<int64_t>();
    return document;
}

void DocumentStore::close(const std::string& uri) {
    documents_.erase(uri);
}

Document* DocumentStore::find(const std::string& uri) {
    const auto found = documents_.find(uri);
    return found == documents_.end() ? nullptr : &found->second;
}

std::vector<Document*> DocumentStore::inFolder(const std::string& folder) {
    std::vector<Document*> found;
    for (auto& [uri, document] : documents_)
        if (document.location && document.location->folder == folder) found.push_back(&document);
    return found;
}

} // namespace orvanta::cli::lsp
