#include "platform/trace_sinks.h"

#include <cstdio>
#include <unistd.h>

namespace orvanta {

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

} // namespace orvanta
