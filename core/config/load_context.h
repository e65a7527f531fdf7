#pragma once
// What a configuration load works on: the parts of one device that loading a file, its
// lines and its pictures change.
#include <cstdint>

namespace orvanta {

struct ConfigState;
struct Display;
struct ObjectList;
class Provenance;
class Readings;
class Storage;
class Trace;

struct LoadContext {
    Display& display;
    Storage& storage;
    ObjectList& objectList;
    int32_t& frameCounter;
    ConfigState& config;
    const Trace& trace;
    Provenance& provenance;
    // The line being parsed, numbered as an editor numbers it.
    int32_t lineNumber = 0;
    // The reading overrides the new objects take on; null for none.
    Readings* readings = nullptr;
};

} // namespace orvanta
