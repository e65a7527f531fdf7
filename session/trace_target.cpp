#include "session/trace_target.h"

#include <cerrno>
#include <cstring>

#include "platform/open_file.h"
#include "platform/trace_sinks.h"

namespace orvanta {

TraceTarget::~TraceTarget() {
    if (file_ != nullptr) std::fclose(file_);
}

bool TraceTarget::open(const std::string& where, std::string* error) {
    if (where == "-") {
        toStderr_ = true;
        return true;
    }
    file_ = openFile(where, "wb");
    if (file_ == nullptr) {
        *error = "cannot write trace '" + where + "': " + std::strerror(errno);
        return false;
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

Trace TraceTarget::trace(Trace fallback) const {
    if (toStderr_) return Trace(traceToStderr, nullptr);
    if (file_ != nullptr) return Trace(traceToFile, file_);
    return fallback;
}

} // namespace orvanta
