#pragma once
// The configuration checker: reads configuration files exactly as the device does (its
// own line reading, field splitting, keyword table and number reading) and explains every
// line that the device ignores or carries out differently from what it most likely says.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta::cli {

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

// Checks a configuration folder as the device would load it: "config.txt" first, then
// every successor that a "LoadConfig" line schedules, each file once. File names in the
// diagnostics are shown relative to `folder` as given ("." shows bare names).
CheckReport checkFolder(const std::string& folder);

// Checks the named files one by one without following their successors. Pictures and
// successors are looked up in the folder of the file that names them.
CheckReport checkFiles(const std::vector<std::string>& paths);

// Turns every warning into an error (the --werror option).
void promoteWarnings(CheckReport& report);

// "FILE:LINE: error|warning|note: message" (without ":LINE" for file-wide findings).
std::string formatDiagnostic(const Diagnostic& diagnostic);
// "N errors, M warnings in K files", with singular forms where they apply.
std::string formatSummary(const CheckReport& report);

// The keyword a misspelt first field most likely means, or empty. `hint` receives a short
// explanation of the mistake (wrong case, blanks, a final ';', a missing ending ...).
std::string suggestKeyword(const std::string& word, std::string* hint = nullptr);

} // namespace orvanta::cli
