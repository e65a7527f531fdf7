#pragma once
// The configuration line format: splitting a line into fields at ';' and reading numbers
// as atoi does.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta {

inline constexpr int32_t kFieldSlots = 10; // field 0 the keyword, 1..8 arguments, 9 never filled

// A private copy of a line split into fields. Every field is a terminated string inside
// the copy; fields the line does not have are empty strings.
class FieldTable {
  public:
    explicit FieldTable(const char* line);
    const char* field(int32_t index) const;
    int32_t number(int32_t index) const; // readNumber of the field
    // The byte offset in the line where field `index` begins, or -1 when it did not begin.
    int32_t fieldStart(int32_t index) const;
    // The number of separators the splitting loop saw (the last byte is never examined).
    int32_t separatorCount() const { return separators_; }
    // The number of fields that began (0 for a line shorter than two bytes).
    int32_t fieldCount() const;
    bool valid() const { return valid_; } // false when the copy could not be allocated

  private:
    std::vector<char> copy_;
    int32_t begin_[kFieldSlots] = {};
    bool present_[kFieldSlots] = {};
    int32_t separators_ = 0;
    bool valid_ = true;
};

// The decimal integer at the start of `text` as atoi reads it: leading white space, an
// optional sign, then digits. A value outside 32 bits keeps the low 32 bits of its decimal
// value. No digits gives 0. `end`, when given, receives the position after the last digit.
int32_t readNumber(const char* text, const char** end = nullptr);

} // namespace orvanta
