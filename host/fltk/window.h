#pragma once
// The main window: menu bar above a client area in which every paint runs one frame of the
// simulated display, shows the picture enlarged and centred, and draws the status overlay.
#include <FL/Fl_Double_Window.H>

#include <vector>

#include "platform/disk_folder.h"
#include "platform/system_clock.h"
#include "session/session.h"

class Fl_Menu_Bar;
class Fl_RGB_Image;

namespace orvanta {

class MainWindow : public Fl_Double_Window {
  public:
    MainWindow();
    ~MainWindow() override;

    // Shows the window and starts the 10 ms timer that asks for a paint.
    void start();

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int w, int h) override;

  private:
    static void onTimer(void* window);
    static void onMenu(Fl_Widget* widget, void* command);
    static void onClose(Fl_Widget* widget, void*);
    void runCommand(long command);
    void showCheckMarks();
    void paintClientArea(int top, int width, int height);

    Fl_Menu_Bar* menu_ = nullptr;
    SystemClock clock_;
    DiskFolder folder_; // the working folder, like the device's card
    Session session_;
    std::vector<uint8_t> picture_;
    std::vector<Fl_RGB_Image*> icons_;
    bool aboutOpen_ = false;
};

} // namespace orvanta
