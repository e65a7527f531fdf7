#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "check/checker.h"
#include "cli/commands.h"
#include "platform/utf8_path.h"
#include "session/check_report_json.h"

namespace orvanta::cli {

using namespace orvanta::check;

namespace {

struct CheckOptions {
    std::vector<std::string> paths;
    bool werror = false;
    std::string format = "text";
};

void usageError(const std::string& message, int& exitCode) {
    std::fprintf(stderr, "orvanta-cli check: error: %s\n", message.c_str());
    exitCode = 2;
}

} // namespace

void addCheckCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* check = app.add_subcommand(
        "check", "Report every configuration line the device would ignore or misread");
    check->add_option("DIR|FILE", options->paths,
                      "A configuration folder (checked from config.txt along its chain) or "
                      "configuration files (each on its own); default: the current folder");
    check->add_flag("--werror", options->werror, "Count warnings as errors");
    check
        ->add_option("--format", options->format,
                     "text: one compiler-style line per finding; json: one JSON document")
        ->check(CLI::IsMember({"text", "json"}));
    check->callback([options, &exitCode]() {
        namespace fs = std::filesystem;
        std::vector<std::string> paths = options->paths;
        if (paths.empty()) paths.push_back(".");
        std::error_code ec;
        bool folder = false;
        for (const std::string& path : paths) {
            if (fs::is_directory(utf8Path(path), ec)) {
                folder = true;
            } else if (!fs::exists(utf8Path(path), ec)) {
                usageError("'" + path + "' does not exist", exitCode);
                return;
            }
        }
        if (folder && paths.size() > 1) {
            usageError("give one folder, or one or more files, not both", exitCode);
            return;
        }
        CheckReport report = folder ? checkFolder(paths.front()) : checkFiles(paths);
        if (options->werror) promoteWarnings(report);
        if (options->format == "json") {
            std::printf("%s\n", checkReportJson(report).c_str());
        } else {
            for (const Diagnostic& d : report.diagnostics)
                std::printf("%s\n", formatDiagnostic(d).c_str());
            std::printf("%s\n", formatSummary(report).c_str());
        }
        std::fflush(stdout);
        exitCode = report.count(Severity::Error) > 0 ? 1 : 0;
    });
}

} // namespace orvanta::cli
