#include "session/settling_saves.h"

#include <algorithm>

namespace orvanta {

void SettlingSaves::written(const std::string& name, uint32_t nowMs) {
    const auto same = [&](const Write& w) { return w.name == name; };
    if (auto it = std::find_if(writes_.begin(), writes_.end(), same); it != writes_.end())
        it->lastMs = nowMs;
    else
        writes_.push_back({name, nowMs});
}

std::vector<std::string> SettlingSaves::takeSettled(uint32_t nowMs) {
    std::vector<std::string> settled;
    // The difference wraps with the clock, so a quiet period that spans the wrap still ends.
    const auto quiet = [&](const Write& w) { return nowMs - w.lastMs >= kSaveQuietMs; };
    for (const Write& w : writes_)
        if (quiet(w)) settled.push_back(w.name);
    std::erase_if(writes_, quiet);
    return settled;
}

} // namespace orvanta
