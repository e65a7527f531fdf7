#pragma once
// The checker's findings on the file a load tried, as the window lists them.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

class Folder;

struct Findings {
    std::string file;              // the file checked; empty before the first load
    std::vector<std::string> rows; // "file:line: severity: message", in line order
    int32_t errors = 0;
    int32_t warnings = 0;
};

// Checks `name` in `folder` on its own, with the same code as "orvanta-cli check".
Findings checkLoadedFile(Folder& folder, const std::string& name);

// A short sign for the menu bar: "" without findings, else "2 errors, 1 warning" and the
// like.
std::string findingsSign(const Findings& findings);

// What a findings list shows: the rows, or one row that says there are none; and its
// title, which names the file and carries the sign.
std::vector<std::string> findingsListRows(const Findings& findings);
std::string findingsListTitle(const Findings& findings);

} // namespace orvanta
