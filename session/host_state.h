#pragma once
// The host's own state and the menu commands that change it: zoom and Loop with their
// check marks. Kept free of the window system so that every host shares it and tests
// reach it without a display.
#include <cstdint>

#include "core/config/config_state.h"

namespace orvanta {

// The menu's check marks are mirrored here so that the commands decide from them without
// asking the window.
struct HostState {
    int32_t zoomFactor = 1;    // 1..4
    bool clearPending = false; // fill the client area with black at the next paint
    // The successor saved while Loop is on; empty while Loop is off, and also while Loop is
    // on but had an empty successor to save.
    char loopConfigName[kConfigNameSize] = "";
    int32_t checkedZoom = 0; // the checked "Fokus" item as its zoom, 0 for none (the start)
    bool loopChecked = false;
    bool showLine = false; // the fifth overlay text: the line under the cursor
};

// A "Fokus" item: zoom 1..4. Choosing the already checked zoom clears the window again.
// Any other value is ignored, so zoomFactor can never become a divisor of zero.
void chooseZoom(HostState& state, int32_t zoom);

// The Loop item. The decision follows the check mark: a checked item is unchecked and the
// saved successor goes back into nextConfigName; an unchecked item is checked and
// nextConfigName is saved.
void toggleLoop(HostState& state, ConfigState& config);

// After each frame: while a successor is saved, the next due switch reloads this file.
void holdLoopedConfig(const HostState& state, ConfigState& config);

} // namespace orvanta
