#include "language/design_model.h"

#include "core/config/keywords.h"
#include "core/runtime/objects.h"

namespace orvanta::language {

namespace {

LineRole roleOf(const KeywordSpec* spec) {
    if (spec == nullptr) return LineRole::Other;
    switch (spec->kind) {
    case KeywordKind::Picture:
        return LineRole::Picture;
    case KeywordKind::Instrument:
        return LineRole::Instrument;
    case KeywordKind::Colour:
    case KeywordKind::BackgroundColour:
        return LineRole::Colour;
    default:
        return LineRole::Other;
    }
}

// The first line end of the text, as the file writes its lines.
std::string firstLineEnd(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\n";
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return "\r\n";
    return std::string(1, text[at]);
}

std::string lineList(const std::vector<int32_t>& lines) {
    std::string out;
    for (const int32_t line : lines) out += (out.empty() ? "" : ", ") + std::to_string(line + 1);
    return out;
}

} // namespace

DesignModel readModel(std::string bytes) {
    DesignModel model;
    model.bytes = std::move(bytes);
    model.lines = splitLines(model.bytes);
    model.lineEnd = firstLineEnd(model.bytes);
    model.lastLineEnded =
        model.bytes.empty() || model.bytes.back() == '\n' || model.bytes.back() == '\r';
    const std::size_t n = model.lines.size();
    model.views.reserve(n);
    model.roles.assign(n, LineRole::Other);
    model.actsOn.assign(n, -1);
    model.live.assign(n, false);
    // The colour commands act on the most recently added object: the last of the first ten
    // instrument lines read so far.
    int32_t lastLive = -1;
    for (std::size_t i = 0; i < n; ++i) {
        model.views.emplace_back(model.lines[i]);
        const LineRole role = roleOf(model.views.back().spec());
        model.roles[i] = role;
        if (role == LineRole::Instrument) {
            if (model.instruments++ < kObjectSlots) {
                model.live[i] = true;
                lastLive = static_cast<int32_t>(i);
            }
        } else if (role == LineRole::Colour) {
            model.actsOn[i] = lastLive;
        }
    }
    return model;
}

std::vector<int32_t> DesignModel::colourLinesOf(int32_t line) const {
    std::vector<int32_t> out;
    if (line < 0) return out;
    for (int32_t i = line + 1; i < count(); ++i)
        if (roles[static_cast<std::size_t>(i)] == LineRole::Colour &&
            actsOn[static_cast<std::size_t>(i)] == line)
            out.push_back(i);
    return out;
}

const GeometrySpec* DesignModel::geometry(int32_t line) const {
    if (line < 0 || line >= count()) return nullptr;
    const KeywordSpec* spec = views[static_cast<std::size_t>(line)].spec();
    return spec == nullptr ? nullptr : geometryOf(*spec);
}

std::string ownershipChanges(const DesignModel& before, const DesignModel& after,
                             const std::vector<int32_t>& lineMap) {
    std::vector<int32_t> alive, moved;
    for (std::size_t i = 0; i < lineMap.size(); ++i) {
        const int32_t now = lineMap[i];
        if (now < 0) continue;
        const auto at = static_cast<std::size_t>(now);
        if (before.roles[i] == LineRole::Instrument && !before.live[i] && after.live[at])
            alive.push_back(now);
        if (before.roles[i] != LineRole::Colour) continue;
        const int32_t owner = before.actsOn[i];
        const int32_t expected = owner < 0 ? -1 : lineMap[static_cast<std::size_t>(owner)];
        if (after.actsOn[at] != expected) moved.push_back(now);
    }
    std::string out;
    if (!alive.empty())
        out = "line " + lineList(alive) + " comes to life: the display holds ten objects and " +
              "this edit frees a place";
    if (!moved.empty())
        out += (out.empty() ? "" : "; ") + std::string("the colour line") +
               (moved.size() > 1 ? "s " : " ") + lineList(moved) + " then act" +
               (moved.size() > 1 ? "" : "s") + " on another object";
    return out;
}

} // namespace orvanta::language
