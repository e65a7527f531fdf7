#pragma once
#include <cstddef>

namespace orvanta {

// Trace sinks for the programs: standard error, unbuffered, and a C stream.
void traceToStderr(void* context, const char* data, std::size_t length);
void traceToFile(void* context /* FILE* */, const char* data, std::size_t length);

} // namespace orvanta
