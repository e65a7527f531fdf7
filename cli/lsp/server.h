#pragma once
// The language server: translates between the protocol's messages and the language
// service, which knows nothing of the protocol. It holds the open documents and a
// workspace per card folder, and publishes each open document's diagnostics whenever its
// text, or a file of its folder, changes.
#include <string>

#include "cli/lsp/card_folders.h"
#include "cli/lsp/documents.h"
#include "cli/lsp/framing.h"
#include "cli/lsp/json_rpc.h"
#include "cli/lsp/line_index.h"
#include "platform/system_clock.h"

namespace orvanta::cli::lsp {

// What the client said it can take.
struct ClientFeatures {
    bool snippets = false;            // completion snippets with placeholders
    bool hierarchicalSymbols = false; // DocumentSymbol rather than SymbolInformation
    bool definitionLinks = false;     // LocationLink rather than Location
};

class Server {
  public:
    // `send` writes one message to the client; `openFolder` gives the card folder at a path.
    Server(Dispatcher::Send send, CardFolders::OpenFolder openFolder, bool watchFolders);

    void receive(const Frame& frame);
    // Republishes the diagnostics of the folders in which files were saved. Never blocks.
    void pollFolders();

    bool exited() const { return dispatcher_.exited(); }
    int exitCode() const { return dispatcher_.exitCode(); }

  private:
    void registerLifecycle();
    void registerSync();
    void registerRequests();

    Json initialize(const Json& params);
    void publishFolder(const std::string& folder);
    void refreshFolderOf(const std::string& uri);
    void publish(Document& document, language::Workspace& workspace);

    // The open file document a request names, with its folder's workspace; an error
    // answer for documents that are not open or not files.
    struct Target {
        Document& document;
        language::Workspace& workspace;
        LineIndex index;
    };
    Target target(const Json& params);
    language::Position bytePosition(const Target& target, const Json& position) const;
    Json range(const LineIndex& index, const language::Range& range) const;

    Json hover(const Json& params);
    Json completion(const Json& params);
    Json documentColor(const Json& params);
    Json colorPresentation(const Json& params);
    Json documentSymbol(const Json& params);
    Json definition(const Json& params);
    Json codeAction(const Json& params);

    Dispatcher::Send send_;
    Dispatcher dispatcher_;
    DocumentStore documents_;
    CardFolders folders_;
    SystemClock clock_; // times the settling of saved files
    ClientFeatures client_;
};

} // namespace orvanta::cli::lsp
