// The window program. It takes no options: like the device reading its card, it reads the
// configuration files of its working folder, and writes the trace to standard error.
#include <FL/Fl.H>

#include "host/fltk/window.h"

int main() {
    Fl::visual(FL_RGB);
    orvanta::MainWindow window;
    window.start();
    Fl::run();
    return 0;
}
