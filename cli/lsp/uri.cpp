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

bool isDriveLetterPath(const std::string& path) {
    return path.size() >= 3 && path[0] == '/' &&
           std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':' &&
           (path.size() == 3 || path[3] == '/');
}

std::string decoded(const std::string& uri, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < uri.size(); ++i) {
        if (uri[i] == '?' || uri[i] == '#') break;
        if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 &&
            hexValue(uri[i + 2]) >= 0) {
            text += static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
            i += 2;
        } else {
            text += uri[i];
        }
    }
    return text;
}

// The Windows reading of a decoded path: clients differ in the drive letter's case ("c:"
// from VS Code, "C:" from others), and one document must not become two card folders.
void makeWindowsPath(std::string& path, const std::string& authority) {
    for (char& c : path)
        if (c == '\\') c = '/';
    if (isDriveLetterPath(path)) {
        path.erase(0, 1);
        path[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    } else if (!authority.empty() && authority != "localhost") {
        path = "//" + authority + path;
    }
}

} // namespace

std::optional<FileLocation> locateFileUri(const std::string& uri, PathStyle style) {
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size()) return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(uri[i])) != scheme[i]) return std::nullopt;
    // The authority, usually empty, ends where the path begins.
    const std::size_t slash = uri.find('/', scheme.size());
    if (slash == std::string::npos) return std::nullopt;
    std::string path = decoded(uri, slash);
    if (style == PathStyle::Windows)
        makeWindowsPath(path, decoded(uri.substr(0, slash), scheme.size()));
    if (path.find('\0') != std::string::npos) return std::nullopt;
    const std::size_t last = path.rfind('/');
    if (last == std::string::npos || last + 1 == path.size()) return std::nullopt;
    FileLocation location{path.substr(0, last), path.substr(last + 1)};
    // One character appended, not a literal assigned: GCC 12 at -O3 warns falsely
    // (-Wrestrict) about assigning a literal to a string here.
    if (location.folder.empty()) location.folder.push_back('/');
    if (style == PathStyle::Windows && location.folder.size() == 2 && location.folder[1] == ':')
        location.folder += '/';
    return location;
}

std::string fileUri(const std::string& folder, const std::string& name, PathStyle style) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    // A network folder's server is the authority; a drive letter's path gains its slash.
    const bool network =
        style == PathStyle::Windows && path.size() > 2 && path[0] == '/' && path[1] == '/';
    if (network)
        path.erase(0, 2);
    else if (path[0] != '/')
        path.insert(path.begin(), '/');
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
