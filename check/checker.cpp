#include "check/checker.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "check/file_checker.h"
#include "check/words.h"
#include "core/storage/storage.h"
#include "platform/disk_folder.h"

namespace orvanta::check {

namespace {

constexpr const char* kFirstFile = "config.txt";

std::string joinShown(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == "." || folder == "./") return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// Checks one file; `shownName` is how diagnostics name it. Returns the successor.
std::optional<std::string> checkOneFile(const fs::path& path, const std::string& shownName,
                                        CheckReport& report) {
    std::error_code ec;
    DiskFolder folder(path.parent_path().string());
    Storage storage(folder);
    if (!existsExactly(path) || !fs::is_regular_file(path, ec) ||
        storageOpen(storage, path.filename().string().c_str()) != 0) {
        report.diagnostics.push_back(
            {shownName, 0, Severity::Error,
             existsExactly(path) ? "cannot be read as a file"
                                 : "not found — the device finds nothing to show and tries "
                                   "again every 21 seconds"});
        return std::nullopt;
    }
    ++report.files;
    std::vector<Diagnostic> found;
    FileChecker checker(path.parent_path(), shownName, found);
    std::optional<std::string> next = checker.check(storage);
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    report.diagnostics.insert(report.diagnostics.end(), found.begin(), found.end());
    return next;
}

} // namespace

CheckReport checkFolder(const std::string& folder) {
    CheckReport report;
    std::set<std::string> visited;
    std::optional<std::string> name = kFirstFile;
    while (name && visited.insert(*name).second)
        name = checkOneFile(fs::path(folder) / *name, joinShown(folder, *name), report);
    return report;
}

CheckReport checkFiles(const std::vector<std::string>& paths) {
    CheckReport report;
    for (const std::string& path : paths) checkOneFile(fs::path(path), path, report);
    return report;
}

} // namespace orvanta::check
