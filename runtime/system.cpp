#include "runtime/system.h"

#include "config/config_state.h"
#include "config/storage.h"
#include "display/surface.h"
#include "runtime/objects.h"
#include "runtime/pacing.h"

namespace orvanta {

void resetSystem() {
    resetObjectState();
    resetConfigState();
    resetPacingState();
    resetDisplayState();
    storageOpen(nullptr);
}

} // namespace orvanta
