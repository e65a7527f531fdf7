#pragma once
// Watches a folder for files written or renamed into it, through the platform's change
// notifications, never by polling.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

class FolderWatcher {
  public:
    // Watches `folder`, or the working folder when it is empty.
    explicit FolderWatcher(const std::string& folder);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // False when the platform refused the watch; the window then works without it.
    bool watching() const { return handle_ >= 0; }
    // What a host's event loop waits on: a descriptor that turns readable on a change.
    std::intptr_t handle() const { return handle_; }
    // The names of the files closed after writing or renamed into the folder since the
    // last call, each once, in the order first seen. Never blocks.
    std::vector<std::string> takeSaved();

  private:
    std::intptr_t handle_ = -1;
};

} // namespace orvanta
