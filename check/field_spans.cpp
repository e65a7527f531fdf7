#include "check/field_spans.h"

#include <cstring>

#include "core/config/keywords.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

Span fieldSpan(const FieldTable& fields, int32_t index, const std::string& text) {
    const int32_t length = static_cast<int32_t>(text.size());
    if (index == 0 && fields.fieldCount() == 0) return {0, length};
    const int32_t start = fields.fieldStart(index);
    if (start < 0) return {length, length};
    return {start, start + static_cast<int32_t>(std::strlen(fields.field(index)))};
}

Span fieldsSpan(const FieldTable& fields, int32_t first, int32_t last, const std::string& text) {
    const Span from = fieldSpan(fields, first, text);
    Span to = from;
    for (int32_t i = last; i > first; --i)
        if (fields.fieldStart(i) >= 0) {
            to = fieldSpan(fields, i, text);
            break;
        }
    return {from.begin, to.end};
}

int32_t fieldNamed(const KeywordSpec& spec, const char* name) {
    for (int32_t i = 0; i < spec.fieldCount; ++i)
        if (std::strcmp(spec.fields[i].name, name) == 0) return i + 1;
    return 0;
}

} // namespace orvanta::check
