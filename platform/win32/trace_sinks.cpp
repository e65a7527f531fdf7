#include "platform/trace_sinks.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace orvanta {

void traceToStderr(void*, const char* data, std::size_t length) {
    // Unbuffered and untranslated: a line end stays the single byte LF.
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    while (length > 0 && err != nullptr && err != INVALID_HANDLE_VALUE) {
        const DWORD chunk = length > 0x10000 ? 0x10000 : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(err, data, chunk, &written, nullptr) || written == 0) return;
        data += written;
        length -= written;
    }
}

void traceToFile(void* context, const char* data, std::size_t length) {
    std::fwrite(data, 1, length, static_cast<std::FILE*>(context));
}

void traceToDebugger(void*, const char* data, std::size_t length) {
    // OutputDebugStringA takes a terminated string: each piece is copied once, on the stack
    // for the short pieces that make up nearly all of the trace, and handed over in one call.
    char small[256];
    if (length < sizeof small) {
        std::copy(data, data + length, small);
        small[length] = '\0';
        OutputDebugStringA(small);
    } else {
        OutputDebugStringA(std::string(data, length).c_str());
    }
}

} // namespace orvanta
