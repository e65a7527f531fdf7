// The design questions of a property panel: the fields of one line with what the keyword
// table says of them, and the edits that write one field or one colour of an object.
#include <cstdint>
#include <cstring>
#include <limits>

#include "check/field_spans.h"
#include "core/config/keywords.h"
#include "core/config/loader.h"
#include "core/device/device.h"
#include "language/design_model.h"
#include "language/line_plan.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

const char* kindName(const KeywordSpec& spec, const FieldSpec& field) {
    switch (field.kind) {
    case FieldKind::Number:
        return "number";
    case FieldKind::Colour:
        return "colour";
    case FieldKind::Text:
        break;
    }
    if (spec.kind == KeywordKind::Picture) return "picture";
    if (spec.kind == KeywordKind::NextFile) return "config";
    return "text";
}

const char* commandName(ColourCommand command) {
    return command == ColourCommand::SetColor ? "SetColor" : "SetBGColor";
}

KeywordKind commandKind(ColourCommand command) {
    return command == ColourCommand::SetColor ? KeywordKind::Colour : KeywordKind::BackgroundColour;
}

std::string lineName(int32_t line) {
    return "line " + std::to_string(line + 1);
}

// A whole number as typed: blanks around an optional sign and digits. Nothing else reads
// as a number, and a value too long for 64 bits is kept as one outside 32 bits so that the
// field edit refuses it with its reason.
bool typedNumber(const std::string& text, int64_t& value) {
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ') ++i;
    while (end > i && text[end - 1] == ' ') --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == end) return false;
    int64_t magnitude = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (magnitude < (int64_t{1} << 40)) magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// The colour each live object shows once its file is read, by the line that made it
// (0-based); the device's own load decides it, instrument defaults included.
std::vector<std::pair<int32_t, int32_t>> loadedColours(Folder& folder, const std::string& name,
                                                       ColourCommand command) {
    std::vector<std::pair<int32_t, int32_t>> out;
    VirtualClock clock;
    Device scratch(clock, folder);
    LoadContext load = scratch.loadContext();
    LoadConfigFromSD(load, name.c_str());
    const ObjectList& list = scratch.objectList;
    for (int32_t i = 0; i < list.objectCount; ++i) {
        const MandDObject& object = *list.slots[i];
        const int32_t value = command == ColourCommand::SetColor ? object.color : object.bgColor;
        out.emplace_back(object.sourceLine - 1, value & 0xFFFF);
    }
    return out;
}

DesignColour colourOf(const DesignModel& model, Folder& folder, const std::string& name,
                      int32_t line, ColourCommand command) {
    DesignColour colour;
    colour.command = command;
    for (const int32_t at : model.colourLinesOf(line))
        if (model.views[static_cast<std::size_t>(at)].spec()->kind == commandKind(command))
            colour.line = at;
    for (const auto& [source, value] : loadedColours(folder, name, command))
        if (source == line) colour.rgb565 = value;
    const KeywordSpec& spec = *model.views[static_cast<std::size_t>(line)].spec();
    const char* fixed =
        command == ColourCommand::SetColor ? spec.fixedColour : spec.fixedBackground;
    if (fixed != nullptr) colour.fixed = std::string(spec.name) + " " + fixed;
    return colour;
}

// The splice that makes text field `field` read `value`, fields missing before it written
// as 0. A ';' that is the line's last byte stands in for the first separator.
Splice textSplice(const LineView& line, int32_t field, const std::string& value) {
    const std::string& text = line.text();
    const int32_t length = static_cast<int32_t>(text.size());
    const int32_t present = std::max(0, line.fields().fieldCount() - 1);
    if (field <= present) {
        const check::Span span = line.span(field);
        return {span.begin, span.end, value};
    }
    std::string appended;
    for (int32_t f = present + 1; f < field; ++f) appended += ";0";
    appended += ";" + value;
    if (text.size() >= 2 && text.back() == ';') appended.erase(0, 1);
    return {length, length, appended};
}

} // namespace

DesignFields Workspace::fields(const std::string& name, int32_t line) {
    DesignFields out;
    const DesignModel model = readModel(readWhole(impl_->files, name));
    if (line < 0 || line >= model.count()) return out;
    const auto at = static_cast<std::size_t>(line);
    const LineView& view = model.views[at];
    const KeywordSpec* spec = view.spec();
    if (spec == nullptr) return out;
    out.keyword = spec->name;
    const int32_t present = std::max(0, view.fields().fieldCount() - 1);
    for (int32_t f = 1; f <= spec->fieldCount; ++f) {
        const FieldSpec& field = spec->fields[f - 1];
        DesignField item;
        item.field = f;
        item.name = field.name;
        item.unit = field.unit;
        item.meaning = field.meaning;
        item.kind = kindName(*spec, field);
        item.present = f <= present;
        if (item.present) item.value = view.fields().field(f);
        item.range = lineRange(line, view.span(f));
        out.fields.push_back(std::move(item));
    }
    if (model.roles[at] == LineRole::Instrument && model.live[at])
        for (const ColourCommand command : {ColourCommand::SetColor, ColourCommand::SetBGColor})
            out.colours.push_back(colourOf(model, impl_->files, name, line, command));
    return out;
}

DesignEdit Workspace::setField(const std::string& name, int32_t line, int32_t field,
                               const std::string& value) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    if (line < 0 || line >= model.count()) return refused(lineName(line) + " is not in the file");
    const LineView& view = model.views[static_cast<std::size_t>(line)];
    const KeywordSpec* spec = view.spec();
    if (spec == nullptr) return refused(lineName(line) + " holds no keyword");
    if (field < 1 || field > spec->fieldCount)
        return refused(std::string(spec->name) + " has no field " + std::to_string(field));
    const FieldSpec& wanted = spec->fields[field - 1];
    LinePlan plan;
    if (wanted.kind == FieldKind::Text) {
        // A separator or a line end would split the line; a zero byte would end it.
        if (value.find_first_of(std::string(";\r\n\0", 4)) != std::string::npos)
            return refused(std::string("the ") + wanted.name +
                           " cannot hold ';', a line end or a zero byte");
        plan.splices[line] = {textSplice(view, field, value)};
        if (field <= std::max(0, view.fields().fieldCount() - 1) &&
            value == view.fields().field(field))
            plan.splices.clear();
        return planEdit(model, plan);
    }
    int64_t number = 0;
    if (!typedNumber(value, number))
        return refused("the " + std::string(wanted.name) + " takes a whole number, not \"" + value +
                       "\"");
    std::string refusal;
    std::vector<Splice> splices = fieldSplices(view, {{field, number}}, refusal);
    if (!refusal.empty()) return refused(lineName(line) + ": " + refusal);
    if (!splices.empty()) plan.splices[line] = std::move(splices);
    return planEdit(model, plan);
}

DesignEdit Workspace::setColour(const std::string& name, int32_t line, ColourCommand command,
                                int32_t rgb565) {
    const DesignModel model = readModel(readWhole(impl_->files, name));
    if (line < 0 || line >= model.count() ||
        model.roles[static_cast<std::size_t>(line)] != LineRole::Instrument)
        return refused(lineName(line) + " holds no instrument");
    if (!model.live[static_cast<std::size_t>(line)])
        return refused(lineName(line) +
                       " is past the tenth instrument line, so its object is never created");
    const KeywordSpec& spec = *model.views[static_cast<std::size_t>(line)].spec();
    const char* fixed =
        command == ColourCommand::SetColor ? spec.fixedColour : spec.fixedBackground;
    if (fixed != nullptr)
        return refused(std::string(commandName(command)) + " changes nothing on " + spec.name +
                       ": it " + fixed);
    int32_t setter = -1; // the last colour line of this command acting on the object
    for (const int32_t at : model.colourLinesOf(line))
        if (model.views[static_cast<std::size_t>(at)].spec()->kind == commandKind(command))
            setter = at;
    LinePlan plan;
    if (setter < 0) {
        plan.added[line + 1].push_back(std::string(commandName(command)) + ";" +
                                       std::to_string(rgb565));
        return planEdit(model, plan);
    }
    std::string refusal;
    std::vector<Splice> splices =
        fieldSplices(model.views[static_cast<std::size_t>(setter)], {{1, rgb565}}, refusal);
    if (!splices.empty()) plan.splices[setter] = std::move(splices);
    return planEdit(model, plan);
}

} // namespace orvanta::language
