// Reading overrides for the page's Readings panel and window.orvanta: the objects of the
// file on show with their readings, and hold, sweep and release by file and line. Every
// answer is JSON: {"ok": true, "message": ...} or {"ok": false, "message": why}.
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "host/web/engine/engine_state.h"

namespace {

using Json = nlohmann::json;
using orvanta::web::bytesAt;
using orvanta::web::engine;

const char* replyJson(const Json& answer) {
    return orvanta::web::reply(answer.dump(-1, ' ', false, Json::error_handler_t::replace));
}

const char* replyAnswer(const orvanta::ReadingAnswer& answer) {
    return replyJson({{"ok", answer.ok}, {"message", answer.message}});
}

} // namespace

extern "C" {

// The objects of the file on show: file, line, keyword, the reading's kind, its two ends
// as values, its step and digit count, and its override ("random", "hold" or "sweep") with
// the held value.
ORVANTA_EXPORT const char* orvanta_readings() {
    Json list = Json::array();
    for (const orvanta::ReadingLine& line : engine().current().session.readings()) {
        list.push_back({{"file", line.file},
                        {"line", line.line},
                        {"keyword", line.keyword},
                        {"kind", orvanta::readingKindName(line.range.kind)},
                        {"low", line.low},
                        {"high", line.high},
                        {"step", line.range.step},
                        {"digits", line.range.digits},
                        {"mode", line.mode},
                        {"value", line.value}});
    }
    return replyJson(list);
}

ORVANTA_EXPORT const char* orvanta_hold(const char* file, uint32_t fileSize, int32_t line,
                                        const char* value, uint32_t valueSize) {
    return replyAnswer(
        engine().current().session.hold(bytesAt(file, fileSize), line, bytesAt(value, valueSize)));
}

ORVANTA_EXPORT const char* orvanta_sweep(const char* file, uint32_t fileSize, int32_t line) {
    return replyAnswer(engine().current().session.sweep(bytesAt(file, fileSize), line));
}

ORVANTA_EXPORT const char* orvanta_release(const char* file, uint32_t fileSize, int32_t line) {
    return replyAnswer(engine().current().session.release(bytesAt(file, fileSize), line));
}

// The device's name of the file on show, or of the next file before any load: cheap
// enough to ask in every frame, so that the panel lists the objects again only when it
// changes.
ORVANTA_EXPORT const char* orvanta_file_on_show() {
    const orvanta::ConfigState& config = engine().current().session.device().config;
    return orvanta::web::reply(config.thisConfigName[0] != '\0' ? config.thisConfigName
                                                                : config.nextConfigName);
}

// 0 the device's own readings, 1 all at minimum, 2 all at maximum, 3 all swept.
ORVANTA_EXPORT void orvanta_readings_preset(int32_t preset) {
    using orvanta::ReadingsPreset;
    static constexpr ReadingsPreset kPresets[] = {
        ReadingsPreset::Device, ReadingsPreset::AllAtMinimum, ReadingsPreset::AllAtMaximum,
        ReadingsPreset::SweepAll};
    if (preset < 0 || preset > 3) return;
    engine().current().session.applyReadings(kPresets[preset]);
}
}
