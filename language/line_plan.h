#pragma once
// Turning a plan of line changes into the edits an editor applies: lines removed, lines
// added before others, and bytes replaced inside lines, with every other byte kept.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "language/design_model.h"
#include "language/field_edit.h"
#include "language/service.h"

namespace orvanta::language {

struct LinePlan {
    std::set<int32_t> removed;
    // New lines, without line ends, to stand before line `key`; key == line count appends.
    std::map<int32_t, std::vector<std::string>> added;
    std::map<int32_t, std::vector<Splice>> splices; // by line, each in line order
};

// The edits and the line map of `plan` on `model`; checks afterwards that every object and
// colour line keeps its role, and says so in the warning when not.
DesignEdit planEdit(const DesignModel& model, const LinePlan& plan);

DesignEdit refused(std::string reason);

} // namespace orvanta::language
