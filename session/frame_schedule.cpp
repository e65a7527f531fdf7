#include "session/frame_schedule.h"

#include "session/session.h"

namespace orvanta {

uint64_t nextFrameStart(uint64_t previousStart, uint64_t previousEnd) {
    uint64_t tick = (previousStart / 10 + 1) * 10;
    if (tick < previousEnd) tick = (previousEnd + 9) / 10 * 10;
    return tick;
}

void VirtualFrames::run(Session& session) {
    // The device's clock wraps after 2^32 ms, as the real one does; the offsets do not.
    clock_.set(startMs_ + static_cast<uint32_t>(next_));
    clock_.takeSlept();
    session.runFrame();
    end_ = next_ + clock_.takeSlept();
    next_ = nextFrameStart(next_, end_);
    ++frames_;
}

} // namespace orvanta
