#pragma once
// The window program's command line: "orvanta [--trace FILE] [FOLDER]", with --help and
// --version.
#include <optional>
#include <string>

namespace orvanta {

struct WindowOptions {
    std::string folder; // empty: the working folder, as the device reads its card
    // Where the trace goes: a file, "-" for standard error, or empty for the program's
    // default. The environment variable ORVANTA_TRACE gives it when the option does not.
    std::string trace;
};

// Parses the arguments. On --help, --version or a mistake it prints what it has to say
// (help and version to standard output, a mistake as one line on standard error) and
// returns nothing, with the exit status in `exitCode`: 0 after help or version, 2 for a
// wrong command line or a folder that does not exist or cannot be read.
std::optional<WindowOptions> parseWindowOptions(int argc, const char* const* argv, int* exitCode);

} // namespace orvanta
