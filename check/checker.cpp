#include "check/checker.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "check/file_checker.h"
#include "check/words.h"
#include "core/storage/storage.h"
#include "platform/disk_folder.h"
#include "platform/utf8_path.h"

namespace orvanta::check {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFirstFile = "config.txt";

std::string joinShown(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == "." || folder == "./") return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// Checks one file; `shownName` is how diagnostics name it. Returns the successor.
std::optional<std::string> checkOneFile(Folder& folder, const std::string& name,
                                        const std::string& shownName, CheckReport& report) {
    Storage storage(folder);
    const bool exists = existsExactly(folder, name);
    if (!exists || storageOpen(storage, name.c_str()) != 0) {
        Diagnostic d;
        d.file = shownName;
        d.code = exists ? "file-unreadable" : "file-not-found";
        d.message = exists ? "cannot be read as a file"
                           : "not found — the device finds nothing to show and tries again "
                             "every 21 seconds";
        report.diagnostics.push_back(std::move(d));
        return std::nullopt;
    }
    ++report.files;
    std::vector<Diagnostic> found;
    FileChecker checker(folder, shownName, found);
    std::optional<std::string> next = checker.check(storage);
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    report.diagnostics.insert(report.diagnostics.end(), found.begin(), found.end());
    return next;
}

} // namespace

CheckReport checkChain(Folder& folder, const std::string& shownFolder) {
    CheckReport report;
    std::set<std::string> visited;
    std::optional<std::string> name = kFirstFile;
    while (name && visited.insert(*name).second)
        name = checkOneFile(folder, *name, joinShown(shownFolder, *name), report);
    return report;
}

CheckReport checkFile(Folder& folder, const std::string& name, const std::string& shownName) {
    CheckReport report;
    checkOneFile(folder, name, shownName, report);
    return report;
}

CheckReport checkFolder(const std::string& folder) {
    DiskFolder disk(folder);
    return checkChain(disk, folder);
}

CheckReport checkFiles(const std::vector<std::string>& paths) {
    CheckReport report;
    for (const std::string& path : paths) {
        const fs::path p = utf8Path(path);
        DiskFolder disk(utf8String(p.parent_path()));
        checkOneFile(disk, utf8String(p.filename()), path, report);
    }
    return report;
}

} // namespace orvanta::check
