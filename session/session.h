#pragma once
// What every host shares: one simulated device with its seams, the host state behind the
// menu, and the steps of a paint that are not platform code. A host adds only the window,
// the menu, the timer and the drawing.
#include <cstdint>
#include <memory>
#include <optional>

#include "core/device/device.h"
#include "session/host_state.h"
#include "session/view.h"

namespace orvanta {

class Session {
  public:
    // The clock and the folder must outlive the session.
    Session(Clock& clock, Folder& folder, Trace trace = {});

    Device& device() { return *device_; }
    const Device& device() const { return *device_; }
    const Surface& surface() const { return device_->display.surface; }
    HostState& host() { return host_; }
    const HostState& host() const { return host_; }

    // The frame step of a paint: one frame of the device, then, while Loop holds a file,
    // the current file becomes the next one again.
    void runFrame();

    // The "Fokus" and "Loop" menu commands.
    void chooseZoom(int32_t zoom) { orvanta::chooseZoom(host_, zoom); }
    void toggleLoop() { orvanta::toggleLoop(host_, device_->config); }

    // Where the picture goes in a client area of this size at the current zoom, what the
    // cursor at client point (px, py) reads, and the overlay that reports it.
    PicturePlacement place(int32_t clientWidth, int32_t clientHeight) const;
    CursorReading readCursor(const PicturePlacement& placement, int32_t px, int32_t py,
                             std::optional<Rgb24> shown) const;
    Overlay overlay(const CursorReading& cursor) const;

  private:
    HostState host_;
    std::unique_ptr<Device> device_;
};

} // namespace orvanta
