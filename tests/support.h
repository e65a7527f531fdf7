#pragma once
// Shared test scaffolding: a fresh simulator on virtual time with the trace captured,
// a temporary working folder, and golden-picture comparison.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <memory>

#include "core/device/device.h"
#include "media/image.h"
#include "platform/disk_folder.h"

namespace orvanta::test {

// A device at power-on for every test: a virtual clock at 10000 ms, its own empty folder
// on disk, and the trace captured. The references name the device's parts.
class SystemTest : public ::testing::Test {
  protected:
    SystemTest();
    ~SystemTest() override;

    // Replaces the device by a new one, the device at power-on, in the same place, so that
    // the references below name the new device's parts.
    void powerOn();
    // Writes `content` to a file in the working folder, creating folders as needed.
    void writeFile(const std::string& name, const std::string& content);
    // The trace written so far; takeTrace() also empties it.
    const std::string& trace() const { return trace_; }
    std::string takeTrace();
    // The Color565 of the surface pixel at (x, y).
    int32_t pixel(int32_t x, int32_t y) const;
    // Whether the character cell at (cx, cy) shows font entry `entry` in fg on bg, as far
    // as the cell lies on the display.
    ::testing::AssertionResult showsGlyph(int32_t cx, int32_t cy, int32_t scale, int entry,
                                          int32_t fg, int32_t bg) const;

  private:
    std::string trace_;

  protected:
    std::filesystem::path folder;
    VirtualClock clock{10000};
    DiskFolder disk;
    std::unique_ptr<Device> owned;
    Device& device;
    Display& display;
    Surface& surface;
    Tft& tft;
    ConfigState& config;
    LoadContext loading; // what loads and configuration lines work on
};

// Compares `image` exactly with tests/golden/<name>.png. A missing golden fails. With the
// environment variable ORVANTA_UPDATE_GOLDEN=1 the golden is (re)written instead. On a
// mismatch the actual picture and a diff picture (differing pixels in magenta) are written
// to the build folder and the message names them.
::testing::AssertionResult matchesGolden(const RgbImage& image, const std::string& name);

std::string sourcePath(const std::string& relative);
// Runs the built orvanta-cli with `arguments` (shell words) and returns its exit status
// (-1 if it did not exit). Stores standard output in `out` and standard error in `err`;
// without `err`, standard error goes to `out` too.
int runCli(const std::string& arguments, std::string* out = nullptr, std::string* err = nullptr);
std::string readWholeFile(const std::filesystem::path& path);

} // namespace orvanta::test
