#pragma once
// The main window: a menu above a client area in which every paint runs one frame of the
// simulated display, shows the picture enlarged and centred, and draws the status overlay.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/win32/findings_window.h"
#include "platform/disk_folder.h"
#include "platform/folder_watcher.h"
#include "platform/system_clock.h"
#include "session/session.h"

namespace orvanta {

class MainWindow {
  public:
    // Shows the configuration folder `folder`; empty means the working folder.
    // Shows `folder` (empty: the working folder); the device writes its trace to `trace`.
    MainWindow(const std::string& folder, Trace trace);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the window class (named by string 109), creates the window titled by
    // string 103, shows it with the start's show state, which paints the first frame, and
    // starts the 10 ms timer. False when the window cannot be created.
    bool create(HINSTANCE instance, int showState);
    HWND handle() const { return window_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool command(int id); // false for ids that are not the menu's
    void savePicture();
    void showMenuState();
    void paint();
    // The fifth overlay text: the line that drew the pixel under the cursor.
    void paintLineText(HDC dc, const PicturePlacement& place, POINT cursor);
    void copySurfaceToBitmap();

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    SystemClock clock_;
    DiskFolder folder_; // the configuration folder, like the device's card
    FolderWatcher watcher_;
    Session session_;
    FindingsWindow findings_;
    std::string designLabel_; // the design menu's title, with the sign of the findings
    RECT lineArea_{};         // the line text's area as last painted, empty when not shown
    bool dialogOpen_ = false;
    // The off-screen picture, created at the first paint and kept for the whole run.
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    std::vector<uint32_t> bits_; // the surface as 32-bit BGR words, rows top to bottom
};

} // namespace orvanta
