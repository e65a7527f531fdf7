#include "session/findings.h"

#include "check/checker.h"

namespace orvanta {

Findings checkLoadedFile(Folder& folder, const std::string& name) {
    Findings findings;
    findings.file = name;
    // The rows name the file alone: the folder is the window's.
    const check::CheckReport report = check::checkFile(folder, name, name);
    for (const check::Diagnostic& diagnostic : report.diagnostics)
        findings.rows.push_back(check::formatDiagnostic(diagnostic));
    findings.errors = report.count(check::Severity::Error);
    findings.warnings = report.count(check::Severity::Warning);
    return findings;
}

std::vector<std::string> findingsListRows(const Findings& findings) {
    if (!findings.rows.empty()) return findings.rows;
    return {findings.file.empty() ? "No file has been loaded yet."
                                  : findings.file + ": no findings"};
}

std::string findingsListTitle(const Findings& findings) {
    const std::string sign = findingsSign(findings);
    return "Findings in " + (findings.file.empty() ? std::string("no file") : findings.file) +
           (sign.empty() ? "" : ": " + sign);
}

std::string findingsSign(const Findings& findings) {
    const auto counted = [](int32_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    if (findings.errors > 0 && findings.warnings > 0)
        return counted(findings.errors, "error") + ", " + counted(findings.warnings, "warning");
    if (findings.errors > 0) return counted(findings.errors, "error");
    if (findings.warnings > 0) return counted(findings.warnings, "warning");
    return "";
}

} // namespace orvanta
