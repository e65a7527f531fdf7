#pragma once
// The documents a client has open: their text as the editor holds it, kept up to date
// from whole-text and ranged changes, and where each lives on disk.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/lsp/json_rpc.h"
#include "cli/lsp/uri.h"

namespace orvanta::cli::lsp {

struct Document {
    std::string uri;
    std::string text;
    int64_t version = 0;
    std::optional<FileLocation> location; // none for documents that are not files
};

class DocumentStore {
  public:
    // From didOpen's textDocument item. Opening a document again replaces it.
    Document& open(const Json& item);
    // From didChange's parameters; null for a document that is not open.
    Document* change(const Json& params);
    void close(const std::string& uri);

    Document* find(const std::string& uri);
    // The open documents of a card folder.
    std::vector<Document*> inFolder(const std::string& folder);

  private:
    std::map<std::string, Document> documents_;
};

// Applies one content change: a ranged one replaces its range, counted in UTF-16 units and
// clamped to the text; one without a range replaces the whole text.
void applyChange(std::string& text, const Json& change);

} // namespace orvanta::cli::lsp
