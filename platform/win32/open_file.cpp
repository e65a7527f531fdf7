#include "platform/open_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/win32/utf16.h"

namespace orvanta {

std::FILE* openFile(const std::string& path, const char* mode) {
    // The narrow fopen reads the name in the system's code page; the wide one takes every
    // name Windows can hold.
    const std::wstring name = utf16FromUtf8(path);
    if (name.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(name.c_str(), utf16FromUtf8(mode).c_str());
}

int createFileDescriptor(const std::string& path) {
    const std::wstring name = utf16FromUtf8(path);
    if (name.empty()) {
        errno = ENOENT;
        return -1;
    }
    return _wopen(name.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_NOINHERIT | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
}

} // namespace orvanta
