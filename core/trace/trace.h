#pragma once
// The diagnostic trace: short labels and decimal numbers, handed piece by piece to the sink
// of one channel. Nothing is buffered, prefixed or time-stamped; a line end is the single
// byte LF, always a piece of its own. Formatting never allocates.
#include <cstddef>
#include <cstdint>

namespace orvanta {

// A sink receives each piece as it is written. `context` is the pointer given with it.
using TraceSink = void (*)(void* context, const char* data, std::size_t length);

// One device's trace channel. Without a sink the trace is discarded.
class Trace {
  public:
    Trace() = default;
    Trace(TraceSink sink, void* context) : sink_(sink), context_(context) {}
    void setSink(TraceSink sink, void* context) {
        sink_ = sink;
        context_ = context;
    }
    void emit(const char* data, std::size_t length) const {
        if (sink_ != nullptr) sink_(context_, data, length);
    }

  private:
    TraceSink sink_ = nullptr;
    void* context_ = nullptr;
};

// A sink that appends to the std::string its context points to, for tests and tools that
// read the trace back.
void traceToString(void* context /* std::string* */, const char* data, std::size_t length);

void traceText(const Trace& trace, const char* text);
void traceLine(const Trace& trace, const char* text);
void traceLineEnd(const Trace& trace);
void traceError(const Trace& trace, const char* operation);
void traceInt(const Trace& trace, int32_t value);
void traceIntLine(const Trace& trace, int32_t value);
void traceIntPair(const Trace& trace, int32_t first, int32_t second);

// Formats a signed 32-bit number as "%i" does into `buffer` (at least 12 bytes) and
// returns the number of characters written, without a terminator.
std::size_t formatInt32(int32_t value, char* buffer);

} // namespace orvanta
