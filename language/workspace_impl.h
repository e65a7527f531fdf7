#pragma once
// What the workspace's questions share: the folder with the open texts over it, and the
// lines of a document.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/line_view.h"
#include "language/overlay_folder.h"
#include "language/service.h"

namespace orvanta {
struct FieldSpec;
}

namespace orvanta::language {

struct Workspace::Impl {
    explicit Impl(Folder& folder) : files(&folder) {}
    OverlayFolder files;

    // The line `at` names in document `name`, with its text kept alive in `bytes`; a
    // position just past the last line is an empty line. Nothing for any other position.
    std::optional<LineView> lineAt(const std::string& name, Position at, std::string& bytes);
};

Range lineRange(int32_t line, check::Span span);

// " (pixels)", what the field's number counts, or nothing for a field without a unit.
std::string unitNote(const FieldSpec& field);
// What a field of a keyword line means, for hover and completion alike: "`name`: meaning".
std::string fieldList(const KeywordSpec& spec);
// "Tacho;left;top;width;height;interval", the line a keyword takes.
std::string lineTemplate(const KeywordSpec& spec);

} // namespace orvanta::language
