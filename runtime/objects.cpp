#include "runtime/objects.h"

#include "host/trace.h"

namespace orvanta {

std::unique_ptr<MandDObject> objectList[kObjectSlots];
int32_t objectCount = 0;
int32_t frameCounter = -1;

namespace {
uint32_t state = 1;
}

bool MandDObject::isDue() const {
    if (interval == 0) return true;
    // 64-bit remainder: the one overflowing 32-bit case, INT32_MIN % -1, cannot trap.
    return static_cast<int64_t>(frameCounter) % static_cast<int64_t>(interval) == 0;
}

void AddMandDObject(std::unique_ptr<MandDObject> object) {
    if (!object) return;
    if (objectCount >= kObjectSlots) return; // destroyed when `object` goes out of scope
    ++objectCount;
    traceText("AddMandDObject ");
    traceIntLine(objectCount);
    objectList[objectCount - 1] = std::move(object);
}

void deleteAllObjects() {
    for (int32_t i = 0; i < objectCount; ++i) objectList[i].reset();
    objectCount = 0;
}

MandDObject* lastObject() {
    return objectCount > 0 ? objectList[objectCount - 1].get() : nullptr;
}

int32_t rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

void skipRandom(uint64_t count) {
    // Composes the step x -> a x + c with itself by squaring: after k rounds (mul, add)
    // is the map of 2^k steps.
    uint32_t mul = 214013u, add = 2531011u;
    uint32_t accMul = 1u, accAdd = 0u;
    for (; count != 0; count >>= 1) {
        if ((count & 1u) != 0) {
            accMul = accMul * mul;
            accAdd = accAdd * mul + add;
        }
        add = add * mul + add;
        mul = mul * mul;
    }
    state = state * accMul + accAdd;
}

void resetRandom() {
    state = 1;
}
uint32_t randomState() {
    return state;
}

void resetObjectState() {
    deleteAllObjects();
    frameCounter = -1;
    resetRandom();
}

} // namespace orvanta
