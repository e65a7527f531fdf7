#pragma once
// file: URIs and the folder and file name they stand for. A document's card folder is the
// folder that holds it. Paths are UTF-8, as everywhere in Orvanta.
#include <optional>
#include <string>

namespace orvanta::cli::lsp {

struct FileLocation {
    std::string folder; // without a trailing separator, "/" for the root
    std::string name;   // the file's name within the folder
};

// How a URI's path reads as a path of this system. On Windows "/C:/cards" and VS Code's
// "/c%3A/cards" are the drive's folder "C:/cards", and "file://server/share" is the
// network folder "//server/share".
enum class PathStyle { Posix, Windows };
#ifdef _WIN32
inline constexpr PathStyle kSystemPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kSystemPathStyle = PathStyle::Posix;
#endif

// The folder and name of a file: URI, percent escapes decoded; nothing for other schemes,
// for a URI that ends in a separator and for one whose path holds a zero byte.
std::optional<FileLocation> locateFileUri(const std::string& uri,
                                          PathStyle style = kSystemPathStyle);

// The file: URI of `name` in `folder`, with every byte outside the unreserved set, '/' and
// a drive letter's ':' percent-escaped.
std::string fileUri(const std::string& folder, const std::string& name,
                    PathStyle style = kSystemPathStyle);

} // namespace orvanta::cli::lsp
