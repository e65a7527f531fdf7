#include "session/session.h"

namespace orvanta {

Session::Session(Clock& clock, Folder& folder, Trace trace)
    : device_(std::make_unique<Device>(clock, folder, trace)) {}

void Session::runFrame() {
    AllMandDObjectsRun(*device_);
    holdLoopedConfig(host_, device_->config);
}

PicturePlacement Session::place(int32_t clientWidth, int32_t clientHeight) const {
    return placePicture(clientWidth, clientHeight, host_.zoomFactor);
}

CursorReading Session::readCursor(const PicturePlacement& placement, int32_t px, int32_t py,
                                  std::optional<Rgb24> shown) const {
    return orvanta::readCursor(surface(), placement, host_.zoomFactor, px, py, shown);
}

Overlay Session::overlay(const CursorReading& cursor) const {
    return formatOverlay(host_, device_->config, cursor);
}

} // namespace orvanta
