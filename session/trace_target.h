#pragma once
// Where a window program writes its trace when asked to: standard error for "-", or a
// file. Without a target the program keeps its own default (nothing on Linux, the
// debugger output on Windows).
#include <cstdio>
#include <string>

#include "core/trace/trace.h"

namespace orvanta {

class TraceTarget {
  public:
    TraceTarget() = default;
    TraceTarget(const TraceTarget&) = delete;
    TraceTarget& operator=(const TraceTarget&) = delete;
    ~TraceTarget();

    // Opens `where` ("-" or a file path, written unbuffered so that a reader sees each
    // piece at once). False, with `error` set, when the file cannot be written.
    bool open(const std::string& where, std::string* error);
    // The trace to give the device: the target's when one is open, else `fallback`.
    Trace trace(Trace fallback) const;

  private:
    std::FILE* file_ = nullptr;
    bool toStderr_ = false;
};

} // namespace orvanta
