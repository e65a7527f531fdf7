#include "language/line_view.h"

#include "core/config/keywords.h"
#include "core/storage/folder.h"

namespace orvanta::language {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

namespace {

std::string upToZero(std::string_view raw) {
    return std::string(raw.substr(0, raw.find('\0')));
}

} // namespace

LineView::LineView(std::string_view raw)
    : text_(upToZero(raw)), fields_(text_.c_str()), spec_(findKeyword(fields_.field(0))) {}

int32_t LineView::fieldAt(int32_t column) const {
    const int32_t count = fields_.fieldCount() > 0 ? fields_.fieldCount() : 1;
    for (int32_t i = 0; i < count; ++i) {
        const check::Span s = span(i);
        if (column >= s.begin && column <= s.end) return i;
    }
    return -1;
}

std::string readWhole(Folder& folder, const std::string& name) {
    std::string bytes;
    const std::unique_ptr<File> file = folder.open(name.c_str());
    if (file == nullptr) return bytes;
    const int64_t size = file->size();
    if (size <= 0) return bytes;
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(file->readAt(bytes.data(), bytes.size(), 0));
    return bytes;
}

} // namespace orvanta::language
