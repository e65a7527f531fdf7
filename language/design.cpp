// The design questions that read objects and change their fields in place: objects, move
// and resize.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "check/pictures.h"
#include "core/config/keywords.h"
#include "core/syntax/fields.h"
#include "language/design_model.h"
#include "language/line_plan.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

const std::vector<std::string> kAllHandles{"n", "ne", "e", "se", "s", "sw", "w", "nw"};

std::vector<std::string> handlesOf(Sizing sizing) {
    switch (sizing) {
    case Sizing::Edges:
    case Sizing::Diameter:
        return kAllHandles;
    case Sizing::Scale: // the corner stays where the text starts
        return {"e", "se", "s"};
    case Sizing::None:
        break;
    }
    return {};
}

bool drawsObject(const DesignModel& model, int32_t line) {
    if (line < 0 || line >= model.count()) return false;
    const LineRole role = model.roles[static_cast<std::size_t>(line)];
    return role == LineRole::Instrument || role == LineRole::Picture;
}

std::string drawsNothing(int32_t line) {
    return "line " + std::to_string(line + 1) + " draws no object";
}

int64_t numberOf(const DesignModel& model, int32_t line, int32_t field) {
    return model.views[static_cast<std::size_t>(line)].fields().number(field);
}

// Rounds a / b to the nearest whole number, halves away from zero; b > 0.
int64_t nearest(int64_t a, int64_t b) {
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

std::vector<FieldValue> resizedFields(const DesignModel& model, int32_t line, const GeometrySpec& g,
                                      const std::string& handle, int64_t dx, int64_t dy) {
    const bool north = handle.find('n') != std::string::npos;
    const bool south = handle.find('s') != std::string::npos;
    const bool east = handle.find('e') != std::string::npos;
    const bool west = handle.find('w') != std::string::npos;
    const auto number = [&](int32_t field) { return numberOf(model, line, field); };
    if (g.sizing == Sizing::Edges) {
        int64_t left = number(g.xField), top = number(g.yField);
        int64_t width = number(g.sizeFields[0]), height = number(g.sizeFields[1]);
        if (west) left += dx, width -= dx;
        if (east) width += dx;
        if (north) top += dy, height -= dy;
        if (south) height += dy;
        return {
            {g.xField, left}, {g.yField, top}, {g.sizeFields[0], width}, {g.sizeFields[1], height}};
    }
    if (g.sizing == Sizing::Diameter) {
        // The centre stays; the radius follows the handle, so the diameter steps by 2 and
        // keeps whether it is odd.
        const int64_t across = east ? dx : west ? -dx : 0;
        const int64_t down = south ? dy : north ? -dy : 0;
        const int64_t grow =
            (east || west) && (north || south) ? (across + down) / 2 : across + down;
        const int64_t diameter = number(g.sizeFields[0]);
        int64_t resized = diameter + 2 * grow;
        if (resized < 0) resized = diameter & 1;
        return {{g.sizeFields[0], resized}};
    }
    // Text grows in whole scale steps: eight rows per step downwards, six columns per
    // character across.
    const int64_t scale = number(g.sizeFields[0]);
    const char* counted = model.views[static_cast<std::size_t>(line)].fields().field(g.countField);
    const int64_t cells = std::string_view(g.keyword) == "ToggleText"
                              ? std::min<int64_t>(std::strlen(counted), 20)
                              : std::min<int64_t>(readNumber(counted), 21);
    const int64_t byWidth = nearest(dx, 6 * std::max<int64_t>(1, cells));
    const int64_t byHeight = nearest(dy, 8);
    int64_t steps = east ? byWidth : 0;
    // From the corner the larger of the two changes counts.
    if (south && (!east || std::abs(byHeight) >= std::abs(steps))) steps = byHeight;
    return {{g.sizeFields[0], std::max<int64_t>(1, scale + steps)}};
}

} // namespace

std::vector<DesignObject> Workspace::objects(const std::string& name) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    std::vector<std::vector<int32_t>> colours(model.lines.size());
    for (std::size_t i = 0; i < model.lines.size(); ++i)
        if (model.actsOn[i] >= 0)
            colours[static_cast<std::size_t>(model.actsOn[i])].push_back(static_cast<int32_t>(i));
    std::map<std::string, std::pair<int32_t, int32_t>> pictures;
    std::vector<DesignObject> out;
    for (int32_t i = 0; i < model.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const GeometrySpec* g = model.geometry(i);
        if (g == nullptr) continue;
        const LineView& view = model.views[at];
        std::pair<int32_t, int32_t> size{0, 0};
        if (g->sizing == Sizing::None) {
            const std::string file = view.fields().field(1);
            auto known = pictures.find(file);
            if (known == pictures.end()) {
                const check::PictureVerdict verdict = check::checkPictureFile(impl_->files, file);
                std::pair<int32_t, int32_t> found{0, 0};
                if (verdict.header && verdict.header->drawable())
                    found = {verdict.header->width, verdict.header->height};
                known = pictures.emplace(file, found).first;
            }
            size = known->second;
        }
        DesignObject object;
        object.keyword = g->keyword;
        object.line = i;
        object.box = objectBox(*g, view.fields(), size.first, size.second);
        object.live = model.roles[at] == LineRole::Picture || model.live[at];
        object.centred = g->centred;
        if (g->xField != 0) object.placeFields = {g->xField, g->yField};
        for (const int32_t field : g->sizeFields)
            if (field != 0) object.sizeFields.push_back(field);
        object.handles = handlesOf(g->sizing);
        object.colourLines = std::move(colours[at]);
        out.push_back(std::move(object));
    }
    return out;
}

DesignEdit Workspace::move(const std::string& name, const std::vector<int32_t>& lines, int32_t dx,
                           int32_t dy) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    LinePlan plan;
    for (const int32_t line : std::set<int32_t>(lines.begin(), lines.end())) {
        if (!drawsObject(model, line)) return refused(drawsNothing(line));
        const GeometrySpec& g = *model.geometry(line);
        if (g.xField == 0) continue; // the picture is drawn at (0, 0) always
        std::string refusal;
        std::vector<Splice> splices =
            fieldSplices(model.views[static_cast<std::size_t>(line)],
                         {{g.xField, numberOf(model, line, g.xField) + dx},
                          {g.yField, numberOf(model, line, g.yField) + dy}},
                         refusal);
        if (!refusal.empty()) return refused("line " + std::to_string(line + 1) + ": " + refusal);
        if (!splices.empty()) plan.splices[line] = std::move(splices);
    }
    return planEdit(model, plan);
}

DesignEdit Workspace::resize(const std::string& name, int32_t line, const std::string& handle,
                             int32_t dx, int32_t dy) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    if (!drawsObject(model, line)) return refused(drawsNothing(line));
    const GeometrySpec& g = *model.geometry(line);
    const std::vector<std::string> handles = handlesOf(g.sizing);
    if (std::find(handles.begin(), handles.end(), handle) == handles.end())
        return refused(std::string(g.keyword) + " has no handle '" + handle + "'");
    std::string refusal;
    LinePlan plan;
    std::vector<Splice> splices =
        fieldSplices(model.views[static_cast<std::size_t>(line)],
                     resizedFields(model, line, g, handle, dx, dy), refusal);
    if (!refusal.empty()) return refused("line " + std::to_string(line + 1) + ": " + refusal);
    if (!splices.empty()) plan.splices[line] = std::move(splices);
    return planEdit(model, plan);
}

} // namespace orvanta::language
