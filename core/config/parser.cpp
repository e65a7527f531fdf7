#include "core/config/parser.h"

#include "core/config/keywords.h"
#include "core/syntax/fields.h"

namespace orvanta {

void parseConfigLine(LoadContext& load, const char* line) {
    const FieldTable fields(line);
    if (!fields.valid()) return;
    const KeywordSpec* spec = findKeyword(fields.field(0));
    if (spec != nullptr) spec->action(load, fields);
}

} // namespace orvanta
