#include "session/host_state.h"

namespace orvanta {

void chooseZoom(HostState& state, int32_t zoom) {
    if (zoom < 1 || zoom > 4) return;
    state.zoomFactor = zoom;
    state.clearPending = true;
    state.checkedZoom = zoom;
}

void toggleLoop(HostState& state, ConfigState& config) {
    if (state.loopChecked) {
        state.loopChecked = false;
        copyConfigName(config.nextConfigName, state.loopConfigName);
        state.loopConfigName[0] = '\0';
    } else {
        // With an empty successor the item is checked but nothing is held: the saved name
        // stays empty, which is what "Loop is off" means to the paint cycle and overlay.
        state.loopChecked = true;
        copyConfigName(state.loopConfigName, config.nextConfigName);
    }
}

void holdLoopedConfig(const HostState& state, ConfigState& config) {
    if (state.loopConfigName[0] != '\0')
        copyConfigName(config.nextConfigName, config.thisConfigName);
}

} // namespace orvanta
