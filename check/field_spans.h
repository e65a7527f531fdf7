#pragma once
// Where the fields of a configuration line lie, in bytes of the line, for findings and
// fixes that point at one field.
#include <cstdint>
#include <string>

namespace orvanta {
class FieldTable;
struct KeywordSpec;
} // namespace orvanta

namespace orvanta::check {

// Bytes of a line, 0-based, end exclusive.
struct Span {
    int32_t begin = 0;
    int32_t end = 0;
};

// The bytes of field `index` of a line (0 the keyword); an empty span at the end of the
// line for a field the line does not have. A line of one byte begins no field, and its
// keyword is the whole line.
Span fieldSpan(const FieldTable& fields, int32_t index, const std::string& text);
// Fields `first` to `last` of a line and the separators between them.
Span fieldsSpan(const FieldTable& fields, int32_t first, int32_t last, const std::string& text);
// The field of `spec` called `name` (1 the first after the keyword), or 0 for none.
int32_t fieldNamed(const KeywordSpec& spec, const char* name);

} // namespace orvanta::check
