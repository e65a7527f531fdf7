#include "host/trace.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace orvanta {

namespace {
TraceSink currentSink = traceToStderr;
void* currentContext = nullptr;

inline void emit(const char* data, std::size_t length) {
    if (currentSink != nullptr) currentSink(currentContext, data, length);
}
} // namespace

void setTraceSink(TraceSink sink, void* context) {
    currentSink = sink;
    currentContext = context;
}

void resetTraceSink() {
    setTraceSink(traceToStderr, nullptr);
}

void traceToStderr(void*, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(STDERR_FILENO, data, length);
        if (n <= 0) return; // Writing never fails from the caller's point of view.
        data += n;
        length -= static_cast<std::size_t>(n);
    }
}

void traceToFile(void* context, const char* data, std::size_t length) {
    std::fwrite(data, 1, length, static_cast<std::FILE*>(context));
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

void traceText(const char* text) {
    emit(text, std::strlen(text));
}

void traceLine(const char* text) {
    traceText(text);
    traceLineEnd();
}

void traceLineEnd() {
    emit("\n", 1);
}

void traceError(const char* operation) {
    traceText("Error: ");
    traceText(operation);
    traceLineEnd();
}

void traceInt(int32_t value) {
    char buffer[12];
    emit(buffer, formatInt32(value, buffer));
}

void traceIntLine(int32_t value) {
    traceInt(value);
    traceLineEnd();
}

void traceIntPair(int32_t first, int32_t second) {
    // "%i %i" is one piece on the device; the line end follows as its own piece.
    char buffer[24];
    std::size_t length = formatInt32(first, buffer);
    buffer[length++] = ' ';
    length += formatInt32(second, buffer + length);
    emit(buffer, length);
    traceLineEnd();
}

} // namespace orvanta
