#pragma once
// The language service: what an editor asks about a configuration file, answered from the
// checker and the keyword table. It knows no protocol. Positions are 0-based lines, counted
// as the checker counts them (CR LF is one line end), and 0-based byte columns, end
// exclusive; the protocol edge converts columns to whatever its client counts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/geometry.h"

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

// A replacement in a document: `newText` replaces `range`.
struct TextEdit {
    Range range;
    std::string newText;
    friend bool operator==(const TextEdit&, const TextEdit&) = default;
};

// A line that draws: an instrument or a picture, with its box on the panel and what a
// design tool may change on it.
struct DesignObject {
    std::string keyword;
    int32_t line = 0;
    ObjectBox box;
    // False for an instrument line past the tenth, whose object is never created.
    bool live = true;
    bool centred = false;             // placed by its centre, not its top-left corner
    std::vector<int32_t> placeFields; // the fields a move changes; none for a picture
    std::vector<int32_t> sizeFields;  // the fields a resize changes
    std::vector<std::string> handles; // "n", "ne", "e", "se", "s", "sw", "w", "nw"
    std::vector<int32_t> colourLines; // the SetColor and SetBGColor lines acting on it
};

// What a design manipulation does to a document. All ranges are in the text before the
// edit, in order and without overlap, so that an editor applies them as one step.
struct DesignEdit {
    std::string refusal; // why nothing can be done; empty when the edit is made
    std::vector<TextEdit> edits;
    std::vector<int32_t> lineMap;    // for each line before: its line after, or -1 if removed
    std::vector<int32_t> addedLines; // lines after the edit that it added
    // Set when the edit brings an instrument line past the tenth to life or makes colour
    // lines act on another object; the page warns before applying it.
    std::string warning;
    bool done() const { return refusal.empty(); }
};

// What a field of a keyword line holds, for a property panel: its name, unit and meaning
// from the keyword table, the text the line gives it and where. A field the line lacks has
// an empty range at the line's end and `present` false.
struct DesignField {
    int32_t field = 0; // 1 the first after the keyword
    std::string name;
    std::string unit;
    std::string meaning;
    std::string kind; // "number", "colour", "text", "picture" or "config"
    std::string value;
    Range range;
    bool present = false;
};

enum class ColourCommand { SetColor, SetBGColor };

// A colour of an object: the value it shows and the colour line that sets it, -1 for none
// (the instrument's own colour). `fixed` says why a colour line changes nothing on it.
struct DesignColour {
    ColourCommand command = ColourCommand::SetColor;
    int32_t line = -1;
    int32_t rgb565 = 0;
    std::string fixed;
};

struct DesignFields {
    std::string keyword; // empty when the line holds no keyword
    std::vector<DesignField> fields;
    std::vector<DesignColour> colours; // for a live instrument line: colour, then background
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

    // Design on the panel. `lines` name object lines; x, y and dx, dy are panel pixels. A
    // move or resize changes only the sign and digits of the fields it changes.
    std::vector<DesignObject> objects(const std::string& name);
    DesignEdit move(const std::string& name, const std::vector<int32_t>& lines, int32_t dx,
                    int32_t dy);
    DesignEdit resize(const std::string& name, int32_t line, const std::string& handle, int32_t dx,
                      int32_t dy);
    // A new line of `keyword` placed at (x, y), its corner or centre as it is placed, in a
    // default size that fits the panel there. `text` is ToggleText's text or the picture's
    // file name.
    DesignEdit insert(const std::string& name, const std::string& keyword, int32_t x, int32_t y,
                      const std::string& text = {});
    // Each object goes with every colour line acting on it.
    DesignEdit remove(const std::string& name, const std::vector<int32_t>& lines);
    DesignEdit duplicate(const std::string& name, const std::vector<int32_t>& lines, int32_t dx = 4,
                         int32_t dy = 4);

    // The fields of line `line`, and the colours that act on its object.
    DesignFields fields(const std::string& name, int32_t line);
    // Writes `value` into field `field` of line `line`: a number changes only its sign and
    // digits, and one outside 32 bits is refused; a text field is replaced whole.
    DesignEdit setField(const std::string& name, int32_t line, int32_t field,
                        const std::string& value);
    // Makes the object of instrument line `line` show `rgb565`: the number of the colour
    // line that sets it changes, or a new colour line goes right after the object's line.
    DesignEdit setColour(const std::string& name, int32_t line, ColourCommand command,
                         int32_t rgb565);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The RGB565 number for a picked colour (channels 0..1): each channel is read as
// round(x * 255), then the field value whose expansion by the device is nearest is taken,
// ties going to the lower value.
int32_t rgb565ForPick(double red, double green, double blue);

// `text` with `edits` made, the ranges read as the language service counts lines.
std::string applyEdits(std::string_view text, const std::vector<TextEdit>& edits);

} // namespace orvanta::language
