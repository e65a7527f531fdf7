#pragma once
// file: URIs and the folder and file name they stand for. A document's card folder is the
// folder that holds it.
#include <optional>
#include <string>

namespace orvanta::cli::lsp {

struct FileLocation {
    std::string folder; // without a trailing separator, "/" for the root
    std::string name;   // the file's name within the folder
};

// The folder and name of a file: URI, percent escapes decoded; nothing for other schemes,
// for a URI that ends in a separator and for one whose path holds a zero byte. On Windows a
// drive letter's path ("/C:/cards") loses its leading slash.
std::optional<FileLocation> locateFileUri(const std::string& uri);

// The file: URI of `name` in `folder`, with every byte outside the unreserved set and '/'
// percent-escaped.
std::string fileUri(const std::string& folder, const std::string& name);

} // namespace orvanta::cli::lsp
