#pragma once
// Opening a file in the user's default web browser, as the windows' Help menu opens the
// page. Paths are UTF-8.
#include <string>

namespace orvanta {

// Hands `path` to the system's opener (xdg-open on Linux, the shell on Windows) without a
// command line in between, so that no character of the path is ever interpreted. Returns
// false with one sentence in `error` when the opener could not be started.
bool openInBrowser(const std::string& path, std::string* error);

// The folder that holds the running program, in UTF-8; empty when the system does not say.
std::string programFolder();

} // namespace orvanta
