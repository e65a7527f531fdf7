#include "session/check_report_json.h"

#include <nlohmann/json.hpp>

#include "check/checker.h"

namespace orvanta {

// Keys keep the order written here, which the README shows.
using json = nlohmann::ordered_json;

std::string checkReportJson(const check::CheckReport& report) {
    json findings = json::array();
    for (const check::Diagnostic& d : report.diagnostics) {
        const bool ranged = d.line > 0 && d.column >= 0;
        json fix = nullptr;
        if (d.fix)
            fix = {{"title", d.fix->title},
                   {"column", d.fix->column + 1},
                   {"endColumn", d.fix->endColumn + 1},
                   {"text", d.fix->text}};
        findings.push_back({{"file", d.file},
                            {"line", d.line > 0 ? json(d.line) : json(nullptr)},
                            {"column", ranged ? json(d.column + 1) : json(nullptr)},
                            {"endColumn", ranged ? json(d.endColumn + 1) : json(nullptr)},
                            {"severity", check::severityName(d.severity)},
                            {"code", d.code},
                            {"message", d.message},
                            {"fix", fix}});
    }
    const json document = {{"findings", findings},
                           {"errors", report.count(check::Severity::Error)},
                           {"warnings", report.count(check::Severity::Warning)},
                           {"notes", report.count(check::Severity::Note)},
                           {"files", report.files}};
    // Invalid UTF-8 in a user's text is replaced rather than ending the program.
    return document.dump(2, ' ', false, json::error_handler_t::replace);
}

std::string chainReportJson(Folder& folder, const std::string& shownFolder) {
    return checkReportJson(check::checkChain(folder, shownFolder));
}

} // namespace orvanta
