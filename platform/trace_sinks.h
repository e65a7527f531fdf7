#pragma once
#include <cstddef>

namespace orvanta {

// Trace sinks for the programs: standard error, unbuffered, and a C stream.
void traceToStderr(void* context, const char* data, std::size_t length);
void traceToFile(void* context /* FILE* */, const char* data, std::size_t length);

#ifdef _WIN32
// The debugger output (OutputDebugStringA), one call per piece: where the Windows window
// program writes its trace, for a debugger or a debug-output viewer to show.
void traceToDebugger(void* context, const char* data, std::size_t length);
#endif

} // namespace orvanta
