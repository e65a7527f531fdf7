#include "core/runtime/objects.h"

#include "core/trace/trace.h"

namespace orvanta {

void AddMandDObject(ObjectList& list, const Trace& trace, std::unique_ptr<MandDObject> object) {
    if (!object) return;
    if (list.objectCount >= kObjectSlots) return; // destroyed when `object` goes out of scope
    ++list.objectCount;
    traceText(trace, "AddMandDObject ");
    traceIntLine(trace, list.objectCount);
    list.slots[list.objectCount - 1] = std::move(object);
}

void deleteAllObjects(ObjectList& list) {
    for (int32_t i = 0; i < list.objectCount; ++i) list.slots[i].reset();
    list.objectCount = 0;
}

MandDObject* lastObject(const ObjectList& list) {
    return list.objectCount > 0 ? list.slots[list.objectCount - 1].get() : nullptr;
}

} // namespace orvanta
