// The window program: "orvanta [FOLDER]". Like the device reading its card, it reads the
// configuration files of the folder (the working folder by default), and writes the trace
// to standard error.
#include <FL/Fl.H>

#include "host/fltk/window.h"
#include "session/window_options.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    const auto options = orvanta::parseWindowOptions(argc, argv, &exitCode);
    if (!options) return exitCode;
    Fl::visual(FL_RGB);
    orvanta::MainWindow window(options->folder);
    window.start();
    Fl::run();
    return 0;
}
