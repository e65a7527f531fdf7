#include "core/syntax/fields.h"

#include <cstring>
#include <new>

namespace orvanta {

FieldTable::FieldTable(const char* line) {
    const std::size_t length = std::strlen(line);
    try {
        copy_.assign(line, line + length + 1);
    } catch (const std::bad_alloc&) {
        valid_ = false;
        return;
    }
    // The loop stops before the last byte, so a ';' there stays part of the last field and
    // a line of one byte begins no field at all.
    int32_t count = 0;
    for (std::size_t p = 0; p + 1 < length; ++p) {
        if (count == 0) {
            begin_[0] = 0;
            present_[0] = true;
            count = 1;
        }
        if (copy_[p] == ';') {
            copy_[p] = '\0';
            ++separators_;
            // Separators past the eighth still end the text before them but begin nothing.
            if (count < kFieldSlots) ++count;
            if (count < kFieldSlots) {
                begin_[count - 1] = static_cast<int32_t>(p + 1);
                present_[count - 1] = true;
            }
        }
    }
}

const char* FieldTable::field(int32_t index) const {
    if (index < 0 || index >= kFieldSlots || !present_[index]) return "";
    return copy_.data() + begin_[index];
}

int32_t FieldTable::number(int32_t index) const {
    return readNumber(field(index));
}

int32_t FieldTable::fieldStart(int32_t index) const {
    if (index < 0 || index >= kFieldSlots || !present_[index]) return -1;
    return begin_[index];
}

int32_t FieldTable::fieldCount() const {
    int32_t n = 0;
    while (n < kFieldSlots && present_[n]) ++n;
    return n;
}

int32_t readNumber(const char* text, const char** end) {
    const char* p = text;
    // The white space atoi skips in the C locale, independent of the process's locale.
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulating in unsigned 32 bits keeps the low 32 bits of the decimal value however
    // long the digit string is.
    uint32_t value = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<uint32_t>(*p - '0');
        ++p;
    }
    if (end != nullptr) *end = p == digits ? text : p;
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}
} // namespace orvanta
