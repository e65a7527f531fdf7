#include "check/file_checker.h"

#include <cstring>

#include "check/name_encoding.h"
#include "check/words.h"
#include "core/config/keywords.h"
#include "core/config/loader.h"
#include "core/storage/folder.h"
#include "core/storage/storage.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

namespace {

Span wholeLine(const SourceLine& line) {
    return {0, static_cast<int32_t>(line.raw.size())};
}

} // namespace

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
    checkWipedOutPictures();
    return followChain();
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

void FileChecker::checkNameEncoding(int32_t line, Span span, const std::string& name) {
    const std::optional<std::size_t> at = firstNonUtf8Byte(name);
    if (!at) {
        // An editor that read the file as UTF-8 shows, and sends a language server, U+FFFD
        // in place of each byte that is not; the byte itself is lost by then.
        if (name.find("\xEF\xBF\xBD") != std::string::npos && !existsExactly(folder_, name))
            emit(line, span, Severity::Warning, "name-not-utf8",
                 "the file name " + inQuotes(name) +
                     " holds U+FFFD, the character an editor shows in place of a byte that is "
                     "not UTF-8 — the file was probably saved as Windows-1252 by an older "
                     "editor; reopen it in that encoding and save it as UTF-8");
        return;
    }
    static const char* hex = "0123456789ABCDEF";
    const auto byte = static_cast<uint8_t>(name[*at]);
    std::string message = "the file name " + inQuotes(withNonUtf8Escaped(name)) +
                          " is not UTF-8 text (byte 0x" + hex[byte >> 4] + hex[byte & 15] +
                          ") — it is looked up byte for byte, so it finds only a file whose name "
                          "has these very bytes";
    // Old editors on Windows save Windows-1252; its reading is most likely the name meant.
    const std::optional<std::string> meant = windows1252AsUtf8(name);
    std::optional<Fix> fix;
    if (meant) {
        message += "; read as Windows-1252, as older editors save, it is " + inQuotes(*meant) +
                   " — save this file as UTF-8";
        if (!existsExactly(folder_, name))
            fix = Fix{replaceTitle(*meant), span.begin, span.end, *meant};
    }
    emit(line, span, Severity::Warning, "name-not-utf8", message, std::move(fix));
}

} // namespace orvanta::check
