#pragma once
// Which configuration line wrote each pixel last. The display's owner map holds one small
// index per pixel; the table here turns an index into its owner by value: the file as the
// device names it, the line as an editor numbers it, and the keyword. Entries no pixel and
// no object refers to any more are reused, so reloading a file for hours does not grow it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/display/surface.h"

namespace orvanta {

struct ObjectList;

struct PixelOwner {
    enum class Kind { None, Fps, Line };
    Kind kind = Kind::None;
    std::string file;    // the device's name for the file
    int32_t line = 0;    // 1-based; a CR LF pair ends one line
    std::string keyword; // "image" or the instrument's keyword
    bool operator==(const PixelOwner&) const = default;
};

// "none", "fps" or "FILE:LINE: KEYWORD".
std::string describeOwner(const PixelOwner& owner);

struct PixelPosition {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PixelPosition&) const = default;
};

class Provenance {
  public:
    Provenance();
    // Starts recording on `display`: from now on every pixel written gets its writer, and
    // every pixel reads as none until then.
    void start(Display& display);
    bool recording() const { return map_ != nullptr; }

    // The index standing for this line; the same value always gets the same index while
    // it is in use. A full table first drops what neither a pixel nor `live` refers to.
    OwnerIndex lineOwner(const char* file, int32_t line, const char* keyword,
                         const ObjectList& live);
    // Frees the entries that neither a pixel nor an object of `live` refers to.
    void forgetUnused(const ObjectList& live);

    // The owner of pixel (x, y); none outside the surface and while not recording.
    const PixelOwner& ownerAt(int32_t x, int32_t y) const;
    // The pixels, row by row, whose owner is line `line` of `file`.
    std::vector<PixelPosition> pixelsOf(const std::string& file, int32_t line) const;
    // Entries in use, the two fixed ones included.
    std::size_t ownersInUse() const;

  private:
    std::unique_ptr<OwnerIndex[]> map_;
    std::vector<PixelOwner> entries_;
    std::vector<bool> inUse_;
};

} // namespace orvanta
