#include "check/report.h"

#include <algorithm>

namespace orvanta::check {

int32_t CheckReport::count(Severity severity) const {
    return static_cast<int32_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [severity](const Diagnostic& d) { return d.severity == severity; }));
}

void promoteWarnings(CheckReport& report) {
    for (Diagnostic& d : report.diagnostics)
        if (d.severity == Severity::Warning) d.severity = Severity::Error;
}

const char* severityName(Severity severity) {
    return severity == Severity::Error     ? "error"
           : severity == Severity::Warning ? "warning"
                                           : "note";
}

std::string formatDiagnostic(const Diagnostic& d) {
    std::string out = d.file;
    if (d.line > 0) {
        out += ':';
        out += std::to_string(d.line);
        if (d.column >= 0) {
            out += ':';
            out += std::to_string(d.column + 1);
        }
    }
    return out + ": " + severityName(d.severity) + ": " + d.message;
}

std::string formatSummary(const CheckReport& report) {
    auto counted = [](int32_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return counted(report.count(Severity::Error), "error") + ", " +
           counted(report.count(Severity::Warning), "warning") + " in " +
           counted(report.files, "file");
}

} // namespace orvanta::check
