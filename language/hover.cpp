#include <cstdlib>

#include "check/pictures.h"
#include "check/words.h"
#include "core/config/config_state.h"
#include "core/config/keywords.h"
#include "core/display/surface.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

std::string code(const std::string& text) {
    return "`" + text + "`";
}

std::string keywordHover(const KeywordSpec& spec) {
    std::string out = "**" + std::string(spec.name) + "** — " + spec.summary + "\n\n" +
                      code(lineTemplate(spec)) + "\n";
    const std::string fields = fieldList(spec);
    return fields.empty() ? out : out + "\n" + fields;
}

std::string rgbOf(int32_t colour) {
    const Rgb24 rgb = color565ToRgb(colour);
    const uint32_t channels[] = {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF};
    static const char* hex = "0123456789ABCDEF";
    std::string sharp = "#";
    for (const uint32_t c : channels) {
        sharp += hex[c >> 4];
        sharp += hex[c & 15];
    }
    return "RGB " + std::to_string(channels[0]) + ", " + std::to_string(channels[1]) + ", " +
           std::to_string(channels[2]) + " (" + sharp + ")";
}

// What the device makes of a numeric field, and how that differs from how it looks.
std::string numberReading(const FieldSpec& field, const std::string& text) {
    const int32_t value = readNumber(text.c_str());
    std::string out = "The device reads **" + std::to_string(value) + "**";
    if (check::trimBlanks(text) != std::to_string(value)) out += " from " + check::inQuotes(text);
    out += ".";
    if (field.kind == FieldKind::Colour) {
        const int32_t low = value & 0xFFFF;
        if (low != value) out += " Only the low 16 bits count: **" + std::to_string(low) + "**.";
        out += "\n\nColour " + std::to_string(low) + " shows as " + rgbOf(low) + ".";
    }
    return out;
}

std::string pictureHover(Folder& folder, const std::string& name) {
    const check::PictureVerdict verdict = check::checkPictureFile(folder, name);
    std::string out = "Picture " + code(name);
    if (!verdict.header) return out + ": " + verdict.problem;
    const BmpHeader& h = *verdict.header;
    if (h.signature)
        out += ": a BMP file of " + std::to_string(h.width) + " × " +
               std::to_string(h.height < 0 ? -static_cast<int64_t>(h.height) : h.height) +
               " pixels, " + std::to_string(h.depth) + " bits per pixel";
    return out + "\n\n" + (verdict.problem.empty() ? "It draws completely." : verdict.problem);
}

std::string configHover(Folder& folder, const std::string& name) {
    if (!check::existsExactly(folder, name))
        return "Configuration file " + code(name) + " does not exist" +
               check::missingFileHint(folder, name) + ".";
    const std::string bytes = readWhole(folder, name);
    const std::vector<std::string_view> lines = splitLines(bytes);
    std::string list;
    int32_t objects = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineView line(lines[i]);
        if (line.spec() == nullptr) continue;
        // A long file lists its first object lines and counts the rest.
        if (++objects <= 20)
            list += "- line " + std::to_string(i + 1) + ": " + code(line.text()) + "\n";
    }
    std::string out = "Configuration file " + code(name) + " with " + std::to_string(objects) +
                      " object line" + (objects == 1 ? "" : "s");
    if (objects > 20) out += ", the first 20 of them";
    return out + (objects > 0 ? ":\n\n" + list : ".");
}

std::string extraFieldHover(const KeywordSpec& spec) {
    return "An extra field: " + code(spec.name) + " takes " + std::to_string(spec.fieldCount) +
           " field" + (spec.fieldCount == 1 ? "" : "s") + ", and the device ignores this one.";
}

std::string fieldHover(Folder& folder, const KeywordSpec& spec, int32_t index,
                       const std::string& text) {
    if (index > spec.fieldCount) return extraFieldHover(spec);
    const FieldSpec& field = spec.fields[index - 1];
    std::string out = "**" + std::string(field.name) + "**" + unitNote(field) + ", field " +
                      std::to_string(index) + " of " + code(spec.name) + ": " + field.meaning +
                      "\n\n";
    if (field.kind != FieldKind::Text) return out + numberReading(field, text);
    if (spec.kind == KeywordKind::Picture) return out + pictureHover(folder, text);
    if (spec.kind == KeywordKind::NextFile) {
        char kept[kConfigNameSize];
        copyConfigName(kept, text.c_str());
        return out + configHover(folder, kept);
    }
    return out + "Reads as " + check::inQuotes(text) + ".";
}

} // namespace

std::optional<Hover> Workspace::hover(const std::string& name, Position at) {
    std::string bytes;
    const std::optional<LineView> line = impl_->lineAt(name, at, bytes);
    if (!line) return std::nullopt;
    const int32_t index = line->fieldAt(at.column);
    if (index < 0 || check::allWhiteSpace(line->text())) return std::nullopt;
    const Range range = lineRange(at.line, line->span(index));
    const KeywordSpec* spec = line->spec();
    if (spec == nullptr) {
        if (index != 0) return std::nullopt;
        const std::string meant = check::suggestKeyword(line->fields().field(0));
        return Hover{
            range, "Not a keyword — the device ignores this line" +
                       (meant.empty() ? std::string(".") : "; did you mean " + code(meant) + "?")};
    }
    if (index == 0) return Hover{range, keywordHover(*spec)};
    return Hover{range, fieldHover(impl_->files, *spec, index, line->fields().field(index))};
}

} // namespace orvanta::language
