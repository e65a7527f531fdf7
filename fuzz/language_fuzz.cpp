// Fuzzes the language service on a document held in memory: every question, at positions
// on the document's first lines, and the promise that each finding's range lies inside
// its line. The design questions promise that every box holds its parts, and that a move
// changes its objects' places by exactly the distance and leaves every other line's bytes
// as they were, and that writing a field changes its line alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/geometry.h"

#include "fuzz/scratch_folder.h"
#include "language/line_view.h"
#include "language/overlay_folder.h"
#include "language/service.h"

namespace {

using namespace orvanta;

void checkMove(language::Workspace& workspace, const std::string& text,
               const std::vector<std::string_view>& lines, int32_t line, int32_t dx, int32_t dy) {
    const language::DesignEdit edit = workspace.move("config.txt", {line}, dx, dy);
    if (!edit.done()) return;
    const std::string after = language::applyEdits(text, edit.edits);
    const std::vector<std::string_view> moved = language::splitLines(after);
    if (moved.size() != lines.size()) __builtin_trap();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int32_t>(i) == line) continue;
        if (moved[i] != lines[i]) __builtin_trap();
    }
    const language::LineView was(lines[static_cast<std::size_t>(line)]);
    const language::LineView now(moved[static_cast<std::size_t>(line)]);
    const GeometrySpec* g = geometryOf(*was.spec());
    if (now.spec() != was.spec()) __builtin_trap();
    if (g->xField == 0) return;
    if (int64_t{now.fields().number(g->xField)} != int64_t{was.fields().number(g->xField)} + dx ||
        int64_t{now.fields().number(g->yField)} != int64_t{was.fields().number(g->yField)} + dy)
        __builtin_trap();
}

// Writing a number into a field changes that line alone, and the field then reads it.
void checkSetField(language::Workspace& workspace, const std::string& text,
                   const std::vector<std::string_view>& lines, int32_t line) {
    for (const language::DesignField& f : workspace.fields("config.txt", line).fields) {
        if (f.kind != "number") continue;
        const language::DesignEdit edit = workspace.setField("config.txt", line, f.field, "-42");
        if (!edit.done()) __builtin_trap();
        const std::string after = language::applyEdits(text, edit.edits);
        const std::vector<std::string_view> now = language::splitLines(after);
        if (now.size() != lines.size()) __builtin_trap();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (static_cast<int32_t>(i) != line && now[i] != lines[i]) __builtin_trap();
        if (language::LineView(now[static_cast<std::size_t>(line)]).fields().number(f.field) != -42)
            __builtin_trap();
    }
    workspace.setColour("config.txt", line, language::ColourCommand::SetColor, 2016);
    workspace.setColour("config.txt", line, language::ColourCommand::SetBGColor, 65535);
}

void checkDesign(language::Workspace& workspace, const std::string& text,
                 const std::vector<std::string_view>& lines) {
    const std::vector<language::DesignObject> objects = workspace.objects("config.txt");
    for (const language::DesignObject& o : objects)
        for (const PanelRect& part : o.box.parts)
            if (!part.empty() &&
                (part.left < o.box.bounds.left || part.top < o.box.bounds.top ||
                 part.right > o.box.bounds.right || part.bottom > o.box.bounds.bottom))
                __builtin_trap();
    for (std::size_t k = 0; k < objects.size() && k < 3; ++k) {
        const int32_t line = objects[k].line;
        checkMove(workspace, text, lines, line, 7, -3);
        checkMove(workspace, text, lines, line, INT32_MIN, INT32_MAX);
        checkSetField(workspace, text, lines, line);
        for (const std::string& handle : objects[k].handles)
            workspace.resize("config.txt", line, handle, -9, 17);
        const language::DesignEdit removed = workspace.remove("config.txt", {line});
        const language::DesignEdit copied = workspace.duplicate("config.txt", {line});
        for (const language::DesignEdit* edit : {&removed, &copied}) {
            if (!edit->done()) continue;
            const std::string after = language::applyEdits(text, edit->edits);
            const std::vector<std::string_view> now = language::splitLines(after);
            for (std::size_t i = 0; i < edit->lineMap.size(); ++i) {
                const int32_t to = edit->lineMap[i];
                if (to < 0) continue;
                // An empty last line without a line end, as "\nLED" keeps after its last
                // line goes, is a line to an editor but none to splitLines.
                const auto at = static_cast<std::size_t>(to);
                const bool emptyLast = at == now.size() && lines[i].empty();
                if (!emptyLast && (at >= now.size() || now[at] != lines[i])) __builtin_trap();
            }
        }
    }
    workspace.insert("config.txt", "Kompass", 3, 125);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static language::OverlayFolder folder;
    static const bool prepared = [] {
        folder.put("p.bmp", fuzz::gradientBmp(16, 16));
        folder.put("next.txt", "Radar;64;64;100\nimage;p.bmp\nLoadConfig;config.txt;0\n");
        return true;
    }();
    (void)prepared;
    const std::string text(reinterpret_cast<const char*>(data), size);
    language::Workspace workspace(folder);
    workspace.setText("config.txt", text);

    const std::vector<std::string_view> lines = language::splitLines(text);
    for (const language::Diagnostic& d : workspace.diagnostics("config.txt")) {
        const std::size_t line = static_cast<std::size_t>(d.range.start.line);
        const std::size_t length = line < lines.size() ? lines[line].size() : 0;
        if (d.range.start.line != d.range.end.line || d.range.start.column < 0 ||
            d.range.start.column > d.range.end.column ||
            static_cast<std::size_t>(d.range.end.column) > length)
            __builtin_trap();
    }
    workspace.symbols("config.txt");
    workspace.colours("config.txt");
    for (int32_t line = 0; line < 8 && static_cast<std::size_t>(line) <= lines.size(); ++line)
        for (int32_t column : {0, 1, 5, 6, 11, 12, 40}) {
            workspace.hover("config.txt", {line, column});
            workspace.completions("config.txt", {line, column});
            workspace.definition("config.txt", {line, column});
        }
    checkDesign(workspace, text, lines);
    return 0;
}
