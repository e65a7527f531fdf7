// The design questions that add and remove whole lines: insert, remove and duplicate. Each
// keeps every colour line acting on the object it acted on before.
#include <algorithm>
#include <set>

#include "core/config/keywords.h"
#include "core/display/surface.h"
#include "core/runtime/objects.h"
#include "language/design_model.h"
#include "language/line_plan.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

// The checker's reason for an instrument line past the tenth.
std::string tooMany(int32_t instruments) {
    return "the file already has " + std::to_string(instruments) +
           " instrument lines — the display holds ten, so another one is never created";
}

std::string notAnObject(int32_t line) {
    return "line " + std::to_string(line + 1) + " draws no object";
}

int64_t fit(int64_t preferred, int64_t room, int64_t least) {
    return std::max(least, std::min(preferred, room));
}

// A diameter no larger than `preferred` whose circle stays on the panel about (x, y).
int64_t fitRound(int64_t preferred, int64_t x, int64_t y, int64_t least) {
    const int64_t room =
        std::min({x, y, int64_t{DISPLAY_SIZE - 1} - x, int64_t{DISPLAY_SIZE - 1} - y});
    return std::max(least, std::min(preferred / 2, room) * 2);
}

// The values of a new line's fields, in the keyword table's order.
std::vector<std::string> defaultFields(const std::string& keyword, int64_t x, int64_t y,
                                       const std::string& text) {
    const auto n = [](int64_t v) { return std::to_string(v); };
    const int64_t across = DISPLAY_SIZE - x, down = DISPLAY_SIZE - y;
    if (keyword == "Tacho") return {n(x), n(y), n(fit(16, across, 4)), n(fit(40, down, 18)), "0"};
    if (keyword == "GyroHorizonRect")
        return {n(x), n(y), n(fit(64, across, 8)), n(fit(48, down, 20)), "0"};
    if (keyword == "LED") return {n(x), n(y), n(fitRound(10, x, y, 2)), "0"};
    if (keyword == "Kompass") return {n(x), n(y), n(fitRound(60, x, y, 10)), "0"};
    if (keyword == "RoundPointer") return {n(x), n(y), n(fitRound(50, x, y, 10)), "0", "270"};
    if (keyword == "Radar") return {n(x), n(y), n(fitRound(60, x, y, 10))};
    if (keyword == "DigitCounter") return {n(x), n(y), "4", "1", "0"};
    if (keyword == "ToggleText") return {n(x), n(y), text.empty() ? "TEXT" : text, "1", "0"};
    return {text}; // the picture
}

// The line after the colour lines that follow the last object added, or the end of the
// file when there is none.
int32_t insertionPoint(const DesignModel& model) {
    int32_t lastLive = -1;
    for (int32_t i = 0; i < model.count(); ++i)
        if (model.live[static_cast<std::size_t>(i)]) lastLive = i;
    if (lastLive < 0) return model.count();
    const std::vector<int32_t> colours = model.colourLinesOf(lastLive);
    return (colours.empty() ? lastLive : colours.back()) + 1;
}

} // namespace

DesignEdit Workspace::insert(const std::string& name, const std::string& keyword, int32_t x,
                             int32_t y, const std::string& text) {
    const KeywordSpec* spec = findKeyword(keyword.c_str());
    if (spec == nullptr || geometryOf(*spec) == nullptr)
        return refused("'" + keyword + "' draws no object");
    const DesignModel model = readModel(readWhole(impl_->files, name));
    if (spec->kind == KeywordKind::Instrument && model.instruments >= kObjectSlots)
        return refused(tooMany(model.instruments));
    if (spec->kind == KeywordKind::Picture && text.empty())
        return refused("a picture line needs the name of its BMP file");
    std::string line = keyword;
    for (const std::string& field : defaultFields(keyword, x, y, text)) line += ";" + field;
    LinePlan plan;
    plan.added[insertionPoint(model)].push_back(std::move(line));
    return planEdit(model, plan);
}

DesignEdit Workspace::remove(const std::string& name, const std::vector<int32_t>& lines) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    LinePlan plan;
    for (const int32_t line : lines) {
        if (model.geometry(line) == nullptr) return refused(notAnObject(line));
        plan.removed.insert(line);
        for (const int32_t colour : model.colourLinesOf(line)) plan.removed.insert(colour);
    }
    return planEdit(model, plan);
}

DesignEdit Workspace::duplicate(const std::string& name, const std::vector<int32_t>& lines,
                                int32_t dx, int32_t dy) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    LinePlan plan;
    int32_t instruments = model.instruments;
    for (const int32_t line : std::set<int32_t>(lines.begin(), lines.end())) {
        const GeometrySpec* g = model.geometry(line);
        if (g == nullptr) return refused(notAnObject(line));
        const auto at = static_cast<std::size_t>(line);
        const LineView& view = model.views[at];
        std::vector<Splice> moved;
        if (g->xField != 0) {
            if (instruments >= kObjectSlots) return refused(tooMany(instruments));
            ++instruments;
            std::string refusal;
            moved = fieldSplices(view,
                                 {{g->xField, int64_t{view.fields().number(g->xField)} + dx},
                                  {g->yField, int64_t{view.fields().number(g->yField)} + dy}},
                                 refusal);
            if (!refusal.empty())
                return refused("line " + std::to_string(line + 1) + ": " + refusal);
        }
        // The copy and its colour lines go right after the last of the original's colour
        // lines, so that each colour line acts on its own object.
        const std::vector<int32_t> colours = model.colourLinesOf(line);
        std::vector<std::string>& block = plan.added[(colours.empty() ? line : colours.back()) + 1];
        block.push_back(spliced(model.lines[at], moved));
        for (const int32_t colour : colours)
            block.emplace_back(model.lines[static_cast<std::size_t>(colour)]);
    }
    return planEdit(model, plan);
}

} // namespace orvanta::language
