#pragma once
// The configuration checker: reads configuration files with the device's own line reader,
// field splitter, keyword table and picture header walk, and explains every line that the
// device ignores or carries out differently from what it most likely says.
#include <string>
#include <vector>

#include "check/report.h"

namespace orvanta {
class Folder;
}

namespace orvanta::check {

// Checks the configuration chain of `folder`, as checkFolder does, naming the files as
// `shownFolder` joined with their names.
CheckReport checkChain(Folder& folder, const std::string& shownFolder);

// Checks the configuration file `name` of `folder` on its own, without following its
// successor; diagnostics name the file `shownName`.
CheckReport checkFile(Folder& folder, const std::string& name, const std::string& shownName);

// Checks a configuration folder as the device would load it: "config.txt" first, then
// every successor that a "LoadConfig" line schedules, each file once. File names in the
// diagnostics are shown relative to `folder` as given ("." shows bare names).
CheckReport checkFolder(const std::string& folder);

// Checks the named files one by one without following their successors. Pictures and
// successors are looked up in the folder of the file that names them.
CheckReport checkFiles(const std::vector<std::string>& paths);

} // namespace orvanta::check
