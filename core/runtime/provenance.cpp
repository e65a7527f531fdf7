#include "core/runtime/provenance.h"

#include <algorithm>
#include <limits>

#include "core/runtime/objects.h"

namespace orvanta {

namespace {

constexpr int32_t kPixels = DISPLAY_SIZE * DISPLAY_SIZE;
constexpr std::size_t kMaxEntries = std::size_t{std::numeric_limits<OwnerIndex>::max()} + 1;

const PixelOwner& noOwner() {
    static const PixelOwner none;
    return none;
}

} // namespace

std::string describeOwner(const PixelOwner& owner) {
    switch (owner.kind) {
    case PixelOwner::Kind::None:
        return "none";
    case PixelOwner::Kind::Fps:
        return "fps";
    case PixelOwner::Kind::Line:
        break;
    }
    return owner.file + ":" + std::to_string(owner.line) + ": " + owner.keyword;
}

Provenance::Provenance() {
    entries_.push_back({});
    entries_.push_back({PixelOwner::Kind::Fps, "", 0, ""});
    inUse_ = {true, true};
}

void Provenance::start(Display& display) {
    map_ = std::make_unique<OwnerIndex[]>(kPixels); // every pixel kOwnerNone
    display.owners = map_.get();
    display.writer = kOwnerNone;
}

OwnerIndex Provenance::lineOwner(const char* file, int32_t line, const char* keyword,
                                 const ObjectList& live) {
    const PixelOwner wanted{PixelOwner::Kind::Line, file, line, keyword};
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (inUse_[i] && entries_[i] == wanted) return static_cast<OwnerIndex>(i);
    auto freeEntry = std::find(inUse_.begin(), inUse_.end(), false);
    if (freeEntry == inUse_.end() && entries_.size() == kMaxEntries) {
        // At most one entry per pixel and per slot is referred to, far fewer than fit.
        forgetUnused(live);
        freeEntry = std::find(inUse_.begin(), inUse_.end(), false);
    }
    if (freeEntry == inUse_.end()) {
        entries_.push_back(wanted);
        inUse_.push_back(true);
        return static_cast<OwnerIndex>(entries_.size() - 1);
    }
    const auto index = static_cast<std::size_t>(freeEntry - inUse_.begin());
    entries_[index] = wanted;
    inUse_[index] = true;
    return static_cast<OwnerIndex>(index);
}

void Provenance::forgetUnused(const ObjectList& live) {
    std::vector<bool> referred(entries_.size(), false);
    referred[kOwnerNone] = referred[kOwnerFps] = true;
    if (map_ != nullptr)
        for (int32_t i = 0; i < kPixels; ++i) referred[map_[i]] = true;
    for (int32_t i = 0; i < live.objectCount; ++i)
        if (live.slots[i] != nullptr) referred[live.slots[i]->owner] = true;
    // Trailing free entries are dropped; the others wait to be reused.
    while (entries_.size() > 2 && !referred[entries_.size() - 1]) {
        entries_.pop_back();
        referred.pop_back();
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (!referred[i]) entries_[i] = {};
    inUse_ = std::move(referred);
}

const PixelOwner& Provenance::ownerAt(int32_t x, int32_t y) const {
    if (map_ == nullptr || x < 0 || x >= DISPLAY_SIZE || y < 0 || y >= DISPLAY_SIZE)
        return noOwner();
    return entries_[map_[y * DISPLAY_SIZE + x]];
}

std::vector<PixelPosition> Provenance::pixelsOf(const std::string& file, int32_t line) const {
    std::vector<PixelPosition> pixels;
    if (map_ == nullptr) return pixels;
    for (int32_t i = 0; i < kPixels; ++i) {
        const PixelOwner& owner = entries_[map_[i]];
        if (owner.kind == PixelOwner::Kind::Line && owner.line == line && owner.file == file)
            pixels.push_back({i % DISPLAY_SIZE, i / DISPLAY_SIZE});
    }
    return pixels;
}

std::size_t Provenance::ownersInUse() const {
    return static_cast<std::size_t>(std::count(inUse_.begin(), inUse_.end(), true));
}

} // namespace orvanta
