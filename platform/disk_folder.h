#pragma once
#include <string>

#include "core/storage/folder.h"

namespace orvanta {

// A folder on disk; names are resolved against `path`, or the working folder when it is
// empty. Only regular files open.
class DiskFolder final : public Folder {
  public:
    explicit DiskFolder(std::string path = {}) : path_(std::move(path)) {}
    std::unique_ptr<File> open(const char* name) override;
    std::vector<std::string> list(const std::string& sub) override;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace orvanta
