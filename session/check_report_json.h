#pragma once
#include <string>

#include "check/report.h"

namespace orvanta {

// The report as one JSON document: every finding with its file, 1-based line and byte
// columns (end exclusive), severity, code, message and fix, and the counts.
std::string checkReportJson(const check::CheckReport& report);

} // namespace orvanta
