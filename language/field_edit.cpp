#include "language/field_edit.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/config/keywords.h"
#include "core/syntax/fields.h"

namespace orvanta::language {

namespace {

bool fits32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

std::string fieldName(const LineView& line, int32_t field) {
    const KeywordSpec* spec = line.spec();
    if (spec != nullptr && field >= 1 && field <= spec->fieldCount)
        return spec->fields[field - 1].name;
    return "field " + std::to_string(field);
}

// The bytes of a present field that the new number replaces: the sign and digits the
// device reads, or the whole field when it reads no digits. A ';' that is the line's last
// byte belongs to the last field but is no part of any number, so it stays.
Splice numberSplice(const LineView& line, int32_t field, int64_t value) {
    const char* text = line.fields().field(field);
    const int32_t start = line.fields().fieldStart(field);
    const char* end = nullptr;
    readNumber(text, &end);
    int32_t begin = 0, stop = 0;
    if (end == text) {
        stop = static_cast<int32_t>(std::strlen(text));
        const bool lastByte = start + stop == static_cast<int32_t>(line.text().size());
        if (lastByte && stop > 0 && text[stop - 1] == ';') --stop;
    } else {
        const char* p = text;
        while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
        begin = static_cast<int32_t>(p - text);
        stop = static_cast<int32_t>(end - text);
    }
    return {start + begin, start + stop, std::to_string(value)};
}

} // namespace

std::vector<Splice> fieldSplices(const LineView& line, std::vector<FieldValue> values,
                                 std::string& refusal) {
    std::vector<Splice> out;
    for (const FieldValue& v : values)
        if (!fits32(v.value)) {
            refusal = "the " + fieldName(line, v.field) + " would be " + std::to_string(v.value) +
                      ", outside the 32-bit numbers the device reads";
            return out;
        }
    std::sort(values.begin(), values.end(),
              [](const FieldValue& a, const FieldValue& b) { return a.field < b.field; });
    const FieldTable& fields = line.fields();
    const int32_t present = std::max(0, fields.fieldCount() - 1);
    int32_t lastMissing = 0; // the last missing field that must be written
    for (const FieldValue& v : values) {
        if (v.field <= present) {
            if (fields.number(v.field) != v.value)
                out.push_back(numberSplice(line, v.field, v.value));
        } else if (v.value != 0) {
            lastMissing = v.field;
        }
    }
    if (lastMissing == 0) return out;
    std::string appended;
    for (int32_t field = present + 1; field <= lastMissing; ++field) {
        int64_t value = 0;
        for (const FieldValue& v : values)
            if (v.field == field) value = v.value;
        appended += ';';
        appended += std::to_string(value);
    }
    // A ';' as the line's last byte stays part of the last field; once bytes follow it, it
    // separates, so it stands in for the first appended ';'.
    const std::string& text = line.text();
    if (text.size() >= 2 && text.back() == ';') appended.erase(0, 1);
    const auto at = static_cast<int32_t>(text.size());
    out.push_back({at, at, appended});
    return out;
}

std::string spliced(std::string_view line, const std::vector<Splice>& splices) {
    std::string out;
    std::size_t from = 0;
    for (const Splice& s : splices) {
        out.append(line.substr(from, static_cast<std::size_t>(s.begin) - from));
        out += s.text;
        from = static_cast<std::size_t>(s.end);
    }
    out.append(line.substr(from));
    return out;
}

} // namespace orvanta::language
