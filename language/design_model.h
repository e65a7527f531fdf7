#pragma once
// A document as the design questions see it: its lines as the device reads them, which of
// them draw, which objects come to life, and which object each colour line acts on.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/geometry.h"
#include "language/line_view.h"

namespace orvanta::language {

enum class LineRole { Other, Picture, Instrument, Colour };

struct DesignModel {
    std::string bytes;
    std::vector<std::string_view> lines; // views into `bytes`, without their line ends
    std::vector<LineView> views;
    std::vector<LineRole> roles;
    // For a colour line, the instrument line whose object it acts on when read, or -1 when
    // it comes before every instrument line. -1 for every other line.
    std::vector<int32_t> actsOn;
    std::vector<bool> live;     // an instrument line among the first ten
    int32_t instruments = 0;    // instrument lines, the dead ones past the tenth included
    std::string lineEnd = "\n"; // the file's own: its first line end
    bool lastLineEnded = true;  // false when the last line has no line end

    // The colour lines acting on the object of instrument line `line`, in file order.
    std::vector<int32_t> colourLinesOf(int32_t line) const;
    const GeometrySpec* geometry(int32_t line) const;
    int32_t count() const { return static_cast<int32_t>(lines.size()); }
};

DesignModel readModel(std::string bytes);

// The objects that come to life and the colour lines that act on another object after an
// edit that moved lines by `lineMap`; empty when every object and colour line keeps its
// role.
std::string ownershipChanges(const DesignModel& before, const DesignModel& after,
                             const std::vector<int32_t>& lineMap);

} // namespace orvanta::language
