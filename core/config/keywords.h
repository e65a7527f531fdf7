#pragma once
// The one keyword table: it drives the parser's dispatch, the checker and the
// documentation. Entries stand in dispatch order.
#include <cstdint>

#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;
struct LoadContext;

enum class KeywordKind {
    Picture,          // "image"
    Instrument,       // builds a display object
    Colour,           // sets the last object's colour
    BackgroundColour, // sets the last object's background colour
    NextFile,         // names the successor in the chain
    Setting,          // any other command
};
enum class FieldKind { Number, Colour, Text };

struct FieldSpec {
    const char* name;
    FieldKind kind;
    const char* meaning;
    const char* unit = ""; // what the number counts, such as "pixels"; empty for none
};

struct KeywordSpec {
    const char* name;
    KeywordKind kind;
    const char* summary;
    int32_t fieldCount;
    FieldSpec fields[8];
    void (*action)(LoadContext& load, const FieldTable& fields);
    // Instruments only: what a line tells the checker about the drawing.
    LineFacts (*facts)(const FieldTable& fields) = nullptr;
    // Instruments that draw in fixed colours: why "SetColor" or "SetBGColor" changes
    // nothing on them, as a phrase after the instrument's name; null when it does.
    const char* fixedColour = nullptr;
    const char* fixedBackground = nullptr;
};

bool isCommand(KeywordKind kind);

const KeywordSpec* keywordTable();
int32_t keywordCount();
// The entry whose name equals `keyword` byte for byte, or null.
const KeywordSpec* findKeyword(const char* keyword);

} // namespace orvanta
