#include "language/line_plan.h"

namespace orvanta::language {

namespace {

int32_t lengthOf(const DesignModel& model, int32_t line) {
    return static_cast<int32_t>(model.lines[static_cast<std::size_t>(line)].size());
}

std::string joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i > 0 ? end : "") + lines[i];
    return out;
}

// Where each line starts, as the language service counts lines, and the text's end for the
// position just past the last line.
std::vector<std::size_t> lineStarts(std::string_view text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        starts.push_back(i + 1);
    }
    return starts;
}

} // namespace

DesignEdit refused(std::string reason) {
    DesignEdit edit;
    edit.refusal = std::move(reason);
    return edit;
}

DesignEdit planEdit(const DesignModel& model, const LinePlan& plan) {
    DesignEdit edit;
    const int32_t n = model.count();
    const std::string& end = model.lineEnd;
    int32_t shift = 0;
    edit.lineMap.assign(static_cast<std::size_t>(n), -1);
    for (int32_t i = 0; i <= n; ++i) {
        if (const auto added = plan.added.find(i); added != plan.added.end()) {
            const std::vector<std::string>& lines = added->second;
            for (std::size_t k = 0; k < lines.size(); ++k)
                edit.addedLines.push_back(i + shift + static_cast<int32_t>(k));
            shift += static_cast<int32_t>(lines.size());
            if (i < n || model.lastLineEnded)
                edit.edits.push_back({{{i, 0}, {i, 0}}, joined(lines, end) + end});
            else // After a last line without a line end: the file's own line end goes first.
                edit.edits.push_back(
                    {{{n - 1, lengthOf(model, n - 1)}, {n - 1, lengthOf(model, n - 1)}},
                     end + joined(lines, end)});
        }
        if (i == n) break;
        if (plan.removed.count(i) != 0) {
            int32_t last = i;
            while (last + 1 < n && plan.removed.count(last + 1) != 0) ++last;
            shift -= last - i + 1;
            if (last == n - 1 && !model.lastLineEnded) {
                // The line before takes over the missing line end: it loses its own.
                const Position from =
                    i > 0 ? Position{i - 1, lengthOf(model, i - 1)} : Position{0, 0};
                edit.edits.push_back({{from, {last, lengthOf(model, last)}}, ""});
            } else {
                edit.edits.push_back({{{i, 0}, {last + 1, 0}}, ""});
            }
            i = last;
            continue;
        }
        edit.lineMap[static_cast<std::size_t>(i)] = i + shift;
        if (const auto s = plan.splices.find(i); s != plan.splices.end())
            for (const Splice& splice : s->second)
                edit.edits.push_back({{{i, splice.begin}, {i, splice.end}}, splice.text});
    }
    const DesignModel after = readModel(applyEdits(model.bytes, edit.edits));
    edit.warning = ownershipChanges(model, after, edit.lineMap);
    return edit;
}

std::string applyEdits(std::string_view text, const std::vector<TextEdit>& edits) {
    const std::vector<std::size_t> starts = lineStarts(text);
    const auto offset = [&](Position p) {
        if (p.line < 0) return std::size_t{0};
        if (static_cast<std::size_t>(p.line) >= starts.size()) return text.size();
        return std::min(text.size(), starts[static_cast<std::size_t>(p.line)] +
                                         static_cast<std::size_t>(std::max(0, p.column)));
    };
    std::string out;
    std::size_t from = 0;
    for (const TextEdit& e : edits) {
        const std::size_t begin = std::max(from, offset(e.range.start));
        out.append(text.substr(from, begin - from));
        out += e.newText;
        from = std::max(begin, offset(e.range.end));
    }
    out.append(text.substr(from));
    return out;
}

} // namespace orvanta::language
