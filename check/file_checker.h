#pragma once
// One configuration file, line by line, read with the loader's own line reader and split
// with its field splitter; the keyword table says what each line means.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "check/report.h"
#include "core/syntax/line_facts.h"

namespace orvanta {
class FieldTable;
class Storage;
struct KeywordSpec;
} // namespace orvanta

namespace orvanta::check {

namespace fs = std::filesystem;

enum class LineEnd { None, Lf, CrLf, Cr };

// A line as an editor counts it: a CR LF pair is one line end.
struct SourceLine {
    int32_t number = 0;
    std::string raw; // the bytes between the line ends, zero bytes included
    LineEnd end = LineEnd::None;
    std::string text() const { return std::string(raw.c_str()); }
};

struct InstrumentLine {
    int32_t line;
    const KeywordSpec* spec;
};

struct LoadConfigLine {
    int32_t line;
    std::string name; // as the device keeps it (cut to 19 characters)
    int32_t seconds;
};

class FileChecker {
  public:
    FileChecker(fs::path dir, std::string shownName, std::vector<Diagnostic>& out)
        : dir_(std::move(dir)), shownName_(std::move(shownName)), out_(out) {}

    // Checks the file open in `storage` from its start. Returns the successor the chain
    // goes on to, if it goes on.
    std::optional<std::string> check(Storage& storage);

  private:
    void emit(int32_t line, Severity severity, std::string message) {
        out_.push_back({shownName_, line, severity, std::move(message)});
    }
    void checkLine(const SourceLine& line);
    void checkUnknown(int32_t line, const std::string& text, const FieldTable& fields);
    void checkFields(int32_t line, const std::string& text, const KeywordSpec& spec,
                     const FieldTable& fields);
    void checkInstrument(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkFacts(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkColourLine(int32_t line, const KeywordSpec& spec);
    void checkLoadConfig(int32_t line, const FieldTable& fields);
    void checkImage(int32_t line, const FieldTable& fields);
    void checkLineEnds(const std::vector<SourceLine>& lines);
    void checkText(int32_t line, const std::string& keyword, const TextRun& run);

    fs::path dir_;
    std::string shownName_;
    std::vector<Diagnostic>& out_;
    int32_t instruments_ = 0;
    std::optional<InstrumentLine> lastObject_;
    std::optional<InstrumentLine> ignoredSinceObject_; // an unknown line after lastObject_
    std::vector<LoadConfigLine> loadConfigs_;
    std::vector<int32_t> imageLines_;
};

} // namespace orvanta::check
