#pragma once
#include <filesystem>
#include <string>

#include "check/report.h"

namespace orvanta::check {

struct PictureVerdict {
    Severity severity = Severity::Note;
    std::string problem; // empty when the picture draws completely
};

// Walks the header of picture `name` in `dir` with the picture loader's own walk, to say
// why it does not show or which part of it does.
PictureVerdict checkPictureFile(const std::filesystem::path& dir, const std::string& name);

} // namespace orvanta::check
