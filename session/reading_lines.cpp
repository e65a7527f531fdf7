#include "session/reading_lines.h"

#include "core/config/loader.h"
#include "core/device/device.h"

namespace orvanta {

std::optional<FileObjects> objectsOfFile(Folder& folder, const std::string& file) {
    if (folder.open(file.c_str()) == nullptr) return std::nullopt;
    VirtualClock clock;
    Device scratch(clock, folder);
    LoadContext load = scratch.loadContext();
    LoadConfigFromSD(load, file.c_str());
    FileObjects found;
    found.lines = load.lineNumber;
    const ObjectList& list = scratch.objectList;
    for (int32_t i = 0; i < list.objectCount; ++i) {
        const MandDObject& object = *list.slots[i];
        found.objects.push_back({object.sourceLine, object.keyword != nullptr ? object.keyword : "",
                                 object.readingRange()});
    }
    return found;
}

} // namespace orvanta
