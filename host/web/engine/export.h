#pragma once
// ORVANTA_EXPORT keeps a C function in a WebAssembly module under its own name with a
// leading underscore, whichever of the page's modules it is linked into.
#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#define ORVANTA_EXPORT EMSCRIPTEN_KEEPALIVE
#else
#define ORVANTA_EXPORT
#endif
