#include "check/numbers.h"

#include <cctype>
#include <cstdlib>

#include "check/words.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

std::optional<NumberFinding> checkNumber(const std::string& name, std::string text,
                                         int32_t* valueOut) {
    // A ';' inside a field can only be the line's final byte, which readNumber stops at.
    if (!text.empty() && text.back() == ';') text.pop_back();
    const char* begin = text.c_str();
    const char* end = nullptr;
    const int32_t value = readNumber(begin, &end);
    *valueOut = value;
    const std::string field = "field '" + name + "'";
    if (allWhiteSpace(text))
        return NumberFinding{Severity::Warning, field + " is empty and reads as 0", "empty-field",
                             std::nullopt};
    if (end == begin)
        return NumberFinding{Severity::Error,
                             field + " is " + inQuotes(text) +
                                 ", not a number — the device reads 0; " + "write a decimal number",
                             "not-a-number", std::nullopt};
    const std::string rest(end);
    const std::string digits = trimBlanks(std::string(begin, end));
    // Hexadecimal reads as its leading 0.
    if ((rest[0] == 'x' || rest[0] == 'X') && value == 0 && rest.size() > 1) {
        char* hexEnd = nullptr;
        const unsigned long long hex = std::strtoull(rest.c_str() + 1, &hexEnd, 16);
        if (hexEnd != rest.c_str() + 1 && allWhiteSpace(hexEnd) && hex <= 0xFFFFFFFFull)
            return NumberFinding{Severity::Error,
                                 field + " is " + inQuotes(text) +
                                     " — the device reads 0, it knows no "
                                     "hexadecimal; write " +
                                     std::to_string(hex),
                                 "hexadecimal-number", std::to_string(hex)};
    }
    if (!allWhiteSpace(rest))
        return NumberFinding{Severity::Warning,
                             field + " is " + inQuotes(text) + " — the device reads " +
                                 std::to_string(value) + " and ignores " + inQuotes(rest),
                             "trailing-text", std::to_string(value)};
    // The digits as written, to see whether they fit in 32 bits.
    std::size_t p = 0;
    while (p < digits.size() && std::isspace(static_cast<unsigned char>(digits[p]))) ++p;
    const bool negative = p < digits.size() && digits[p] == '-';
    if (p < digits.size() && (digits[p] == '-' || digits[p] == '+')) ++p;
    int64_t exact = 0;
    bool tooLong = false;
    for (; p < digits.size(); ++p) {
        exact = exact * 10 + (digits[p] - '0');
        if (exact > (int64_t{1} << 32)) {
            tooLong = true;
            break;
        }
    }
    if (negative) exact = -exact;
    if (tooLong || exact > INT32_MAX || exact < INT32_MIN)
        return NumberFinding{Severity::Warning,
                             field + " is " + inQuotes(trimBlanks(text)) +
                                 ", beyond 32 bits — the device reads " + std::to_string(value),
                             "number-beyond-32-bits", std::nullopt};
    return std::nullopt;
}

} // namespace orvanta::check
