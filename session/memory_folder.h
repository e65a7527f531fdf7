#pragma once
// A folder held in memory: the files a host was handed as bytes, by name, such as the
// files a page in a browser was given. Names are used unchanged and may be any bytes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/storage/folder.h"

namespace orvanta {

class MemoryFolder final : public Folder {
  public:
    // Adds a file or replaces the one of that name. A file open at the time keeps reading
    // the bytes it was opened on.
    void put(const std::string& name, std::vector<uint8_t> bytes);
    void remove(const std::string& name) { files_.erase(name); }
    void clear() { files_.clear(); }
    std::size_t size() const { return files_.size(); }

    std::unique_ptr<File> open(const char* name) override;

  private:
    std::map<std::string, std::shared_ptr<const std::vector<uint8_t>>> files_;
};

} // namespace orvanta
