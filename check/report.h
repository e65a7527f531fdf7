#pragma once
// The checker's findings and how they are printed.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta::check {

enum class Severity { Error, Warning, Note };

struct Diagnostic {
    std::string file; // the file name as the user should see it
    int32_t line = 0; // 1-based line as an editor counts it; 0 for the file as a whole
    Severity severity = Severity::Error;
    std::string message;
};

struct CheckReport {
    std::vector<Diagnostic> diagnostics; // in file order, then line order
    int32_t files = 0;                   // configuration files read
    int32_t count(Severity severity) const;
};

// Turns every warning into an error (the --werror option).
void promoteWarnings(CheckReport& report);

// "FILE:LINE: error|warning|note: message" (without ":LINE" for file-wide findings).
std::string formatDiagnostic(const Diagnostic& diagnostic);
// "N errors, M warnings in K files", with singular forms where they apply.
std::string formatSummary(const CheckReport& report);

} // namespace orvanta::check
