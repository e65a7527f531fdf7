#include "cli/lsp/line_index.h"

#include <algorithm>

namespace orvanta::cli::lsp {

CharacterSize characterAt(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    int length = 1;
    uint32_t code = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return {1, 1};
    }
    if (text.size() < static_cast<std::size_t>(length)) return {1, 1};
    for (int i = 1; i < length; ++i) {
        if ((byte(static_cast<std::size_t>(i)) & 0xC0u) != 0x80u) return {1, 1};
        code = (code << 6) | (byte(static_cast<std::size_t>(i)) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are not characters.
    const bool valid = (length == 3 && code >= 0x800 && (code < 0xD800 || code > 0xDFFF)) ||
                       (length == 4 && code >= 0x10000 && code <= 0x10FFFF) || length == 2;
    if (!valid) return {1, 1};
    return {length, length == 4 ? 2 : 1};
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        starts_.push_back(start);
        ends_.push_back(i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    starts_.push_back(start);
    ends_.push_back(text.size());
}

std::string_view LineIndex::line(int32_t line) const {
    if (line < 0 || line >= lineCount()) return {};
    const auto at = static_cast<std::size_t>(line);
    return text_.substr(starts_[at], ends_[at] - starts_[at]);
}

int32_t LineIndex::toUtf16(int32_t line, int32_t byteColumn) const {
    const std::string_view content = this->line(line);
    const std::size_t stop =
        std::min(content.size(), static_cast<std::size_t>(std::max(byteColumn, 0)));
    int32_t units = 0;
    for (std::size_t at = 0; at < stop;) {
        const CharacterSize c = characterAt(content.substr(at));
        if (at + static_cast<std::size_t>(c.bytes) > stop) break;
        at += static_cast<std::size_t>(c.bytes);
        units += c.units;
    }
    return units;
}

int32_t LineIndex::toByte(int32_t line, int32_t utf16Column) const {
    const std::string_view content = this->line(line);
    std::size_t at = 0;
    for (int32_t units = 0; at < content.size();) {
        const CharacterSize c = characterAt(content.substr(at));
        if (units + c.units > utf16Column) break;
        units += c.units;
        at += static_cast<std::size_t>(c.bytes);
    }
    return static_cast<int32_t>(at);
}

std::size_t LineIndex::offset(int32_t line, int32_t utf16Column) const {
    if (line < 0) return 0;
    if (line >= lineCount()) return text_.size();
    return starts_[static_cast<std::size_t>(line)] +
           static_cast<std::size_t>(toByte(line, utf16Column));
}

} // namespace orvanta::cli::lsp
