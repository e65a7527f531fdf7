#pragma once
// The subcommands of orvanta-cli. Each registers itself on the application and, when it
// runs, stores its exit status in `exitCode`: 0 success, 1 a failure of the command's
// own work, 2 a usage problem.
namespace CLI {
class App;
}

namespace orvanta::cli {

void addRenderCommand(CLI::App& app, int& exitCode);
void addCheckCommand(CLI::App& app, int& exitCode);
void addPictureCommand(CLI::App& app, int& exitCode);
void addLspCommand(CLI::App& app, int& exitCode);

} // namespace orvanta::cli
