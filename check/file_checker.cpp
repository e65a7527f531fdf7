#include "check/file_checker.h"

#include <cstring>

#include "core/storage/folder.h"

#include "check/numbers.h"
#include "check/pictures.h"
#include "check/words.h"
#include "core/config/config_state.h"
#include "core/config/keywords.h"
#include "core/config/loader.h"
#include "core/runtime/objects.h"
#include "core/storage/storage.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

namespace {

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

// Reads the lines with the loader's reader, numbered as an editor shows them: the empty
// line the reader finds between the CR and the LF of a pair belongs to the line before.
// The loader stops at a line whose last byte read is a zero byte, which can only be the
// file's very last byte; `lastLineLost` tells whether this file has such a line.
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

Span wholeLine(const SourceLine& line) {
    return {0, static_cast<int32_t>(line.raw.size())};
}

std::string replaceTitle(const std::string& text) {
    return "Replace with " + inQuotes(text);
}

} // namespace

Span fieldSpan(const FieldTable& fields, int32_t index, const std::string& text) {
    const int32_t length = static_cast<int32_t>(text.size());
    if (index == 0 && fields.fieldCount() == 0) return {0, length};
    const int32_t start = fields.fieldStart(index);
    if (start < 0) return {length, length};
    return {start, start + static_cast<int32_t>(std::strlen(fields.field(index)))};
}

Span fieldsSpan(const FieldTable& fields, int32_t first, int32_t last, const std::string& text) {
    const Span from = fieldSpan(fields, first, text);
    Span to = from;
    for (int32_t i = last; i > first; --i)
        if (fields.fieldStart(i) >= 0) {
            to = fieldSpan(fields, i, text);
            break;
        }
    return {from.begin, to.end};
}

int32_t fieldNamed(const KeywordSpec& spec, const char* name) {
    for (int32_t i = 0; i < spec.fieldCount; ++i)
        if (std::strcmp(spec.fields[i].name, name) == 0) return i + 1;
    return 0;
}

void FileChecker::emit(int32_t line, Span span, Severity severity, const char* code,
                       std::string message, std::optional<Fix> fix) {
    Diagnostic d{shownName_, line, severity, std::move(message), code, -1, -1, std::move(fix)};
    if (line > 0) {
        d.column = span.begin;
        d.endColumn = span.end;
    }
    out_.push_back(std::move(d));
}

std::optional<std::string> FileChecker::check(Storage& storage) {
    bool lastLineLost = false;
    const std::vector<SourceLine> lines = readSourceLines(storage, &lastLineLost);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& line = lines[i];
        if (lastLineLost && i + 1 == lines.size()) {
            emit(line.number, wholeLine(line), Severity::Warning, "zero-byte-at-end",
                 "the file ends in a zero byte — the device stops reading before this line "
                 "and ignores it");
            break;
        }
        checkLine(line);
    }
    checkLineEnds(lines);

    for (std::size_t i = 0; i + 1 < imageLines_.size(); ++i)
        emit(imageLines_[i].line, imageLines_[i].keyword, Severity::Warning, "picture-wiped-out",
             "this picture is wiped out by the 'image' line " +
                 std::to_string(imageLines_.back().line) +
                 " — every 'image' line clears the display first");

    if (loadConfigs_.empty()) return std::nullopt;
    for (std::size_t i = 0; i + 1 < loadConfigs_.size(); ++i)
        emit(loadConfigs_[i].line, loadConfigs_[i].keyword, Severity::Warning,
             "load-config-overridden",
             "overridden by the 'LoadConfig' line " + std::to_string(loadConfigs_.back().line) +
                 " — only the last 'LoadConfig' line of a file counts");
    const LoadConfigLine& last = loadConfigs_.back();
    if (last.seconds < 0 || last.seconds >= kNeverDueSeconds) {
        emit(last.line, last.secondsField, Severity::Warning, "chain-stops",
             "a delay of " + std::to_string(last.seconds) +
                 " seconds is never reached, so the chain stops here and " + inQuotes(last.name) +
                 " is never loaded; use 0 to 4294966");
        return std::nullopt;
    }
    if (last.name.empty()) {
        emit(last.line, last.nameField, Severity::Error, "missing-file-name",
             "no file name — the next load finds no file, so the device keeps this screen and "
             "tries again every 21 seconds");
        return std::nullopt;
    }
    successorNamed_ = last.name;
    const bool exists = existsExactly(folder_, last.name);
    if (!exists || folder_.open(last.name.c_str()) == nullptr) {
        std::string meant;
        const std::string hint =
            exists ? std::string() : missingFileHint(folder_, last.name, &meant);
        std::optional<Fix> fix;
        if (!meant.empty())
            fix = Fix{replaceTitle(meant), last.nameField.begin, last.nameField.end, meant};
        emit(last.line, last.nameField, Severity::Error,
             exists ? "successor-not-a-file" : "successor-not-found",
             "the next configuration file " + inQuotes(last.name) +
                 (exists ? " is not a file" : " does not exist") +
                 " — the device keeps this screen and tries again every 21 seconds" + hint,
             std::move(fix));
        return std::nullopt;
    }
    return last.name;
}

void FileChecker::checkLineEnds(const std::vector<SourceLine>& lines) {
    const SourceLine* first = nullptr;
    for (const SourceLine& line : lines) {
        if (line.end == LineEnd::None) continue;
        if (first == nullptr) {
            first = &line;
            continue;
        }
        if (line.end != first->end) {
            emit(line.number, wholeLine(line), Severity::Note, "mixed-line-ends",
                 std::string("this line ends in ") + lineEndName(line.end) + " but line " +
                     std::to_string(first->number) + " ends in " + lineEndName(first->end) +
                     "; the device ends a line at every LF and every CR, so it reads both "
                     "alike");
            return;
        }
    }
    if (first != nullptr && first->end == LineEnd::Cr)
        emit(0, {}, Severity::Note, "cr-line-ends",
             "lines end in CR alone; the device reads them correctly, but many editors show "
             "such a file as one long line");
}

void FileChecker::checkLine(const SourceLine& line) {
    // The text the device sees ends at a zero byte; only then is a shorter copy needed.
    const bool cut = std::memchr(line.raw.data(), 0, line.raw.size()) != nullptr;
    const std::string shortened = cut ? line.text() : std::string();
    const std::string& text = cut ? shortened : line.raw;
    if (cut) {
        const std::string rest = line.raw.substr(text.size() + 1);
        emit(line.number,
             {static_cast<int32_t>(text.size()), static_cast<int32_t>(line.raw.size())},
             Severity::Warning, "zero-byte",
             "a zero byte ends this line for the device" +
                 (rest.empty() ? std::string() : " — " + inQuotes(rest) + " after it is ignored"));
    }
    if (allWhiteSpace(text)) return;

    text_ = &text;
    const FieldTable fields(text.c_str());
    const KeywordSpec* spec = findKeyword(fields.field(0));
    if (spec == nullptr) {
        checkUnknown(line.number, text, fields);
        return;
    }
    checkFields(line.number, text, *spec, fields);
    switch (spec->kind) {
    case KeywordKind::Picture:
        checkImage(line.number, fields);
        break;
    case KeywordKind::Instrument:
        checkInstrument(line.number, *spec, fields);
        break;
    case KeywordKind::Colour:
    case KeywordKind::BackgroundColour:
        checkColourLine(line.number, *spec, fields);
        break;
    case KeywordKind::NextFile:
        checkLoadConfig(line.number, fields);
        break;
    case KeywordKind::Setting:
        break;
    }
    if (spec->kind != KeywordKind::Picture && reopensAfter(text.c_str())) {
        const int32_t at = static_cast<int32_t>(text.find("image"));
        emit(line.number, {at, at + 5}, Severity::Note, "reopens-file",
             "the line mentions 'image', so the device reopens this file after it; that "
             "changes nothing");
    }
}

void FileChecker::checkUnknown(int32_t line, const std::string& text, const FieldTable& fields) {
    // A line of one byte begins no field at all; the whole line is then the "keyword".
    const std::string word = fields.fieldCount() > 0 ? fields.field(0) : text;
    const std::string start = trimBlanks(text);
    if (start.rfind('#', 0) == 0 || start.rfind("//", 0) == 0 || start.rfind(';', 0) == 0 ||
        start.rfind("--", 0) == 0) {
        emit(line, {0, static_cast<int32_t>(text.size())}, Severity::Note, "comment-line",
             "there are no comments in configuration files; the device ignores this line "
             "because it starts with no keyword");
        return;
    }
    std::string hint;
    const std::string keyword = suggestKeyword(word, &hint);
    std::string message = "unknown keyword " + inQuotes(word) + " — the line is ignored";
    const Span span = field(fields, 0);
    std::optional<Fix> fix;
    if (!keyword.empty()) {
        fix = Fix{replaceTitle(keyword), span.begin, span.end, keyword};
        message += "; did you mean " + inQuotes(keyword) + "?";
        if (!hint.empty()) message += " (" + hint + ")";
        const KeywordSpec* meant = findKeyword(keyword.c_str());
        if (meant != nullptr && meant->kind == KeywordKind::Instrument)
            ignoredSinceObject_ = InstrumentLine{line, meant};
    }
    emit(line, span, Severity::Error, "unknown-keyword", message, std::move(fix));
}

void FileChecker::checkFields(int32_t line, const std::string& text, const KeywordSpec& spec,
                              const FieldTable& fields) {
    const int32_t present = fields.fieldCount() - 1; // arguments the line has
    std::vector<std::string> missing;
    for (int32_t i = 1; i <= spec.fieldCount; ++i) {
        const FieldSpec& f = spec.fields[i - 1];
        if (i > present) {
            if (f.kind != FieldKind::Text) missing.push_back(f.name);
            continue;
        }
        if (f.kind == FieldKind::Text) continue; // the keyword's own checks look at texts
        int32_t value = 0;
        const Span span = field(fields, i);
        if (auto finding = checkNumber(f.name, fields.field(i), &value)) {
            std::optional<Fix> fix;
            if (finding->fix)
                fix = Fix{replaceTitle(*finding->fix), span.begin, span.end, *finding->fix};
            emit(line, span, finding->severity, finding->code, finding->message, std::move(fix));
        } else if (f.kind == FieldKind::Colour && (value < 0 || value > 0xFFFF)) {
            const std::string low = std::to_string(value & 0xFFFF);
            emit(line, span, Severity::Warning, "colour-out-of-range",
                 "colour " + std::to_string(value) +
                     " is outside 0..65535 — only its low 16 bits count, so it draws as " + low,
                 Fix{replaceTitle(low), span.begin, span.end, low});
        }
    }
    if (!missing.empty()) {
        std::string all;
        for (int32_t i = 0; i < spec.fieldCount; ++i) {
            if (i > 0) all += ';';
            all += spec.fields[i].name;
        }
        emit(line, field(fields, 0), Severity::Warning, "missing-fields",
             inQuotes(spec.name) + " takes " + std::to_string(spec.fieldCount) + " field" +
                 (spec.fieldCount == 1 ? "" : "s") + " (" + all + "): " + inQuotesList(missing) +
                 (missing.size() == 1 ? " is" : " are") + " missing and read" +
                 (missing.size() == 1 ? "s" : "") + " as 0");
    }

    std::vector<std::string> extra;
    for (int32_t i = spec.fieldCount + 1; i <= present; ++i) {
        const std::string value = fields.field(i);
        if (!value.empty() && value != ";") extra.push_back(value);
    }
    if (!extra.empty()) {
        // From the separator that ends the last field the keyword takes to the line's end.
        const Span first = field(fields, spec.fieldCount + 1);
        const Span span{first.begin - 1, static_cast<int32_t>(text.size())};
        emit(line, span, Severity::Warning, "extra-fields",
             inQuotes(spec.name) + " takes " + std::to_string(spec.fieldCount) + " field" +
                 (spec.fieldCount == 1 ? "" : "s") + " — " + inQuotesList(extra) +
                 (extra.size() == 1 ? " is" : " are") + " ignored",
             Fix{"Remove the extra fields", span.begin, span.end, ""});
    }

    if (fields.separatorCount() >= kFieldSlots - 1) {
        // The ninth separator that the splitting saw; the last byte is never one.
        int32_t seen = 0;
        std::size_t at = 0;
        for (std::size_t p = 0; p + 1 < text.size(); ++p)
            if (text[p] == ';' && ++seen == kFieldSlots - 1) {
                at = p;
                break;
            }
        emit(line, {static_cast<int32_t>(at + 1), static_cast<int32_t>(text.size())},
             Severity::Warning, "text-after-ninth-separator",
             "text after the ninth ';' is dropped: " + inQuotes(text.substr(at + 1)));
    }
}

void FileChecker::checkColourLine(int32_t line, const KeywordSpec& spec, const FieldTable& fields) {
    const Span keyword = field(fields, 0);
    if (!lastObject_) {
        emit(line, keyword, Severity::Warning, "colour-without-instrument",
             "no instrument above it in this file — the line is ignored; put it after the "
             "instrument line it belongs to");
        return;
    }
    if (instruments_ > kObjectSlots) {
        emit(line, keyword, Severity::Warning, "colour-goes-to-tenth",
             std::string("the display already holds ten instruments, so this colour goes to "
                         "the tenth (") +
                 lastObject_->spec->name + " of line " + std::to_string(lastObject_->line) +
                 "), not to the one above");
        return;
    }
    if (ignoredSinceObject_)
        emit(line, keyword, Severity::Note, "colour-after-ignored-line",
             "line " + std::to_string(ignoredSinceObject_->line) +
                 " above is ignored, so this colour goes to the " + lastObject_->spec->name +
                 " of line " + std::to_string(lastObject_->line));
    const KeywordSpec& object = *lastObject_->spec;
    const char* fixed =
        spec.kind == KeywordKind::Colour ? object.fixedColour : object.fixedBackground;
    if (fixed != nullptr)
        emit(line, keyword, Severity::Warning, "colour-changes-nothing",
             std::string("the ") + object.name + " of line " + std::to_string(lastObject_->line) +
                 " " + fixed + " — " + spec.name + " changes nothing");
}

void FileChecker::checkLoadConfig(int32_t line, const FieldTable& fields) {
    const std::string full = fields.field(1);
    char kept[kConfigNameSize];
    copyConfigName(kept, full.c_str());
    const Span name = field(fields, 1);
    if (full.size() >= kConfigNameSize)
        emit(line, name, Severity::Warning, "file-name-cut",
             "the file name " + inQuotes(full) + " has " + std::to_string(full.size()) +
                 " characters — the device keeps only the first 19: " + inQuotes(kept));
    loadConfigs_.push_back(
        {line, kept, fields.number(2), field(fields, 0), name, field(fields, 2)});
}

void FileChecker::checkImage(int32_t line, const FieldTable& fields) {
    imageLines_.push_back({line, field(fields, 0)});
    const std::string name = fields.field(1);
    const Span span = field(fields, 1);
    if (name.empty()) {
        emit(line, span, Severity::Error, "missing-file-name",
             "no file name — the display is cleared to black and nothing is drawn");
        return;
    }
    const PictureVerdict verdict = checkPictureFile(folder_, name);
    std::optional<Fix> fix;
    if (!verdict.fix.empty())
        fix = Fix{replaceTitle(verdict.fix), span.begin, span.end, verdict.fix};
    if (!verdict.problem.empty())
        emit(line, span, verdict.severity, verdict.code, verdict.problem, std::move(fix));
}

} // namespace orvanta::check
