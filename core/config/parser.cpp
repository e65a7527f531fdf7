#include "core/config/parser.h"

#include "core/config/config_state.h"
#include "core/config/keywords.h"
#include "core/config/load_context.h"
#include "core/display/surface.h"
#include "core/runtime/objects.h"
#include "core/runtime/provenance.h"
#include "core/runtime/readings.h"
#include "core/syntax/fields.h"

namespace orvanta {

void parseConfigLine(LoadContext& load, const char* line) {
    const FieldTable fields(line);
    if (!fields.valid()) return;
    const KeywordSpec* spec = findKeyword(fields.field(0));
    if (spec == nullptr) return;
    const bool draws = spec->kind == KeywordKind::Picture || spec->kind == KeywordKind::Instrument;
    if (!draws) {
        spec->action(load, fields);
        return;
    }
    const int32_t objectsBefore = load.objectList.objectCount;
    if (!load.provenance.recording()) {
        spec->action(load, fields);
    } else {
        // The picture's pixels belong to this line, and so do those the new object draws.
        const OwnerIndex owner = load.provenance.lineOwner(
            load.config.thisConfigName, load.lineNumber, spec->name, load.objectList);
        load.display.writer = owner;
        spec->action(load, fields);
        load.display.writer = kOwnerNone;
        if (load.objectList.objectCount > objectsBefore) lastObject(load.objectList)->owner = owner;
    }
    if (load.readings != nullptr && load.objectList.objectCount > objectsBefore)
        load.readings->attach(load.config.thisConfigName, load.lineNumber, spec->name,
                              *lastObject(load.objectList));
}

} // namespace orvanta
