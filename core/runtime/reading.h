#pragma once
// A reading override: a designer's hold or sweep of one instrument's reading, which the
// device itself never has. An instrument under an override still draws every random value
// it would draw without one; only what it shows follows the override.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvanta {

// What an instrument's reading is.
enum class ReadingKind : uint8_t {
    None,    // the object has no reading to hold
    Level,   // a bar gauge's lit bars
    Ends,    // a horizon's left and right end offsets, two readings of one range
    Heading, // a compass card's heading
    Needle,  // a needle's value, in steps of `step` from `low`
    Bearing, // where the next echo is drawn
    Digits,  // the digits a counter prints
    Phase,   // a blinker lit (1) or dark (0)
};

// The reading's range; `low` and `high` are its two ends. A Digits reading has `digits`
// digits, each from 0 to 9.
struct ReadingRange {
    ReadingKind kind = ReadingKind::None;
    int32_t low = 0;
    int32_t high = 0;
    int32_t step = 1;
    int32_t digits = 0;
};

enum class ReadingMode : uint8_t {
    Hold,    // walk to the held reading, then stay
    Sweep,   // walk to one end, then to the other, again and again
    Release, // the next due frame shows the instrument's own reading again and drops this
};

struct ReadingOverride {
    ReadingMode mode = ReadingMode::Hold;
    int32_t value[2] = {0, 0}; // an Ends reading uses both, Phase 1 for lit
    std::string digits;        // a Digits reading
};

// A held value read from text: "9", "-16,15" for two ends, "0042" for four digits, "lit" or
// "dark". A number outside the range is clamped, and a needle value snaps to the nearest
// step; `clamped` tells when either happened.
struct ParsedReading {
    bool ok = false;
    bool clamped = false;
    std::string error; // when not ok: what is wrong with the text
    ReadingOverride reading;
};
ParsedReading parseReading(const ReadingRange& range, std::string_view text);

// The held value as parseReading reads it, or "" for a sweep.
std::string formatReading(const ReadingRange& range, const ReadingOverride& reading);
// A hold at one end of the range.
ReadingOverride readingEnd(const ReadingRange& range, bool high);
// The nearest value a hold can show: within the range, on the needle's steps.
int32_t clampReading(const ReadingRange& range, int64_t value);
// `reading` fitted into `range`; true when that changed it.
bool fitReading(const ReadingRange& range, ReadingOverride& reading);
// "Level", "Ends", ... as the session and the page name the kinds.
const char* readingKindName(ReadingKind kind);

// A blinker's phase under an override, given its own phase `own`: a hold shows the held
// phase, a sweep blinks as the device does. A release returns `own` and drops the override.
bool shownPhase(std::shared_ptr<const ReadingOverride>& reading, bool own);

// The reading an instrument shows under an override, walking at the instrument's own step.
struct ReadingWalk {
    int32_t shown = 0;
    bool up = true; // a sweep's way: to `high` when true
    // One due frame: a hold walks to `held` and stays there; a sweep turns at each end.
    int32_t next(const ReadingOverride& reading, int32_t held, int32_t low, int32_t high,
                 int32_t step);
};

} // namespace orvanta
