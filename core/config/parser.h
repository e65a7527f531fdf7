#pragma once
// Carrying out one configuration line: its first field picks the keyword table's entry.
namespace orvanta {

struct LoadContext;

// Lines whose first field is no keyword are ignored, as are lines that cannot be copied.
void parseConfigLine(LoadContext& load, const char* line);

} // namespace orvanta
