// Fuzzes the language service on a document held in memory: every question, at positions
// on the document's first lines, and the promise that each finding's range lies inside
// its line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/scratch_folder.h"
#include "language/line_view.h"
#include "language/overlay_folder.h"
#include "language/service.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta;
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
    return 0;
}
