#pragma once
// The display objects: the abstract base every instrument derives from, the ten-slot
// list that owns them, the frame counter and the shared random source.
#include <cstdint>
#include <memory>

namespace orvanta {

class MandDObject {
  public:
    virtual ~MandDObject() = default;
    // One frame of the object's work. Every implementation asks isDue() first.
    virtual void run() = 0;
    // True when interval is 0, otherwise when frameCounter is a multiple of interval.
    bool isDue() const;

    int32_t interval = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t color = 0;
    int32_t bgColor = 0;
};

inline constexpr int32_t kObjectSlots = 10;

extern std::unique_ptr<MandDObject> objectList[kObjectSlots];
extern int32_t objectCount;
// -1 at start and in the first frame after each successful load, otherwise 0..9999.
extern int32_t frameCounter;

// Takes ownership. With all ten slots taken the object is destroyed at once, silently.
void AddMandDObject(std::unique_ptr<MandDObject> object);
void deleteAllObjects();
// The most recently stored object, or null when the list is empty.
MandDObject* lastObject();

// The one shared pseudo-random source: state x 214013 + 2531011, (state >> 16) & 0x7FFF.
int32_t rand();
// Advances the random source as `count` calls of rand() would, in logarithmic time.
void skipRandom(uint64_t count);
void resetRandom();
uint32_t randomState();

// Puts the list, the frame counter and the random source back to their start state.
void resetObjectState();

} // namespace orvanta
