#include "session/designer_page.h"

#include <filesystem>
#include <system_error>

#include "platform/browser.h"

namespace orvanta {

namespace {

std::filesystem::path fromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string toUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

std::vector<std::string> designerPagePlaces(const std::string& programFolder,
                                            const std::string& installedPage) {
    std::vector<std::string> places;
    if (!programFolder.empty()) {
        const std::filesystem::path folder = fromUtf8(programFolder);
        for (const std::filesystem::path& relative :
             {std::filesystem::path("designer/index.html"),
              std::filesystem::path("../share/orvanta/web/index.html"),
              std::filesystem::path("../web/site/index.html")})
            places.push_back(toUtf8((folder / relative).lexically_normal().make_preferred()));
    }
    if (!installedPage.empty()) places.push_back(installedPage);
    return places;
}

std::optional<std::string> findDesignerPage(const std::string& programFolder,
                                            const std::string& installedPage) {
    for (const std::string& place : designerPagePlaces(programFolder, installedPage)) {
        std::error_code error;
        if (std::filesystem::is_regular_file(fromUtf8(place), error)) return place;
    }
    return std::nullopt;
}

std::string openDesignerPage() {
    const std::string folder = programFolder();
    const std::optional<std::string> page = findDesignerPage(folder);
    if (!page) {
        std::string message = "The designer page is not installed here. It was looked for at:";
        for (const std::string& place : designerPagePlaces(folder, kInstalledDesignerPage))
            message += "\n" + place;
        return message;
    }
    std::string error;
    if (!openInBrowser(*page, &error))
        return "The designer page " + *page + " could not be opened: " + error + ".";
    return {};
}

} // namespace orvanta
