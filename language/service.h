#pragma once
// The language service: what an editor asks about a configuration file, answered from the
// checker and the keyword table. It knows no protocol. Positions are 0-based lines, counted
// as the checker counts them (CR LF is one line end), and 0-based byte columns, end
// exclusive; the protocol edge converts columns to whatever its client counts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {
class Folder;
}

namespace orvanta::language {

struct Position {
    int32_t line = 0;
    int32_t column = 0; // byte offset in the line
    friend bool operator==(const Position&, const Position&) = default;
};

struct Range {
    Position start;
    Position end;
    friend bool operator==(const Range&, const Range&) = default;
};

enum class Severity { Error, Warning, Note };

// A plain replacement that mends a finding: `newText` replaces `range` in the same file.
struct Fix {
    std::string title;
    Range range;
    std::string newText;
};

struct Diagnostic {
    Range range;
    Severity severity = Severity::Error;
    std::string code; // stable, for example "unknown-keyword"; listed in the configuration guide
    std::string message;
    std::optional<Fix> fix;
};

struct Hover {
    Range range;
    std::string markdown;
};

enum class CompletionKind { Keyword, File };

struct Completion {
    std::string label;
    CompletionKind kind = CompletionKind::Keyword;
    std::string detail;
    std::string documentation; // markdown
    std::string snippet;       // with ${1:name} placeholders
    std::string plainText;     // for clients without snippet support
    Range replace;             // what the completion replaces
};

// One colour field: its range and the colour the device shows for it.
struct ColourField {
    Range range;
    int32_t rgb565 = 0;                  // the low 16 bits of the field's value
    double red = 0, green = 0, blue = 0; // 0..1, the device's own expansion
};

struct Symbol {
    std::string name;   // the keyword
    std::string detail; // for example "line 4: x 10, y 20"
    Range range;        // the whole line
    Range selection;    // the keyword
};

// A file of the folder that a position names.
struct Definition {
    std::string fileName;
    Range origin; // the name's range in the document
};

// A card folder with the unsaved texts of open documents standing in for its files.
class Workspace {
  public:
    explicit Workspace(Folder& folder);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The text an editor holds for `name`; it replaces the file's bytes for every question,
    // including those about other files that chain to it or draw it.
    void setText(const std::string& name, std::string text);
    void forget(const std::string& name);

    std::vector<Diagnostic> diagnostics(const std::string& name);
    std::optional<Hover> hover(const std::string& name, Position at);
    std::vector<Completion> completions(const std::string& name, Position at);
    std::vector<ColourField> colours(const std::string& name);
    std::vector<Symbol> symbols(const std::string& name);
    std::optional<Definition> definition(const std::string& name, Position at);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The RGB565 number for a picked colour (channels 0..1): each channel is read as
// round(x * 255), then the field value whose expansion by the device is nearest is taken,
// ties going to the lower value.
int32_t rgb565ForPick(double red, double green, double blue);

} // namespace orvanta::language
