#pragma once
// Writing new numbers into the fields of one line while keeping every other byte: only the
// sign and digits the device reads as the number change.
#include <cstdint>
#include <string>
#include <vector>

#include "language/line_view.h"

namespace orvanta::language {

struct FieldValue {
    int32_t field; // 1 the first after the keyword
    int64_t value;
};

// Bytes begin .. end of a line replaced by `text`.
struct Splice {
    int32_t begin;
    int32_t end;
    std::string text;
};

// The splices, in line order, that make each field of `values` read its value. A number's
// sign and digits are replaced; a field without digits is replaced whole; missing fields
// are appended after ';', those in between as 0. Nothing, and a reason in `refusal`, when
// a value lies outside 32 bits.
std::vector<Splice> fieldSplices(const LineView& line, std::vector<FieldValue> values,
                                 std::string& refusal);

std::string spliced(std::string_view line, const std::vector<Splice>& splices);

} // namespace orvanta::language
