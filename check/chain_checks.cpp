#include <string>

#include "check/file_checker.h"
#include "check/words.h"
#include "core/config/config_state.h"
#include "core/config/loader.h"
#include "core/storage/folder.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

void FileChecker::checkLoadConfig(int32_t line, const FieldTable& fields) {
    const std::string full = fields.field(1);
    char kept[kConfigNameSize];
    copyConfigName(kept, full.c_str());
    const Span name = field(fields, 1);
    if (full.size() >= kConfigNameSize)
        emit(line, name, Severity::Warning, "file-name-cut",
             "the file name " + inQuotes(full) + " has " + std::to_string(full.size()) +
                 " characters — the device keeps only the first 19: " + inQuotes(kept));
    checkNameEncoding(line, name, full);
    loadConfigs_.push_back(
        {line, kept, fields.number(2), field(fields, 0), name, field(fields, 2)});
}

std::optional<std::string> FileChecker::followChain() {
    if (loadConfigs_.empty()) return std::nullopt;
    for (std::size_t i = 0; i + 1 < loadConfigs_.size(); ++i)
        emit(loadConfigs_[i].line, loadConfigs_[i].keyword, Severity::Warning,
             "load-config-overridden",
             "overridden by the 'LoadConfig' line " + std::to_string(loadConfigs_.back().line) +
                 " — only the last 'LoadConfig' line of a file counts");
    const LoadConfigLine& last = loadConfigs_.back();
    if (last.seconds < 0 || last.seconds >= kNeverDueSeconds) {
        emit(last.line, last.secondsField, Severity::Warning, "chain-stops",
             "a delay of " + std::to_string(last.seconds) +
                 " seconds is never reached, so the chain stops here and " + inQuotes(last.name) +
                 " is never loaded; use 0 to 4294966");
        return std::nullopt;
    }
    if (last.name.empty()) {
        emit(last.line, last.nameField, Severity::Error, "missing-file-name",
             "no file name — the next load finds no file, so the device keeps this screen and "
             "tries again every 21 seconds");
        return std::nullopt;
    }
    successorNamed_ = last.name;
    const bool exists = existsExactly(folder_, last.name);
    if (!exists || folder_.open(last.name.c_str()) == nullptr) {
        std::string meant;
        const std::string hint =
            exists ? std::string() : missingFileHint(folder_, last.name, &meant);
        std::optional<Fix> fix;
        if (!meant.empty())
            fix = Fix{replaceTitle(meant), last.nameField.begin, last.nameField.end, meant};
        emit(last.line, last.nameField, Severity::Error,
             exists ? "successor-not-a-file" : "successor-not-found",
             "the next configuration file " + inQuotes(last.name) +
                 (exists ? " is not a file" : " does not exist") +
                 " — the device keeps this screen and tries again every 21 seconds" + hint,
             std::move(fix));
        return std::nullopt;
    }
    return last.name;
}

} // namespace orvanta::check
