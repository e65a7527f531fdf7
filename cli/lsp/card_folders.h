#pragma once
// One language workspace per card folder, made when the folder's first document opens,
// and a watch on the folder so that files saved by other programs reach the diagnostics
// even from clients that report no file changes.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/storage/folder.h"
#include "language/service.h"
#include "platform/folder_watcher.h"
#include "session/settling_saves.h"

namespace orvanta::cli::lsp {

class CardFolders {
  public:
    using OpenFolder = std::function<std::unique_ptr<Folder>(const std::string& path)>;
    CardFolders(OpenFolder openFolder, bool watch)
        : openFolder_(std::move(openFolder)), watch_(watch) {}

    language::Workspace& workspace(const std::string& folder);
    void release(const std::string& folder);
    // A fresh workspace for the folder, which reads its files anew; the caller sets the
    // open documents' texts again.
    language::Workspace& renew(const std::string& folder);
    // The folders in which a saved file's writes have settled by `nowMs` (the windows'
    // rule: a file counts once nothing has written to it for a quiet period), each once.
    // Never blocks.
    std::vector<std::string> takeChangedFolders(uint32_t nowMs);

  private:
    struct Card {
        std::unique_ptr<Folder> folder;
        std::unique_ptr<language::Workspace> workspace;
        std::unique_ptr<FolderWatcher> watcher;
        SettlingSaves saves;
    };
    OpenFolder openFolder_;
    bool watch_;
    std::map<std::string, Card> cards_;
};

} // namespace orvanta::cli::lsp
