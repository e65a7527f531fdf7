#pragma once
// A folder whose files may be held in memory: the texts an editor has open stand in for
// the files of the folder below, or make up the whole folder when there is none below.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/storage/folder.h"

namespace orvanta::language {

class OverlayFolder final : public Folder {
  public:
    explicit OverlayFolder(Folder* below = nullptr) : below_(below) {}

    // `name` reads as `bytes` from now on, whether or not the folder below has it. A file
    // open at the time keeps reading the bytes it was opened on.
    void put(const std::string& name, std::string bytes) {
        texts_[name] = std::make_shared<const std::string>(std::move(bytes));
    }
    void remove(const std::string& name) { texts_.erase(name); }
    void clear() { texts_.clear(); }
    std::size_t heldCount() const { return texts_.size(); }
    // The bytes held for `name`, or null when the folder below answers for it.
    const std::string* held(const std::string& name) const;

    std::unique_ptr<File> open(const char* name) override;
    std::vector<std::string> list(const std::string& sub) override;

  private:
    Folder* below_;
    std::map<std::string, std::shared_ptr<const std::string>> texts_;
};

} // namespace orvanta::language
