#pragma once
// The checker's findings and how they are printed.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::check {

enum class Severity { Error, Warning, Note };

// A plain replacement that mends a finding: `text` replaces the bytes from `column` up to
// `endColumn` (0-based, end exclusive) of the finding's line.
struct Fix {
    std::string title; // for example "Replace with 'Tacho'"
    int32_t column = 0;
    int32_t endColumn = 0;
    std::string text;
};

struct Diagnostic {
    std::string file; // the file name as the user should see it
    int32_t line = 0; // 1-based line as an editor counts it; 0 for the file as a whole
    Severity severity = Severity::Error;
    std::string message;
    std::string code; // stable name of the finding, for example "unknown-keyword"
    // The bytes of the line the finding is about: 0-based, end exclusive. -1 when it is
    // about no part of a line (the file as a whole).
    int32_t column = -1;
    int32_t endColumn = -1;
    std::optional<Fix> fix;
};

struct CheckReport {
    std::vector<Diagnostic> diagnostics; // in file order, then line order
    int32_t files = 0;                   // configuration files read
    int32_t count(Severity severity) const;
};

// Turns every warning into an error (the --werror option).
void promoteWarnings(CheckReport& report);

const char* severityName(Severity severity); // "error", "warning" or "note"

// "FILE:LINE:COLUMN: error|warning|note: message", with the column 1-based as compilers
// print it; without ":COLUMN" for a finding without range and without ":LINE" for a
// file-wide one.
std::string formatDiagnostic(const Diagnostic& diagnostic);
// "N errors, M warnings in K files", with singular forms where they apply.
std::string formatSummary(const CheckReport& report);

} // namespace orvanta::check
