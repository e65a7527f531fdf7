#include <algorithm>

#include "check/words.h"
#include "core/config/keywords.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

// A keyword with its fields as named placeholders; the plain text is the keyword and its
// first separator, for editors that cannot step through placeholders.
Completion keywordCompletion(const KeywordSpec& spec, Range replace) {
    Completion c;
    c.label = spec.name;
    c.kind = CompletionKind::Keyword;
    c.detail = spec.summary;
    c.documentation = std::string(1, '`');
    c.documentation += lineTemplate(spec);
    c.documentation += "`\n\n";
    c.documentation += fieldList(spec);
    c.snippet = spec.name;
    for (int32_t i = 0; i < spec.fieldCount; ++i)
        c.snippet += ";${" + std::to_string(i + 1) + ":" + spec.fields[i].name + "}";
    c.plainText = std::string(spec.name) + (spec.fieldCount > 0 ? ";" : "");
    c.replace = replace;
    return c;
}

bool endsWith(const std::string& name, const char* ending) {
    const std::string end = ending;
    return name.size() > end.size() && check::lower(name.substr(name.size() - end.size())) == end;
}

std::vector<Completion> fileCompletions(Folder& folder, const char* ending, const char* what,
                                        Range replace) {
    std::vector<std::string> names = folder.list("");
    std::sort(names.begin(), names.end());
    std::vector<Completion> out;
    for (const std::string& name : names) {
        if (!endsWith(name, ending) || folder.open(name.c_str()) == nullptr) continue;
        Completion c;
        c.label = c.snippet = c.plainText = name;
        c.kind = CompletionKind::File;
        c.detail = what;
        c.replace = replace;
        out.push_back(std::move(c));
    }
    return out;
}

} // namespace

std::vector<Completion> Workspace::completions(const std::string& name, Position at) {
    std::string bytes;
    const std::optional<LineView> line = impl_->lineAt(name, at, bytes);
    if (!line) return {};
    const std::string& text = line->text();
    if (at.column < 0 || static_cast<std::size_t>(at.column) > text.size()) return {};
    // The fields as typed so far: a byte after the cursor makes every ';' before it a
    // separator, also the one just typed at the end of the line.
    const FieldTable typed((text.substr(0, static_cast<std::size_t>(at.column)) + "?").c_str());
    const int32_t index = std::max(typed.fieldCount() - 1, 0);
    const int32_t begin = std::max(typed.fieldStart(index), 0);
    const std::size_t next = text.find(';', static_cast<std::size_t>(at.column));
    const int32_t end =
        next == std::string::npos ? static_cast<int32_t>(text.size()) : static_cast<int32_t>(next);
    const Range replace = lineRange(at.line, {begin, end});
    if (index == 0) {
        std::vector<Completion> out;
        for (int32_t i = 0; i < keywordCount(); ++i)
            out.push_back(keywordCompletion(keywordTable()[i], replace));
        return out;
    }
    const KeywordSpec* spec = findKeyword(typed.field(0));
    if (spec == nullptr || index != 1) return {};
    if (spec->kind == KeywordKind::Picture)
        return fileCompletions(impl_->files, ".bmp", "picture", replace);
    if (spec->kind == KeywordKind::NextFile)
        return fileCompletions(impl_->files, ".txt", "configuration file", replace);
    return {};
}

} // namespace orvanta::language
