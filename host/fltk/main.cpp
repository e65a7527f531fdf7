// The window program: "orvanta [--trace FILE] [FOLDER]". Like the device reading its card,
// it reads the configuration files of the folder (the working folder by default). It writes
// the trace only when asked to, so a window started from the desktop fills no journal.
#include <FL/Fl.H>

#include <cstdio>

#include "host/fltk/window.h"
#include "session/trace_target.h"
#include "session/window_options.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    const auto options = orvanta::parseWindowOptions(argc, argv, &exitCode);
    if (!options) return exitCode;
    orvanta::TraceTarget trace;
    std::string error;
    if (!options->trace.empty() && !trace.open(options->trace, &error)) {
        std::fprintf(stderr, "orvanta: error: %s\n", error.c_str());
        return 2;
    }
    Fl::visual(FL_RGB);
    orvanta::MainWindow window(options->folder, trace.trace({}));
    window.start();
    Fl::run();
    return 0;
}
