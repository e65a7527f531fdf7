#include "session/memory_folder.h"

#include <algorithm>
#include <cstring>

namespace orvanta {

namespace {

class MemoryFile final : public File {
  public:
    explicit MemoryFile(std::shared_ptr<const std::vector<uint8_t>> bytes)
        : bytes_(std::move(bytes)) {}

    std::size_t readAt(void* buffer, std::size_t n, int64_t offset) override {
        const std::size_t size = bytes_->size();
        if (offset < 0 || static_cast<uint64_t>(offset) >= size) return 0;
        const std::size_t at = static_cast<std::size_t>(offset);
        const std::size_t count = std::min(n, size - at);
        if (count > 0) std::memcpy(buffer, bytes_->data() + at, count);
        return count;
    }
    int64_t size() override { return static_cast<int64_t>(bytes_->size()); }

  private:
    std::shared_ptr<const std::vector<uint8_t>> bytes_;
};

} // namespace

void MemoryFolder::put(const std::string& name, std::vector<uint8_t> bytes) {
    files_[name] = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

std::unique_ptr<File> MemoryFolder::open(const char* name) {
    const auto it = files_.find(name);
    if (it == files_.end()) return nullptr;
    return std::make_unique<MemoryFile>(it->second);
}

} // namespace orvanta
