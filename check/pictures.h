#pragma once
#include <optional>
#include <string>

#include "check/report.h"
#include "core/config/bmp.h"

namespace orvanta {
class Folder;
}

namespace orvanta::check {

struct PictureVerdict {
    Severity severity = Severity::Note;
    std::string problem; // empty when the picture draws completely
    const char* code = "";
    std::string fix;                 // the existing name meant by a missing one, or empty
    std::optional<BmpHeader> header; // as the picture loader reads it, when the file opens
};

// Walks the header of picture `name` in `folder` with the picture loader's own walk, to
// say why it does not show or which part of it does.
PictureVerdict checkPictureFile(Folder& folder, const std::string& name);

} // namespace orvanta::check
