#pragma once
// What a configuration load works on: the parts of one device that loading a file, its
// lines and its pictures change.
#include <cstdint>

namespace orvanta {

struct ConfigState;
struct Display;
struct ObjectList;
class Storage;
class Trace;

struct LoadContext {
    Display& display;
    Storage& storage;
    ObjectList& objectList;
    int32_t& frameCounter;
    ConfigState& config;
    const Trace& trace;
};

} // namespace orvanta
