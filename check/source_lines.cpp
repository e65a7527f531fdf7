#include "check/source_lines.h"

#include "core/config/loader.h"
#include "core/storage/storage.h"

namespace orvanta::check {

const char* lineEndName(LineEnd end) {
    switch (end) {
    case LineEnd::Lf:
        return "LF";
    case LineEnd::CrLf:
        return "CR LF";
    case LineEnd::Cr:
        return "CR";
    case LineEnd::None:
        break;
    }
    return "nothing";
}

// The lines are numbered as an editor shows them: the empty line the reader finds between
// the CR and the LF of a pair belongs to the line before.
std::vector<SourceLine> readSourceLines(Storage& storage, bool* lastLineLost) {
    std::vector<SourceLine> lines;
    std::string line;
    int64_t consumed = 0;
    for (;;) {
        const unsigned char last = readConfigLine(storage, line, consumed);
        if (last == 0) {
            *lastLineLost = !line.empty();
            if (*lastLineLost)
                lines.push_back({static_cast<int32_t>(lines.size()) + 1, std::move(line)});
            return lines;
        }
        if (last == '\n' && line.empty() && !lines.empty() && lines.back().end == LineEnd::Cr) {
            lines.back().end = LineEnd::CrLf;
            continue;
        }
        const LineEnd end = last == '\n' ? LineEnd::Lf : last == '\r' ? LineEnd::Cr : LineEnd::None;
        lines.push_back({static_cast<int32_t>(lines.size()) + 1, std::move(line), end});
    }
}

} // namespace orvanta::check
