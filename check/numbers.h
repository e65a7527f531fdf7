#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "check/report.h"

namespace orvanta::check {

struct NumberFinding {
    Severity severity;
    std::string message;
    const char* code;
    std::optional<std::string> fix; // the field as it should read, where that is plain
};

// What the device's number reading makes of the text of the numeric field `name`, when
// that is not what the text says: an empty field, no number, hexadecimal, trailing text,
// more than 32 bits. `value` receives the number the device reads.
std::optional<NumberFinding> checkNumber(const std::string& name, std::string text, int32_t* value);

} // namespace orvanta::check
