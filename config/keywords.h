#pragma once
// The one keyword table: it drives the parser's dispatch, the checker and the
// documentation. Entries stand in dispatch order.
#include <cstdint>

namespace orvanta {

class FieldTable;

enum class KeywordKind { Picture, Instrument, Command };
enum class FieldKind { Number, Colour, Text };

struct FieldSpec {
    const char* name;
    FieldKind kind;
    const char* meaning;
};

struct KeywordSpec {
    const char* name;
    KeywordKind kind;
    const char* summary;
    int32_t fieldCount;
    FieldSpec fields[8];
    void (*action)(const FieldTable& fields);
};

const KeywordSpec* keywordTable();
int32_t keywordCount();
// The entry whose name equals `keyword` byte for byte, or null.
const KeywordSpec* findKeyword(const char* keyword);

} // namespace orvanta
