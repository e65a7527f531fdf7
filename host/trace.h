#pragma once
// The diagnostic trace: short labels and decimal numbers, handed piece by piece to one
// replaceable sink. Nothing is buffered, prefixed or time-stamped; a line end is the
// single byte LF, always a piece of its own. Formatting never allocates.
#include <cstddef>
#include <cstdint>

namespace orvanta {

// A sink receives each piece as it is written. `context` is the pointer given with it.
using TraceSink = void (*)(void* context, const char* data, std::size_t length);

// Replaces the sink; a null sink discards the trace. The default writes to standard error.
void setTraceSink(TraceSink sink, void* context);
void resetTraceSink();

// Sinks for common targets.
void traceToStderr(void* context, const char* data, std::size_t length);
void traceToFile(void* context /* FILE* */, const char* data, std::size_t length);

void traceText(const char* text);
void traceLine(const char* text);
void traceLineEnd();
void traceError(const char* operation);
void traceInt(int32_t value);
void traceIntLine(int32_t value);
void traceIntPair(int32_t first, int32_t second);

// Formats a signed 32-bit number as "%i" does into `buffer` (at least 12 bytes) and
// returns the number of characters written, without a terminator.
std::size_t formatInt32(int32_t value, char* buffer);

} // namespace orvanta
