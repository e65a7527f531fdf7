#include "session/window_options.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

#include "orvanta_version.h"
#include "platform/utf8_path.h"

namespace orvanta {

std::optional<WindowOptions> parseWindowOptions(int argc, const char* const* argv, int* exitCode) {
    WindowOptions options;
    CLI::App app{"Orvanta: shows a cockpit display's configuration folder in a window, as the "
                 "device shows its memory card, and loads every file again as it is saved",
                 "orvanta"};
    app.set_version_flag("--version", "orvanta " ORVANTA_VERSION);
    // Options start with '-' on every system, so a folder may start with '/' on Windows too.
    app.allow_windows_style_options(false);
    app.add_option("FOLDER", options.folder,
                   "The configuration folder; the first frame loads config.txt from it "
                   "(default: the working folder)");
    app.add_option("--trace", options.trace,
                   "Write the diagnostic trace to FILE, or to standard error with '-' "
                   "(default: no trace; on Windows, the debugger output)")
        ->option_text("FILE")
        ->envname("ORVANTA_TRACE");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            *exitCode = app.exit(e); // --help or --version
            return std::nullopt;
        }
        std::fprintf(stderr, "orvanta: error: %s (see 'orvanta --help')\n", e.what());
        *exitCode = 2;
        return std::nullopt;
    }
    if (!options.folder.empty()) {
        std::error_code ec;
        const char* problem = nullptr;
        const std::filesystem::path folder = utf8Path(options.folder);
        if (!std::filesystem::exists(folder, ec))
            problem = "does not exist";
        else if (!std::filesystem::is_directory(folder, ec))
            problem = "is not a folder";
        else if (std::filesystem::directory_iterator(folder, ec); ec)
            problem = "cannot be read";
        if (problem != nullptr) {
            std::fprintf(stderr, "orvanta: error: '%s' %s\n", options.folder.c_str(), problem);
            *exitCode = 2;
            return std::nullopt;
        }
    }
    *exitCode = 0;
    return options;
}

} // namespace orvanta
