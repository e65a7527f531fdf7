#pragma once
// Where the page (the designer in the browser) is, for the windows' Help menu. Paths are
// UTF-8.
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

// The page as the .deb installs it.
inline constexpr const char* kInstalledDesignerPage = "/usr/share/orvanta/web/index.html";

// The places the page may be, in the order they are tried, for a program in
// `programFolder`: designer/index.html beside it (the Windows zip), share/orvanta/web one
// level up (an installed prefix such as /usr or /usr/local), web/site one level up (a
// build tree, whose build/web/site sits beside build/release), and `installedPage`.
std::vector<std::string> designerPagePlaces(const std::string& programFolder,
                                            const std::string& installedPage);

// The first of those places that holds a file, as a normalised path with the system's
// separators; none when the page is nowhere.
std::optional<std::string>
findDesignerPage(const std::string& programFolder,
                 const std::string& installedPage = kInstalledDesignerPage);

// The Help menu's "Open the Designer in the Browser": finds the page for the running program
// and hands it to the default browser. Returns what the window must say in a message box
// when that fails (no page found, naming where it was looked for, or no browser started);
// empty when the page went to the browser.
std::string openDesignerPage();

} // namespace orvanta
