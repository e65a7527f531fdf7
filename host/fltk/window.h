#pragma once
// The main window: menu bar above a client area in which every paint runs one frame of the
// simulated display, shows the picture enlarged and centred, and draws the status overlay.
#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "platform/disk_folder.h"
#include "platform/folder_watcher.h"
#include "platform/system_clock.h"
#include "session/session.h"

class Fl_Menu_Bar;
class Fl_RGB_Image;

namespace orvanta {

class FindingsWindow;

class MainWindow : public Fl_Double_Window {
  public:
    // Shows the configuration folder `folder` (empty means the working folder) and writes
    // the device's trace to `trace`.
    MainWindow(const std::string& folder, Trace trace);
    ~MainWindow() override;

    // Shows the window, starts the 10 ms timer that asks for a paint and the folder watch.
    void start();

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int w, int h) override;

  private:
    static void onTimer(void* window);
    static void onMenu(Fl_Widget* widget, void* command);
    static void onClose(Fl_Widget* widget, void*);
    static void onFolderChange(int fd, void* window);
    void runCommand(long command);
    void savePicture();
    void showMenuState();
    void paintClientArea(int top, int width, int height);

    Fl_Menu_Bar* menu_ = nullptr;
    SystemClock clock_;
    DiskFolder folder_; // the configuration folder, like the device's card
    FolderWatcher watcher_;
    Session session_;
    std::vector<uint8_t> picture_;
    std::vector<Fl_RGB_Image*> icons_;
    FindingsWindow* findings_ = nullptr;
    std::string designLabel_; // the design menu's title, with the sign of the findings
    bool dialogOpen_ = false;
    int lineAreaWidth_ = 0; // the line text's box as last painted, 0 when not shown
    int lineAreaHeight_ = 0;
};

} // namespace orvanta
