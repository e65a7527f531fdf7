#include "core/runtime/readings.h"

#include <algorithm>

#include "core/runtime/objects.h"
#include "core/trace/trace.h"

namespace orvanta {

namespace {

void traceChange(const Trace& trace, const char* verb, const Readings::Entry& entry,
                 const std::string& value) {
    traceText(trace, verb);
    traceText(trace, " ");
    traceText(trace, entry.file.c_str());
    traceText(trace, ":");
    traceInt(trace, entry.line);
    if (!value.empty()) {
        traceText(trace, " ");
        traceText(trace, value.c_str());
    }
    traceLineEnd(trace);
}

void traceSet(const Trace& trace, const Readings::Entry& entry) {
    if (entry.reading->mode == ReadingMode::Sweep)
        traceChange(trace, "Sweep", entry, "");
    else
        traceChange(trace, "Hold", entry, formatReading(entry.range, *entry.reading));
}

// Hands the object back its own reading from its next due frame.
void letGo(Readings::Entry& entry) {
    entry.reading->mode = ReadingMode::Release;
}

void show(Readings::Entry& entry, MandDObject& object) {
    const bool starting = object.reading == nullptr;
    object.reading = entry.reading;
    entry.object = &object;
    if (starting) object.beginReading();
}

} // namespace

const Readings::Entry* Readings::find(const std::string& file, int32_t line) const {
    for (const Entry& entry : entries_)
        if (entry.line == line && entry.file == file) return &entry;
    return nullptr;
}

void Readings::set(const Trace& trace, const ObjectList& live, const char* loaded,
                   const std::string& file, int32_t line, const std::string& keyword,
                   const ReadingRange& range, const ReadingOverride& reading) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.line == line && e.file == file; });
    if (it != entries_.end() && it->keyword != keyword) {
        letGo(*it);
        entries_.erase(it);
        it = entries_.end();
    }
    if (it == entries_.end()) {
        entries_.push_back(
            {file, line, keyword, range, std::make_shared<ReadingOverride>(reading)});
        it = entries_.end() - 1;
    } else {
        // Changed in place, so that a live object sees the new target at once.
        *it->reading = reading;
        it->range = range;
    }
    fitReading(range, *it->reading);
    if (it->object == nullptr && file == loaded) {
        for (int32_t i = 0; i < live.objectCount; ++i) {
            MandDObject* object = live.slots[i].get();
            if (object != nullptr && object->sourceLine == line && object->keyword != nullptr &&
                keyword == object->keyword) {
                show(*it, *object);
                break;
            }
        }
    }
    traceSet(trace, *it);
}

bool Readings::release(const Trace& trace, const std::string& file, int32_t line) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return e.line == line && e.file == file; });
    if (it == entries_.end()) return false;
    traceChange(trace, "Release", *it, "");
    letGo(*it);
    entries_.erase(it);
    return true;
}

void Readings::forgetObjects() {
    for (Entry& entry : entries_) entry.object = nullptr;
}

void Readings::attach(const char* file, int32_t line, const char* keyword, MandDObject& object) {
    object.keyword = keyword;
    object.sourceLine = line;
    for (Entry& entry : entries_) {
        if (entry.line != line || entry.file != file) continue;
        if (entry.keyword != keyword) return;
        // The line may have changed its fields, and with them the range.
        entry.range = object.readingRange();
        if (entry.range.kind == ReadingKind::None) return;
        fitReading(entry.range, *entry.reading);
        show(entry, object);
        return;
    }
}

void Readings::loaded(const Trace& trace, const char* file) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->object == nullptr && it->file == file) {
            traceChange(trace, "Release", *it, "");
            letGo(*it);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void Readings::moveLines(const Trace& trace, const ObjectList& live, const char* loaded,
                         const std::string& file,
                         const std::vector<std::pair<int32_t, int32_t>>& moves) {
    const auto moved = [&moves](int32_t line) {
        for (const auto& [from, to] : moves)
            if (from == line) return to;
        return line;
    };
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->file != file) {
            ++it;
            continue;
        }
        const int32_t to = moved(it->line);
        if (to < 1) {
            traceChange(trace, "Release", *it, "");
            letGo(*it);
            it = entries_.erase(it);
        } else {
            it->line = to;
            ++it;
        }
    }
    if (file != loaded) return;
    for (int32_t i = 0; i < live.objectCount; ++i)
        if (live.slots[i] != nullptr) live.slots[i]->sourceLine = moved(live.slots[i]->sourceLine);
}

void Readings::traceAll(const Trace& trace) const {
    for (const Entry& entry : entries_) traceSet(trace, entry);
}

} // namespace orvanta
