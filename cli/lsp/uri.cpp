#include "cli/lsp/uri.h"

#include <cctype>

namespace orvanta::cli::lsp {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

#ifdef _WIN32
bool isDriveLetterPath(const std::string& path) {
    return path.size() >= 3 && path[0] == '/' &&
           std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':';
}
#endif

} // namespace

std::optional<FileLocation> locateFileUri(const std::string& uri) {
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size()) return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(uri[i])) != scheme[i]) return std::nullopt;
    // The authority, usually empty, ends where the path begins.
    const std::size_t slash = uri.find('/', scheme.size());
    if (slash == std::string::npos) return std::nullopt;
    std::string path;
    for (std::size_t i = slash; i < uri.size(); ++i) {
        if (uri[i] == '?' || uri[i] == '#') break;
        if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 &&
            hexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
#ifdef _WIN32
    if (isDriveLetterPath(path)) path.erase(0, 1);
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    if (path.find('\0') != std::string::npos) return std::nullopt;
    const std::size_t last = path.rfind('/');
    if (last == std::string::npos || last + 1 == path.size()) return std::nullopt;
    FileLocation location{path.substr(0, last), path.substr(last + 1)};
    // One character appended, not a literal assigned: GCC 12 at -O3 warns falsely
    // (-Wrestrict) about assigning a literal to a string here.
    if (location.folder.empty()) location.folder.push_back('/');
#ifdef _WIN32
    if (location.folder.size() == 2 && location.folder[1] == ':') location.folder += '/';
#endif
    return location;
}

std::string fileUri(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    if (!path.empty() && path[0] != '/') path.insert(path.begin(), '/'); // a drive letter's path
    std::string uri = "file://";
    static const char* const kHex = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~' ||
            c == ':') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

} // namespace orvanta::cli::lsp
