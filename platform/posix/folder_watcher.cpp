#include "platform/folder_watcher.h"

#include <algorithm>
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace orvanta {

FolderWatcher::FolderWatcher(const std::string& folder) {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return;
    // A write in place ends with the file's close; a save by renaming a new file over the
    // old one arrives as a move into the folder.
    if (::inotify_add_watch(fd, folder.empty() ? "." : folder.c_str(),
                            IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        ::close(fd);
        return;
    }
    handle_ = fd;
}

FolderWatcher::~FolderWatcher() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::vector<std::string> FolderWatcher::takeSaved() {
    std::vector<std::string> names;
    if (handle_ < 0) return names;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {
                const std::string name(event->name);
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return names;
}

} // namespace orvanta
