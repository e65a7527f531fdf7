#pragma once
// One configuration file, line by line, read with the loader's own line reader and split
// with its field splitter; the keyword table says what each line means.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/field_spans.h"
#include "check/report.h"
#include "check/source_lines.h"
#include "core/syntax/line_facts.h"

namespace orvanta {
class FieldTable;
class Folder;
class Storage;
struct KeywordSpec;
} // namespace orvanta

namespace orvanta::check {

struct InstrumentLine {
    int32_t line;
    const KeywordSpec* spec;
};

struct LoadConfigLine {
    int32_t line;
    std::string name; // as the device keeps it (cut to 19 characters)
    int32_t seconds;
    Span keyword, nameField, secondsField;
};

struct ImageLine {
    int32_t line;
    Span keyword;
};

class FileChecker {
  public:
    // Pictures and successors are looked up in `folder`.
    FileChecker(Folder& folder, std::string shownName, std::vector<Diagnostic>& out)
        : folder_(folder), shownName_(std::move(shownName)), out_(out) {}

    // Checks the file open in `storage` from its start. Returns the successor the chain
    // goes on to, if it goes on.
    std::optional<std::string> check(Storage& storage);
    // The successor the file names, whether or not the folder has it; empty when the file
    // names none. Read after check().
    const std::string& successorNamed() const { return successorNamed_; }

  private:
    // A finding about `span` of `line`; a line of 0 is about the file and has no span.
    void emit(int32_t line, Span span, Severity severity, const char* code, std::string message,
              std::optional<Fix> fix = std::nullopt);
    void checkLine(const SourceLine& line);
    void checkUnknown(int32_t line, const std::string& text, const FieldTable& fields);
    void checkFields(int32_t line, const std::string& text, const KeywordSpec& spec,
                     const FieldTable& fields);
    void checkInstrument(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkFacts(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkColourLine(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkLoadConfig(int32_t line, const FieldTable& fields);
    // After the last line: the successor the last 'LoadConfig' line names, if the chain
    // goes on to it.
    std::optional<std::string> followChain();
    void checkImage(int32_t line, const FieldTable& fields);
    // A file name that is not UTF-8, at `span` of `line`.
    void checkNameEncoding(int32_t line, Span span, const std::string& name);
    void checkWipedOutPictures();
    void checkLineEnds(const std::vector<SourceLine>& lines);
    void checkText(int32_t line, const KeywordSpec& spec, const FieldTable& fields,
                   const TextRun& run);

    Span field(const FieldTable& fields, int32_t index) const {
        return fieldSpan(fields, index, *text_);
    }

    Folder& folder_;
    const std::string* text_ = nullptr; // the line being checked, as the device reads it
    std::string shownName_;
    std::vector<Diagnostic>& out_;
    std::string successorNamed_;
    int32_t instruments_ = 0;
    std::optional<InstrumentLine> lastObject_;
    std::optional<InstrumentLine> ignoredSinceObject_; // an unknown line after lastObject_
    std::vector<LoadConfigLine> loadConfigs_;
    std::vector<ImageLine> imageLines_;
};

} // namespace orvanta::check
