#include "cli/lsp/framing.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

namespace orvanta::cli::lsp {

namespace {

constexpr std::string_view kLengthName = "content-length:";
// Header lines are short; a longer line is kept only as its last bytes.
constexpr std::size_t kMaxLine = std::size_t{64} << 10;

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Where "Content-Length:" begins in `line`, in any letter case.
std::size_t findLengthHeader(const std::string& line) {
    return lower(line).find(kLengthName);
}

// The value of a Content-Length header line: decimal digits with optional blanks around.
std::optional<std::size_t> parseLength(std::string_view line) {
    std::string_view value = line.substr(kLengthName.size());
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (value.empty()) return std::nullopt;
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc{} || end != value.data() + value.size()) return std::nullopt;
    return length;
}

} // namespace

bool MessageReader::fill() {
    if (at_ > 0) {
        buffer_.erase(0, at_);
        at_ = 0;
    }
    constexpr std::size_t kChunk = 64 * 1024;
    const std::size_t had = buffer_.size();
    buffer_.resize(had + kChunk);
    const std::size_t got = source_(buffer_.data() + had, kChunk);
    buffer_.resize(had + std::min(got, kChunk));
    return got > 0;
}

bool MessageReader::readLine(std::string& line) {
    line.clear();
    for (;;) {
        const std::size_t newline = buffer_.find('\n', at_);
        if (newline != std::string::npos) {
            line.append(buffer_, at_, newline - at_);
            at_ = newline + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line.append(buffer_, at_, std::string::npos);
        at_ = buffer_.size();
        if (line.size() > kMaxLine) line.erase(0, line.size() - kLengthName.size());
        if (!fill()) return !line.empty();
    }
}

bool MessageReader::readBody(std::size_t length, std::string& body) {
    body.clear();
    while (body.size() < length) {
        if (at_ == buffer_.size() && !fill()) return false;
        const std::size_t take = std::min(length - body.size(), buffer_.size() - at_);
        body.append(buffer_, at_, take);
        at_ += take;
    }
    return true;
}

Frame MessageReader::next() {
    std::string line;
    for (;;) {
        if (!pending_.empty()) {
            line = std::move(pending_);
            pending_.clear();
        } else if (!readLine(line)) {
            return {};
        }
        // Bytes before a header on the block's first line are the rest of a body that was
        // longer than its header said; the body has had its answer already.
        const std::size_t start = findLengthHeader(line);
        if (resyncing_ && start == std::string::npos) continue;
        if (start != std::string::npos) line.erase(0, start);
        resyncing_ = false;
        if (line.empty()) continue; // blank lines between messages

        std::optional<std::size_t> length;
        bool valid = true;
        for (bool first = true;; first = false) {
            if (!first && !readLine(line)) return {};
            if (line.empty()) break;
            const std::size_t header = findLengthHeader(line);
            if (header == 0) {
                length = parseLength(line);
                valid = valid && length.has_value();
                continue;
            }
            // Stray bytes, perhaps the rest of a body shorter than its header said: the
            // block is broken, and a header later on the line starts the next one.
            if (header != std::string::npos) {
                pending_ = line.substr(header);
                return {Frame::Kind::BadHeader, {}};
            }
            if (line.find(':') == std::string::npos) {
                resyncing_ = true;
                return {Frame::Kind::BadHeader, {}};
            }
        }
        if (!valid || !length || *length > maxBody_) {
            resyncing_ = true;
            return {Frame::Kind::BadHeader, {}};
        }
        Frame frame{Frame::Kind::Body, {}};
        if (!readBody(*length, frame.body)) return {};
        return frame;
    }
}

std::string frameMessage(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

} // namespace orvanta::cli::lsp
