#include "session/session.h"

#include "media/image.h"
#include "session/saved_files.h"

namespace orvanta {

Session::Session(Clock& clock, Folder& folder, Trace trace, bool recordOwners)
    : clock_(clock), folder_(folder), trace_(trace),
      device_(std::make_unique<Device>(clock_, folder_, trace_)), recordOwners_(recordOwners) {
    if (recordOwners_) device_->recordOwners();
}

void Session::frame() {
    // The name is taken before the frame: the file it loads may name another successor.
    char attempted[kConfigNameSize];
    copyConfigName(attempted, device_->config.nextConfigName);
    if (AllMandDObjectsRun(*device_)) unchecked_ = attempted;
    holdLoopedConfig(host_, device_->config);
}

void Session::runFrame() {
    if (saves_.pending())
        for (const std::string& name : saves_.takeSettled(clock_.baseNow())) fileSaved(name);
    if (!paused()) frame();
}

bool Session::step() {
    if (!paused()) return false;
    // The step takes the time of one frame, its pacing included; then time stands again.
    clock_.resume();
    frame();
    clock_.pause();
    return true;
}

void Session::reload() {
    const ConfigState& config = device_->config;
    requestConfigSwitch(*device_, config.thisConfigName[0] != '\0' ? config.thisConfigName
                                                                   : config.nextConfigName);
}

void Session::loadNextNow() {
    requestConfigSwitch(*device_, device_->config.nextConfigName);
}

void Session::restart() {
    // The overrides are the designer's, not the device's: the new device takes them on.
    Readings kept = std::move(device_->readings);
    kept.forgetObjects();
    device_ = std::make_unique<Device>(clock_, folder_, trace_);
    device_->readings = std::move(kept);
    device_->readings.traceAll(device_->trace);
    if (recordOwners_) device_->recordOwners();
    findings_ = {};
    unchecked_.clear();
}

const Findings& Session::findings() {
    if (!unchecked_.empty()) {
        findings_ = checkLoadedFile(folder_, unchecked_);
        unchecked_.clear();
    }
    return findings_;
}

void Session::togglePause() {
    if (paused())
        clock_.resume();
    else
        clock_.pause();
}

void Session::fileSaved(const std::string& name) {
    switch (classifySavedFile(folder_, device_->config, name)) {
    case SavedFile::ConfigFile:
        requestConfigSwitch(*device_, name.c_str());
        break;
    case SavedFile::PictureOfThisFile:
        reload();
        break;
    case SavedFile::Unrelated:
        break;
    }
}

bool Session::savePicture(const std::string& path, std::string* error) const {
    return writePng(path, imageFromSurface(surface(), host_.zoomFactor), error);
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

OverlayLine Session::lineOverlay(const PicturePlacement& placement, int32_t px, int32_t py) const {
    const std::optional<PixelPosition> pixel = pixelUnderPoint(placement, host_.zoomFactor, px, py);
    return formatLineOverlay(pixel ? lineAt(pixel->x, pixel->y) : PixelOwner{});
}

const PixelOwner& Session::lineAt(int32_t x, int32_t y) const {
    return device_->provenance.ownerAt(x, y);
}

std::vector<PixelPosition> Session::pixelsOfLine(const std::string& file, int32_t line) const {
    return device_->provenance.pixelsOf(file, line);
}

} // namespace orvanta
