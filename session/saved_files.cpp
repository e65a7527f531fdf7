#include "session/saved_files.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "core/config/config_state.h"
#include "core/config/keywords.h"
#include "core/config/loader.h"
#include "core/storage/storage.h"
#include "core/syntax/fields.h"

namespace orvanta {

namespace {

// Reads `file` with the loader's line reader and calls `line(spec, fields)` for every line
// whose first field is a keyword.
template <class Visit> void visitLines(Folder& folder, const char* file, Visit&& line) {
    Storage storage(folder);
    if (storageOpen(storage, file) != 0) return;
    std::string text;
    int64_t consumed = 0;
    while (readConfigLine(storage, text, consumed) != 0) {
        const FieldTable fields(text.c_str());
        if (!fields.valid()) continue;
        if (const KeywordSpec* spec = findKeyword(fields.field(0))) line(*spec, fields);
    }
}

// The successor the file's last "LoadConfig" line names, as the device keeps it.
std::string successorOf(Folder& folder, const std::string& file) {
    char next[kConfigNameSize] = "";
    bool named = false;
    visitLines(folder, file.c_str(), [&](const KeywordSpec& spec, const FieldTable& fields) {
        if (spec.kind != KeywordKind::NextFile) return;
        copyConfigName(next, fields.field(1));
        named = true;
    });
    return named ? next : "";
}

bool onChain(Folder& folder, const std::string& name) {
    std::set<std::string> visited;
    for (std::string file = "config.txt"; !file.empty() && visited.insert(file).second;
         file = successorOf(folder, file))
        if (file == name) return true;
    return false;
}

bool endsInTxt(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".txt";
}

} // namespace

SavedFile classifySavedFile(Folder& folder, const ConfigState& config, const std::string& name) {
    if (name.empty()) return SavedFile::Unrelated;
    if (name.size() < kConfigNameSize && (endsInTxt(name) || name == config.thisConfigName ||
                                          name == config.nextConfigName || onChain(folder, name)))
        return SavedFile::ConfigFile;
    bool drawn = false;
    visitLines(folder, config.thisConfigName,
               [&](const KeywordSpec& spec, const FieldTable& fields) {
                   drawn = drawn || (spec.kind == KeywordKind::Picture && name == fields.field(1));
               });
    return drawn ? SavedFile::PictureOfThisFile : SavedFile::Unrelated;
}

} // namespace orvanta
