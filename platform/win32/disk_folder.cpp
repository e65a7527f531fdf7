#include "platform/disk_folder.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/utf16.h"

namespace orvanta {

namespace {

class DiskFile final : public File {
  public:
    explicit DiskFile(HANDLE handle) : handle_(handle) {}
    ~DiskFile() override { CloseHandle(handle_); }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::size_t readAt(void* buffer, std::size_t n, int64_t offset) override {
        std::size_t done = 0;
        while (done < n) {
            // The position travels with each read, so no shared file pointer is relied on.
            const uint64_t at = static_cast<uint64_t>(offset) + done;
            OVERLAPPED position{};
            position.Offset = static_cast<DWORD>(at);
            position.OffsetHigh = static_cast<DWORD>(at >> 32);
            const std::size_t left = n - done;
            const DWORD ask = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
            DWORD got = 0;
            if (!ReadFile(handle_, static_cast<unsigned char*>(buffer) + done, ask, &got,
                          &position) ||
                got == 0)
                break;
            done += got;
        }
        return done;
    }

    int64_t size() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(handle_, &size) ? static_cast<int64_t>(size.QuadPart) : 0;
    }

  private:
    HANDLE handle_;
};

// Whether `name` names an existing entry of the folder under exactly these bytes. Windows
// finds files regardless of case, drops trailing dots and blanks and knows short 8.3
// aliases; the device's files are named exactly, as on every other system, so each part
// of the name must match the entry's real name, as UTF-8, byte for byte. A part that is not
// UTF-8 converts to replacement characters, which never convert back to the same bytes, so
// it names nothing. Characters that a Windows name cannot hold (the backslash among them)
// name nothing, which also keeps wildcards and alternate data streams out.
bool namesExactly(const std::string& folder, const char* name) {
    if (*name == '\0' || std::strpbrk(name, "\\:*?\"<>|") != nullptr) return false;
    for (const char* c = name; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) < 32) return false;
    std::string prefix = folder.empty() ? std::string() : folder + "/";
    for (const char* part = name; *part != '\0';) {
        const char* end = std::strchr(part, '/');
        const std::string piece(part, end != nullptr ? end : part + std::strlen(part));
        if (!piece.empty() && piece != "." && piece != "..") {
            WIN32_FIND_DATAW found;
            const HANDLE search = FindFirstFileW(utf16FromUtf8(prefix + piece).c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) return false;
            FindClose(search);
            if (piece != utf8FromUtf16(found.cFileName)) return false;
        }
        prefix += piece + "/";
        if (end == nullptr) break;
        part = end + 1;
    }
    return true;
}

} // namespace

std::unique_ptr<File> DiskFolder::open(const char* name) {
    if (!namesExactly(path_, name)) return nullptr;
    const std::string path = path_.empty() ? std::string(name) : path_ + "/" + name;
    // Other programs may read, rewrite or delete the file while it is open, as an editor
    // saving a configuration does.
    const HANDLE handle = CreateFileW(utf16FromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // A folder does not open without a special flag; a device (NUL, CON, a pipe) opens but
    // has no bytes to read as a file.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<DiskFile>(handle);
}

std::vector<std::string> DiskFolder::list(const std::string& sub) {
    std::string pattern = path_.empty() ? std::string(".") : path_;
    if (!sub.empty()) pattern += "/" + sub;
    pattern += "/*";
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(utf16FromUtf8(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = utf8FromUtf16(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace orvanta
