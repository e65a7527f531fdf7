#include <memory>

#include "check/checker.h"
#include "check/words.h"
#include "core/config/keywords.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

Severity severityOf(check::Severity severity) {
    return severity == check::Severity::Error     ? Severity::Error
           : severity == check::Severity::Warning ? Severity::Warning
                                                  : Severity::Note;
}

// A keyword line's fields for the outline: "left 1, top 2, width 30".
std::string fieldSummary(const LineView& line) {
    std::string out;
    const KeywordSpec& spec = *line.spec();
    for (int32_t i = 1; i <= spec.fieldCount && i < line.fields().fieldCount(); ++i) {
        if (!out.empty()) out += ", ";
        out += std::string(spec.fields[i - 1].name) + " " + line.fields().field(i);
    }
    return out;
}

bool namesFile(const KeywordSpec& spec, int32_t field) {
    return field == 1 && (spec.kind == KeywordKind::Picture || spec.kind == KeywordKind::NextFile);
}

} // namespace

Range lineRange(int32_t line, check::Span span) {
    return {{line, span.begin}, {line, span.end}};
}

std::optional<LineView> Workspace::Impl::lineAt(const std::string& name, Position at,
                                                std::string& bytes) {
    bytes = readWhole(files, name);
    const std::vector<std::string_view> lines = splitLines(bytes);
    if (at.line < 0 || static_cast<std::size_t>(at.line) > lines.size()) return std::nullopt;
    if (static_cast<std::size_t>(at.line) == lines.size()) return LineView(std::string_view());
    return LineView(lines[static_cast<std::size_t>(at.line)]);
}

Workspace::Workspace(Folder& folder) : impl_(std::make_unique<Impl>(folder)) {}
Workspace::~Workspace() = default;

void Workspace::setText(const std::string& name, std::string text) {
    impl_->files.put(name, std::move(text));
}

void Workspace::forget(const std::string& name) {
    impl_->files.remove(name);
}

std::vector<Diagnostic> Workspace::diagnostics(const std::string& name) {
    std::vector<Diagnostic> out;
    for (check::Diagnostic& found : check::checkFile(impl_->files, name, name).diagnostics) {
        Diagnostic d;
        const int32_t line = found.line > 0 ? found.line - 1 : 0;
        if (found.column >= 0)
            d.range = lineRange(line, {found.column, found.endColumn});
        else
            d.range = {{line, 0}, {line, 0}};
        d.severity = severityOf(found.severity);
        d.code = std::move(found.code);
        d.message = std::move(found.message);
        if (found.fix)
            d.fix =
                Fix{found.fix->title, lineRange(line, {found.fix->column, found.fix->endColumn}),
                    found.fix->text};
        out.push_back(std::move(d));
    }
    return out;
}

std::vector<Symbol> Workspace::symbols(const std::string& name) {
    std::vector<Symbol> out;
    const std::string bytes = readWhole(impl_->files, name);
    const std::vector<std::string_view> lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineView line(lines[i]);
        if (line.spec() == nullptr) continue;
        const int32_t number = static_cast<int32_t>(i);
        const std::string fields = fieldSummary(line);
        out.push_back({line.spec()->name,
                       "line " + std::to_string(number + 1) + (fields.empty() ? "" : ": " + fields),
                       lineRange(number, {0, static_cast<int32_t>(lines[i].size())}),
                       lineRange(number, line.span(0))});
    }
    return out;
}

std::optional<Definition> Workspace::definition(const std::string& name, Position at) {
    std::string bytes;
    const std::optional<LineView> line = impl_->lineAt(name, at, bytes);
    if (!line || line->spec() == nullptr) return std::nullopt;
    const int32_t field = line->fieldAt(at.column);
    if (!namesFile(*line->spec(), field)) return std::nullopt;
    const std::string file = line->fields().field(1);
    if (!check::existsExactly(impl_->files, file)) return std::nullopt;
    return Definition{file, lineRange(at.line, line->span(1))};
}

std::string unitNote(const FieldSpec& field) {
    return *field.unit == '\0' ? std::string() : std::string(" (") + field.unit + ")";
}

std::string fieldList(const KeywordSpec& spec) {
    std::string out;
    for (int32_t i = 0; i < spec.fieldCount; ++i)
        out += std::string("- `") + spec.fields[i].name + "`" + unitNote(spec.fields[i]) + ": " +
               spec.fields[i].meaning + "\n";
    return out;
}

std::string lineTemplate(const KeywordSpec& spec) {
    std::string out = spec.name;
    for (int32_t i = 0; i < spec.fieldCount; ++i) out += std::string(";") + spec.fields[i].name;
    return out;
}

} // namespace orvanta::language
