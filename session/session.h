#pragma once
// What every host shares: one simulated device with its seams, the host state behind the
// menu, and the steps of a paint that are not platform code. A host adds only the window,
// the menu, the timer, the drawing, the file dialog and the folder watch.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/device/device.h"
#include "core/storage/folder.h"
#include "session/findings.h"
#include "session/host_state.h"
#include "session/pausable_clock.h"
#include "session/reading_lines.h"
#include "session/readings.h"
#include "session/settling_saves.h"
#include "session/view.h"

namespace orvanta {

class Session {
  public:
    // The clock and the folder must outlive the session. With `recordOwners` the device
    // records from power-on which line drew each pixel.
    Session(Clock& clock, Folder& folder, Trace trace = {}, bool recordOwners = true);

    Device& device() { return *device_; }
    const Device& device() const { return *device_; }
    const Surface& surface() const { return device_->display.surface; }
    HostState& host() { return host_; }
    const HostState& host() const { return host_; }

    // The frame step of a paint: the files whose writes have settled are taken as saved,
    // then one frame of the device runs, then, while Loop holds a file, the current file
    // becomes the next one again. No frame runs while paused.
    void runFrame();

    // The "Fokus" and "Loop" menu commands.
    void chooseZoom(int32_t zoom) { orvanta::chooseZoom(host_, zoom); }
    void toggleLoop() { orvanta::toggleLoop(host_, device_->config); }

    // The design commands. Each load they ask for happens in the next frame, as a due
    // switch would, so it shows on the trace as one; while paused, the next step runs it.
    void reload();      // the file on show again (the next one if none loaded yet)
    void loadNextNow(); // the next file of the chain, without waiting for its delay
    void restart();     // a new device, as at power-on, which loads "config.txt"
    void togglePause(); // no frame runs and the simulated time stands still
    bool paused() const { return clock_.paused(); }
    bool step(); // while paused: exactly one frame; false when not paused
    // The folder watch saw a write to a file of the folder. Once its writes have settled,
    // the next paint takes it as saved.
    void fileWritten(const std::string& name) { saves_.written(name, clock_.baseNow()); }
    // A file of the folder was saved: a configuration file is shown at once, a picture of
    // the file on show loads that file again, anything else changes nothing.
    void fileSaved(const std::string& name);
    // Writes the picture at the current zoom as a PNG file.
    bool savePicture(const std::string& path, std::string* error) const;
    // The checker's findings on the file the last load tried, checked when first asked
    // for after the load.
    const Findings& findings();

    // Where the picture goes in a client area of this size at the current zoom, what the
    // cursor at client point (px, py) reads, and the overlay that reports it. `shown` is
    // the colour the window shows at the point, when the host can read it back.
    PicturePlacement place(int32_t clientWidth, int32_t clientHeight) const;
    CursorReading readCursor(const PicturePlacement& placement, int32_t px, int32_t py,
                             std::optional<Rgb24> shown) const;
    Overlay overlay(const CursorReading& cursor) const;
    // The fifth overlay text: the line under client point (px, py), while the host shows it.
    OverlayLine lineOverlay(const PicturePlacement& placement, int32_t px, int32_t py) const;
    // The "Show the line under the cursor" command.
    void toggleLineUnderCursor() { host_.showLine = !host_.showLine; }

    // Reading overrides, kept across restarts. readings() lists the objects of the file on
    // show; hold, sweep and release name an object by its file and line (session_readings.cpp).
    std::vector<ReadingLine> readings();
    ReadingAnswer hold(const std::string& file, int32_t line, const std::string& value);
    ReadingAnswer sweep(const std::string& file, int32_t line);
    ReadingAnswer release(const std::string& file, int32_t line);
    // Every object of the file on show at once, as the windows' Readings menu offers.
    void applyReadings(ReadingsPreset preset);
    // An edit moved lines of `file`: (old line, new line) pairs, a new line below 1 for a
    // removed one. The overrides follow their objects.
    void moveLines(const std::string& file, const std::vector<std::pair<int32_t, int32_t>>& moves);

    // The line that drew pixel (x, y) last, and the pixels line `line` of `file` owns now.
    const PixelOwner& lineAt(int32_t x, int32_t y) const;
    std::vector<PixelPosition> pixelsOfLine(const std::string& file, int32_t line) const;

  private:
    void frame();
    // The file on show (the next one before any load), as the device names it.
    std::string fileOnShow() const;
    // The object line `line` of `file` makes, or the answer saying why there is none.
    ReadingAnswer findObject(const std::string& file, int32_t line, LineObject& object);

    PausableClock clock_;
    Folder& folder_;
    Trace trace_;
    HostState host_;
    std::unique_ptr<Device> device_;
    Findings findings_;
    SettlingSaves saves_;
    std::string unchecked_; // the file the last load tried, until it has been checked
    bool recordOwners_;
};

} // namespace orvanta
