#include "platform/browser.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace orvanta {

bool openInBrowser(const std::string& path, std::string* error) {
    std::string program = "xdg-open";
    std::string argument = path;
    std::array<char*, 3> argv{program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv.data(), environ);
    if (failed != 0) {
        if (error) *error = std::string("xdg-open could not be started: ") + std::strerror(failed);
        return false;
    }
    // xdg-open may stay until the browser it started ends; it is waited for aside, so that
    // the window goes on and no finished child is left behind.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

std::string programFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

} // namespace orvanta
