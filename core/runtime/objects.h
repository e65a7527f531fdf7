#pragma once
// The display objects: the abstract base every instrument derives from, what an object's
// frame works on, and the ten-slot list that owns the objects.
#include <cstdint>
#include <memory>

#include "core/display/surface.h"
#include "core/runtime/reading.h"

namespace orvanta {

struct Display;
class RandomSource;
class Trace;

// What an object's run draws on and reads: the display, the shared random source, the
// trace and this frame's frameCounter (-1 in the first frame after a load).
struct FrameContext {
    Display& display;
    RandomSource& random;
    const Trace& trace;
    int32_t frameCounter;
};

class MandDObject {
  public:
    virtual ~MandDObject() = default;
    // One frame of the object's work. Every implementation asks isDue() first.
    virtual void run(FrameContext& frame) = 0;
    // True when interval is 0, otherwise when frameCounter is a multiple of interval.
    bool isDue(int32_t frameCounter) const {
        if (interval == 0) return true;
        // 64-bit remainder: the one overflowing 32-bit case, INT32_MIN % -1, cannot trap.
        return static_cast<int64_t>(frameCounter) % static_cast<int64_t>(interval) == 0;
    }

    int32_t interval = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t color = 0;
    int32_t bgColor = 0;
    // The line that made the object, for a display that records who drew each pixel.
    OwnerIndex owner = kOwnerNone;

    // The reading a designer can hold this object at; kind None when it has none.
    virtual ReadingRange readingRange() const { return {}; }
    // An override begins: what the object shows starts from its own reading.
    virtual void beginReading() {}
    // A designer's override of what the object shows; null, as on the device, unless one
    // is set. Every run tests it once and otherwise runs as the device does.
    std::shared_ptr<const ReadingOverride> reading;
    // The keyword and the line (numbered as an editor numbers it) that made the object.
    const char* keyword = nullptr;
    int32_t sourceLine = 0;
};

inline constexpr int32_t kObjectSlots = 10;

struct ObjectList {
    std::unique_ptr<MandDObject> slots[kObjectSlots];
    int32_t objectCount = 0; // slots 0 .. objectCount - 1 are taken, in the order added
};

// Takes ownership. With all ten slots taken the object is destroyed at once, silently.
void AddMandDObject(ObjectList& list, const Trace& trace, std::unique_ptr<MandDObject> object);
void deleteAllObjects(ObjectList& list);
// The most recently stored object, or null when the list is empty.
MandDObject* lastObject(const ObjectList& list);

} // namespace orvanta
