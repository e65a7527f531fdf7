#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/lsp/stdio_loop.h"

namespace orvanta::cli {

void addLspCommand(CLI::App& app, int& exitCode) {
    CLI::App* lsp = app.add_subcommand(
        "lsp", "Serve editors over the Language Server Protocol on standard input and output");
    lsp->callback([&exitCode]() { exitCode = lsp::runOnStandardStreams(); });
}

} // namespace orvanta::cli
