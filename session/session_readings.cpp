#include "session/commands.h"
#include "session/reading_lines.h"
#include "session/session.h"

namespace orvanta {

namespace {

std::string deviceName(const std::string& file) {
    char name[kConfigNameSize];
    copyConfigName(name, file.c_str());
    return name;
}

ReadingAnswer refused(std::string message) {
    return {false, std::move(message)};
}

} // namespace

std::optional<ReadingsPreset> readingsPresetOfCommand(long command) {
    switch (command) {
    case command::kReadingsDevice:
        return ReadingsPreset::Device;
    case command::kReadingsMinimum:
        return ReadingsPreset::AllAtMinimum;
    case command::kReadingsMaximum:
        return ReadingsPreset::AllAtMaximum;
    case command::kReadingsSweep:
        return ReadingsPreset::SweepAll;
    default:
        return std::nullopt;
    }
}

const char* readingModeName(const ReadingOverride* reading) {
    if (reading == nullptr) return "random";
    return reading->mode == ReadingMode::Sweep ? "sweep" : "hold";
}

std::string Session::fileOnShow() const {
    const ConfigState& config = device_->config;
    return config.thisConfigName[0] != '\0' ? config.thisConfigName : config.nextConfigName;
}

ReadingAnswer Session::findObject(const std::string& file, int32_t line, LineObject& object) {
    const std::optional<FileObjects> found = objectsOfFile(folder_, file);
    if (!found) return refused("the folder has no file '" + file + "'");
    if (line < 1 || line > found->lines)
        return refused("'" + file + "' has no line " + std::to_string(line) + " (it has " +
                       std::to_string(found->lines) + ")");
    for (const LineObject& candidate : found->objects) {
        if (candidate.line != line) continue;
        if (candidate.range.kind == ReadingKind::None)
            return refused(file + ":" + std::to_string(line) + ": this " + candidate.keyword +
                           " has no reading to hold (its size leaves it no range)");
        object = candidate;
        return {true, ""};
    }
    return refused(file + ":" + std::to_string(line) + " makes no object");
}

std::vector<ReadingLine> Session::readings() {
    std::vector<ReadingLine> lines;
    const std::string file = fileOnShow();
    const std::optional<FileObjects> found = objectsOfFile(folder_, file);
    if (!found) return lines;
    for (const LineObject& object : found->objects) {
        ReadingLine line;
        line.file = file;
        line.line = object.line;
        line.keyword = object.keyword;
        line.range = object.range;
        if (object.range.kind != ReadingKind::None) {
            line.low = formatReading(object.range, readingEnd(object.range, false));
            line.high = formatReading(object.range, readingEnd(object.range, true));
        }
        const Readings::Entry* entry = device_->readings.find(file, object.line);
        line.mode = readingModeName(entry != nullptr ? entry->reading.get() : nullptr);
        if (entry != nullptr) line.value = formatReading(entry->range, *entry->reading);
        lines.push_back(std::move(line));
    }
    return lines;
}

ReadingAnswer Session::hold(const std::string& file, int32_t line, const std::string& value) {
    const std::string name = deviceName(file);
    LineObject object;
    ReadingAnswer answer = findObject(name, line, object);
    if (!answer.ok) return answer;
    const ParsedReading parsed = parseReading(object.range, value);
    if (!parsed.ok) return refused(name + ":" + std::to_string(line) + ": " + parsed.error);
    Device& device = *device_;
    device.readings.set(device.trace, device.objectList, device.config.thisConfigName, name, line,
                        object.keyword, object.range, parsed.reading);
    if (parsed.clamped)
        answer.message = "clamped to " + formatReading(object.range, parsed.reading) +
                         " (the range is " +
                         formatReading(object.range, readingEnd(object.range, false)) + " to " +
                         formatReading(object.range, readingEnd(object.range, true)) + ")";
    return answer;
}

ReadingAnswer Session::sweep(const std::string& file, int32_t line) {
    const std::string name = deviceName(file);
    LineObject object;
    const ReadingAnswer answer = findObject(name, line, object);
    if (!answer.ok) return answer;
    ReadingOverride reading = readingEnd(object.range, false);
    reading.mode = ReadingMode::Sweep;
    Device& device = *device_;
    device.readings.set(device.trace, device.objectList, device.config.thisConfigName, name, line,
                        object.keyword, object.range, reading);
    return answer;
}

ReadingAnswer Session::release(const std::string& file, int32_t line) {
    const std::string name = deviceName(file);
    if (!device_->readings.release(device_->trace, name, line))
        return refused(name + ":" + std::to_string(line) + " is not held or swept");
    return {true, ""};
}

void Session::applyReadings(ReadingsPreset preset) {
    const std::string file = fileOnShow();
    const std::optional<FileObjects> found = objectsOfFile(folder_, file);
    if (!found) return;
    Device& device = *device_;
    for (const LineObject& object : found->objects) {
        if (object.range.kind == ReadingKind::None) continue;
        if (preset == ReadingsPreset::Device) {
            device.readings.release(device.trace, file, object.line);
            continue;
        }
        ReadingOverride reading = readingEnd(object.range, preset == ReadingsPreset::AllAtMaximum);
        if (preset == ReadingsPreset::SweepAll) reading.mode = ReadingMode::Sweep;
        device.readings.set(device.trace, device.objectList, device.config.thisConfigName, file,
                            object.line, object.keyword, object.range, reading);
    }
}

void Session::moveLines(const std::string& file,
                        const std::vector<std::pair<int32_t, int32_t>>& moves) {
    Device& device = *device_;
    device.readings.moveLines(device.trace, device.objectList, device.config.thisConfigName,
                              deviceName(file), moves);
}

} // namespace orvanta
