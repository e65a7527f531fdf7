#include "core/trace/trace.h"

#include <cstring>
#include <string>

namespace orvanta {

void traceToString(void* context, const char* data, std::size_t length) {
    static_cast<std::string*>(context)->append(data, length);
}

std::size_t formatInt32(int32_t value, char* buffer) {
    // Work on the unsigned magnitude so that INT32_MIN needs no special case.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t length = 0;
    if (value < 0) buffer[length++] = '-';
    while (count > 0) buffer[length++] = digits[--count];
    return length;
}

void traceText(const Trace& trace, const char* text) {
    trace.emit(text, std::strlen(text));
}

void traceLine(const Trace& trace, const char* text) {
    traceText(trace, text);
    traceLineEnd(trace);
}

void traceLineEnd(const Trace& trace) {
    trace.emit("\n", 1);
}

void traceError(const Trace& trace, const char* operation) {
    traceText(trace, "Error: ");
    traceText(trace, operation);
    traceLineEnd(trace);
}

void traceInt(const Trace& trace, int32_t value) {
    char buffer[12];
    trace.emit(buffer, formatInt32(value, buffer));
}

void traceIntLine(const Trace& trace, int32_t value) {
    traceInt(trace, value);
    traceLineEnd(trace);
}

void traceIntPair(const Trace& trace, int32_t first, int32_t second) {
    // "%i %i" is one piece on the device; the line end follows as its own piece.
    char buffer[24];
    std::size_t length = formatInt32(first, buffer);
    buffer[length++] = ' ';
    length += formatInt32(second, buffer + length);
    trace.emit(buffer, length);
    traceLineEnd(trace);
}

} // namespace orvanta
