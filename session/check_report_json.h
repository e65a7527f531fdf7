#pragma once
#include <string>

#include "check/report.h"

namespace orvanta {

class Folder;

// The report as one JSON document: every finding with its file, 1-based line and byte
// columns (end exclusive), severity, code, message and fix, and the counts.
std::string checkReportJson(const check::CheckReport& report);

// The report on the configuration chain of `folder` from config.txt, as above, naming the
// files as `shownFolder` joined with their names ("." shows bare names).
std::string chainReportJson(Folder& folder, const std::string& shownFolder);

} // namespace orvanta
