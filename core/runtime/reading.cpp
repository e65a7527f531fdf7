#include "core/runtime/reading.h"

#include <algorithm>

namespace orvanta {

namespace {

// A whole decimal number with an optional sign; numbers too large for 64 bits saturate,
// so that clamping, not an error, answers "99999999999999999999".
bool parseNumber(std::string_view text, int64_t& out) {
    if (text.empty()) return false;
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int64_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
        if (value > (int64_t{1} << 40)) break;
    }
    out = negative ? -value : value;
    return true;
}

std::string rangeText(const ReadingRange& range) {
    return std::to_string(range.low) + " to " + std::to_string(range.high);
}

} // namespace

int32_t clampReading(const ReadingRange& range, int64_t value) {
    const int64_t low = range.low, high = range.high;
    int64_t v = std::clamp(value, std::min(low, high), std::max(low, high));
    if (range.kind == ReadingKind::Needle && range.step > 1) {
        const int64_t steps = (v - low + range.step / 2) / range.step;
        v = std::min(low + steps * range.step, high);
    }
    return static_cast<int32_t>(v);
}

bool fitReading(const ReadingRange& range, ReadingOverride& reading) {
    bool changed = false;
    if (range.kind == ReadingKind::Digits) {
        const auto wanted = static_cast<std::size_t>(range.digits);
        if (reading.digits.size() != wanted) {
            reading.digits.resize(wanted, reading.digits.empty() ? '0' : reading.digits.back());
            changed = true;
        }
        return changed;
    }
    const int count = range.kind == ReadingKind::Ends ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        const int32_t fitted = clampReading(range, reading.value[i]);
        changed = changed || fitted != reading.value[i];
        reading.value[i] = fitted;
    }
    return changed;
}

ParsedReading parseReading(const ReadingRange& range, std::string_view text) {
    ParsedReading parsed;
    ReadingOverride& reading = parsed.reading;
    const auto fail = [&parsed](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };
    switch (range.kind) {
    case ReadingKind::None:
        return fail("this object has no reading to hold");
    case ReadingKind::Phase:
        if (text != "lit" && text != "dark") return fail("the value must be 'lit' or 'dark'");
        reading.value[0] = text == "lit" ? 1 : 0;
        parsed.ok = true;
        return parsed;
    case ReadingKind::Digits:
        if (text.size() != static_cast<std::size_t>(range.digits) ||
            !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return fail("the value must be exactly " + std::to_string(range.digits) + " digits");
        reading.digits = std::string(text);
        parsed.ok = true;
        return parsed;
    case ReadingKind::Ends: {
        const std::size_t comma = text.find(',');
        int64_t left = 0, right = 0;
        if (comma == std::string_view::npos || !parseNumber(text.substr(0, comma), left) ||
            !parseNumber(text.substr(comma + 1), right))
            return fail("the value must be two whole numbers, the left and the right end, as "
                        "'-16,15'");
        reading.value[0] = clampReading(range, left);
        reading.value[1] = clampReading(range, right);
        parsed.clamped = reading.value[0] != left || reading.value[1] != right;
        parsed.ok = true;
        return parsed;
    }
    case ReadingKind::Level:
    case ReadingKind::Heading:
    case ReadingKind::Needle:
    case ReadingKind::Bearing: {
        int64_t value = 0;
        if (!parseNumber(text, value))
            return fail("the value must be a whole number from " + rangeText(range));
        reading.value[0] = clampReading(range, value);
        parsed.clamped = reading.value[0] != value;
        parsed.ok = true;
        return parsed;
    }
    }
    return fail("this object has no reading to hold");
}

std::string formatReading(const ReadingRange& range, const ReadingOverride& reading) {
    if (reading.mode != ReadingMode::Hold) return "";
    switch (range.kind) {
    case ReadingKind::None:
        return "";
    case ReadingKind::Phase:
        return reading.value[0] != 0 ? "lit" : "dark";
    case ReadingKind::Digits:
        return reading.digits;
    case ReadingKind::Ends:
        return std::to_string(reading.value[0]) + "," + std::to_string(reading.value[1]);
    default:
        return std::to_string(reading.value[0]);
    }
}

ReadingOverride readingEnd(const ReadingRange& range, bool high) {
    ReadingOverride reading;
    const int32_t end = high ? range.high : range.low;
    reading.value[0] = reading.value[1] = end;
    if (range.kind == ReadingKind::Digits)
        reading.digits.assign(static_cast<std::size_t>(std::max(range.digits, 0)),
                              high ? '9' : '0');
    return reading;
}

const char* readingKindName(ReadingKind kind) {
    switch (kind) {
    case ReadingKind::None:
        return "none";
    case ReadingKind::Level:
        return "level";
    case ReadingKind::Ends:
        return "ends";
    case ReadingKind::Heading:
        return "heading";
    case ReadingKind::Needle:
        return "needle";
    case ReadingKind::Bearing:
        return "bearing";
    case ReadingKind::Digits:
        return "digits";
    case ReadingKind::Phase:
        return "phase";
    }
    return "none";
}

bool shownPhase(std::shared_ptr<const ReadingOverride>& reading, bool own) {
    switch (reading->mode) {
    case ReadingMode::Hold:
        return reading->value[0] != 0;
    case ReadingMode::Sweep:
        return own;
    case ReadingMode::Release:
        break;
    }
    reading.reset();
    return own;
}

int32_t ReadingWalk::next(const ReadingOverride& reading, int32_t held, int32_t low, int32_t high,
                          int32_t step) {
    int32_t goal = held;
    if (reading.mode == ReadingMode::Sweep) {
        if (shown == (up ? high : low)) up = !up;
        goal = up ? high : low;
    }
    const int64_t gap = int64_t{goal} - shown;
    if (gap >= -step && gap <= step)
        shown = goal;
    else
        shown = static_cast<int32_t>(shown + (gap > 0 ? step : -step));
    return shown;
}

} // namespace orvanta
