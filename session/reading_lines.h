#pragma once
// The objects a configuration file makes, found by loading it as the device does on a
// device of its own: which line made each, its keyword and the range of its reading.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/runtime/reading.h"

namespace orvanta {

class Folder;

struct LineObject {
    int32_t line = 0;
    std::string keyword;
    ReadingRange range;
};

struct FileObjects {
    int32_t lines = 0;               // the lines the loader counted
    std::vector<LineObject> objects; // in the order the device keeps them
};

// The objects of `file`, or nothing when the folder has no such file.
std::optional<FileObjects> objectsOfFile(Folder& folder, const std::string& file);

} // namespace orvanta
