// The folders are layers: each includes only from itself and the layers below it, and the
// core includes nothing but the C++ standard library besides itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "tests/support.h"

namespace orvanta::test {
namespace {

namespace fs = std::filesystem;

// The core's folders bottom up; a core file may include from its own folder and those
// before it.
const std::vector<std::string> kCoreOrder = {"trace",  "display",     "runtime", "storage",
                                             "syntax", "instruments", "config",  "device"};

// What each layer above the core may include, besides itself and the core.
const std::map<std::string, std::set<std::string>> kUpperLayers = {
    {"platform", {}},
    {"session", {"check", "platform", "media", "language"}},
    {"check", {"platform"}},
    {"language", {"check", "platform"}},
    {"media", {"platform"}}, // files opened by their UTF-8 name
    {"cli", {"session", "check", "media", "platform", "language"}},
    {"host",
     {"session", "platform", "media", "language"}}, // media: the icon file written at build time
};

// The standard headers the core may use: no platform, window-system or library headers.
bool isStandardHeader(const std::string& name) {
    static const std::regex standard(
        "c(stdint|stddef|string|stdio|stdlib|math|limits|climits|cerrno|assert)|"
        "algorithm|array|cmath|cstring|iterator|limits|memory|new|optional|string|"
        "string_view|type_traits|utility|vector");
    return std::regex_match(name, standard);
}

// Every #include of every source file under `folder`: (file, included name, quoted?).
struct Include {
    std::string file, name;
    bool quoted;
};
std::vector<Include> includesUnder(const std::string& folder) {
    std::vector<Include> found;
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    for (const auto& entry : fs::recursive_directory_iterator(sourcePath(folder))) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        std::ifstream in(entry.path());
        for (std::string text; std::getline(in, text);) {
            std::smatch m;
            if (std::regex_search(text, m, line))
                found.push_back({fs::relative(entry.path(), sourcePath("")).generic_string(), m[2],
                                 m[1] == "\""});
        }
    }
    return found;
}

std::string topFolder(const std::string& path, int depth) {
    std::string rest = path;
    std::string folder;
    for (int i = 0; i <= depth; ++i) {
        const auto slash = rest.find('/');
        folder = rest.substr(0, slash);
        rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
    }
    return folder;
}

TEST(Layers, TheCoreIncludesOnlyItselfBelowAndTheStandardLibrary) {
    const auto rank = [](const std::string& folder) {
        return std::find(kCoreOrder.begin(), kCoreOrder.end(), folder) - kCoreOrder.begin();
    };
    for (const Include& inc : includesUnder("core")) {
        SCOPED_TRACE(inc.file + " includes " + inc.name);
        if (!inc.quoted) {
            EXPECT_TRUE(isStandardHeader(inc.name));
            continue;
        }
        ASSERT_EQ(topFolder(inc.name, 0), "core");
        const auto from = rank(topFolder(inc.file, 1)), to = rank(topFolder(inc.name, 1));
        ASSERT_LT(from, static_cast<long>(kCoreOrder.size())) << "a core folder out of order";
        EXPECT_LE(to, from) << "an include from a layer above";
    }
}

TEST(Layers, UpperLayersIncludeOnlyTheCoreAndTheLayersTheyBuildOn) {
    for (const auto& [layer, allowed] : kUpperLayers)
        for (const Include& inc : includesUnder(layer)) {
            if (!inc.quoted) continue;
            const std::string target = topFolder(inc.name, 0);
            // The version header is written by the build into a folder of its own.
            if (target == "orvanta_version.h") continue;
            EXPECT_TRUE(target == layer || target == "core" || allowed.count(target) != 0)
                << inc.file << " includes " << inc.name;
        }
}

} // namespace
} // namespace orvanta::test
