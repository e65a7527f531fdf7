#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Orvanta command-line tool: render and check cockpit display configurations",
                 "orvanta-cli"};
    app.set_version_flag("--version", "orvanta-cli 1.0.0");
    app.require_subcommand(1);
    int exitCode = 0;
    orvanta::cli::addRenderCommand(app, exitCode);
    orvanta::cli::addCheckCommand(app, exitCode);
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
