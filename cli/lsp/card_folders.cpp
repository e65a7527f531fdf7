#include "cli/lsp/card_folders.h"

namespace orvanta::cli::lsp {

language::Workspace& CardFolders::workspace(const std::string& folder) {
    Card& card = cards_[folder];
    if (!card.workspace) {
        card.folder = openFolder_(folder);
        card.workspace = std::make_unique<language::Workspace>(*card.folder);
        if (watch_) card.watcher = std::make_unique<FolderWatcher>(folder);
    }
    return *card.workspace;
}

void CardFolders::release(const std::string& folder) {
    cards_.erase(folder);
}

language::Workspace& CardFolders::renew(const std::string& folder) {
    Card& card = cards_[folder];
    if (!card.folder) return workspace(folder);
    card.workspace = std::make_unique<language::Workspace>(*card.folder);
    return *card.workspace;
}

std::vector<std::string> CardFolders::takeChangedFolders(uint32_t nowMs) {
    std::vector<std::string> changed;
    for (auto& [path, card] : cards_) {
        if (!card.watcher) continue;
        for (const std::string& name : card.watcher->takeSaved()) card.saves.written(name, nowMs);
        if (card.saves.pending() && !card.saves.takeSettled(nowMs).empty()) changed.push_back(path);
    }
    return changed;
}

} // namespace orvanta::cli::lsp
