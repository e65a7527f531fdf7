#include "platform/disk_folder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta {

namespace {

class DiskFile final : public File {
  public:
    explicit DiskFile(int fd) : fd_(fd) {}
    ~DiskFile() override { ::close(fd_); }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::size_t readAt(void* buffer, std::size_t n, int64_t offset) override {
        std::size_t done = 0;
        while (done < n) {
            const ssize_t got = ::pread(fd_, static_cast<unsigned char*>(buffer) + done, n - done,
                                        static_cast<off_t>(offset + static_cast<int64_t>(done)));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    int64_t size() override {
        struct stat info {};
        return ::fstat(fd_, &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
    }

  private:
    int fd_;
};

} // namespace

std::unique_ptr<File> DiskFolder::open(const char* name) {
    const std::string path = path_.empty() ? std::string(name) : path_ + "/" + name;
    // Non-blocking so that opening a FIFO returns at once; anything but a regular file is
    // then turned away, since a directory or a device has no bytes to read as a file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<DiskFile>(fd);
}

std::vector<std::string> DiskFolder::list(const std::string& sub) {
    std::string path = path_.empty() ? std::string(".") : path_;
    if (!sub.empty()) path += "/" + sub;
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

} // namespace orvanta
