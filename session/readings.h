#pragma once
// What the hosts see of the reading overrides: the objects of the file on show with their
// readings, and the answers to hold, sweep and release. Values are text as a designer
// writes them: "9", "-16,15" for a horizon's two ends, "0042" for four digits, "lit" or
// "dark". An override departs from the device, which always steps its instruments.
#include <cstdint>
#include <optional>
#include <string>

#include "core/runtime/reading.h"

namespace orvanta {

struct ReadingLine {
    std::string file; // the device's name for the file
    int32_t line = 0;
    std::string keyword;
    ReadingRange range;
    std::string low, high; // the two ends as values
    std::string mode;      // "random", "hold" or "sweep"
    std::string value;     // the held value; empty unless held
};

struct ReadingAnswer {
    bool ok = false;
    // When not ok: one line naming what is wrong. When ok: empty, or a note such as that
    // the value was clamped.
    std::string message;
};

// The four states the windows offer for every object of the file on show.
enum class ReadingsPreset { Device, AllAtMinimum, AllAtMaximum, SweepAll };

// The preset of a Design -> Readings menu command, or nothing for another command.
std::optional<ReadingsPreset> readingsPresetOfCommand(long command);

// "hold", "sweep" or "random".
const char* readingModeName(const ReadingOverride* reading);

} // namespace orvanta
