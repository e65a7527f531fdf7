#include <string>
#include <vector>

#include "check/file_checker.h"
#include "check/numbers.h"
#include "check/words.h"
#include "core/config/keywords.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

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

} // namespace orvanta::check
