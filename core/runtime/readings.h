#pragma once
// The reading overrides of one device, each named by the file and line that make its
// object, as the owner of a pixel is named. An override outlives its object: a load of the
// same file gives it to the new object of that line, as long as the line still makes the
// same kind of object; a load that finds no such object drops it. Every change writes one
// trace line ("Hold config.txt:4 9", "Sweep config.txt:7", "Release config.txt:4"), which
// the device never writes, so a trace with overrides is never taken for the device's own.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime/reading.h"

namespace orvanta {

class MandDObject;
struct ObjectList;
class Trace;

class Readings {
  public:
    struct Entry {
        std::string file; // the device's name for the file
        int32_t line = 0;
        std::string keyword;
        ReadingRange range;
        std::shared_ptr<ReadingOverride> reading;
        MandDObject* object = nullptr; // the live object that shows it, if any
    };

    bool empty() const { return entries_.empty(); }
    const std::vector<Entry>& entries() const { return entries_; }
    const Entry* find(const std::string& file, int32_t line) const;

    // Holds or sweeps line `line` of `file`, which makes a `keyword` object whose reading
    // has `range`; `reading` fits that range. A live object of that line, among `live`
    // from the file `loaded`, shows it from its next due frame.
    void set(const Trace& trace, const ObjectList& live, const char* loaded,
             const std::string& file, int32_t line, const std::string& keyword,
             const ReadingRange& range, const ReadingOverride& reading);
    // Drops the override of that line; its object shows its own reading from its next due
    // frame. False when there was none.
    bool release(const Trace& trace, const std::string& file, int32_t line);

    // The objects of a load are about to be deleted.
    void forgetObjects();
    // A load of `file` made `object` from line `line` with `keyword`.
    void attach(const char* file, int32_t line, const char* keyword, MandDObject& object);
    // The load of `file` is complete: its overrides that found no object are dropped.
    void loaded(const Trace& trace, const char* file);
    // An edit moved lines of `file`: each pair is (old line, new line), a new line below 1
    // for a removed one. Lines not named stay where they are.
    void moveLines(const Trace& trace, const ObjectList& live, const char* loaded,
                   const std::string& file, const std::vector<std::pair<int32_t, int32_t>>& moves);
    // Writes the trace line of every override, as when they are set on a new device.
    void traceAll(const Trace& trace) const;

  private:
    std::vector<Entry> entries_;
};

} // namespace orvanta
