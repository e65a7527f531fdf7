#include <CLI/CLI.hpp>

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <string>
#include <vector>

#include "platform/win32/utf16.h"
#endif

#include "cli/commands.h"
#include "orvanta_version.h"

namespace {

// The arguments are UTF-8 here, as every path in Orvanta is.
int run(int argc, const char* const* argv) {
#ifdef _WIN32
    // Standard output carries the trace and the reports byte for byte, each line ended by
    // LF alone, as on every other system.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    CLI::App app{"Orvanta command-line tool: render and check cockpit display configurations, and "
                 "convert pictures for them",
                 "orvanta-cli"};
    app.set_version_flag("--version", "orvanta-cli " ORVANTA_VERSION);
    app.set_help_all_flag("--help-all", "Print this help message with every subcommand's options");
    app.require_subcommand(1);
    // Options start with '-' on every system, so a path may start with '/' on Windows too.
    app.allow_windows_style_options(false);
    int exitCode = 0;
    orvanta::cli::addRenderCommand(app, exitCode);
    orvanta::cli::addCheckCommand(app, exitCode);
    orvanta::cli::addPictureCommand(app, exitCode);
    orvanta::cli::addLspCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // Usage problems get one clear line and status 2.
        std::fprintf(stderr, "orvanta-cli: error: %s (see 'orvanta-cli --help')\n", e.what());
        return 2;
    }
    return exitCode;
}

} // namespace

#ifdef _WIN32
// Entered with the arguments as Windows holds them, in UTF-16: the narrow arguments of
// main would have lost every character outside the system's code page.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(orvanta::utf8FromUtf16(wideArgv[i]));
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    return run(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return run(argc, argv);
}
#endif
