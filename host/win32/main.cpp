// The window program: "orvanta.exe [--trace FILE] [FOLDER]". Like the device reading its
// card, it reads the configuration files of the folder (the working folder by default), and
// writes the trace to the debugger output, or where --trace says.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/win32/resource.h"
#include "host/win32/window.h"
#include "platform/trace_sinks.h"
#include "session/trace_target.h"
#include "session/window_options.h"

namespace {

// Reads the command line. Started from a command prompt, the program writes its help and
// its mistakes there; started otherwise, it has no console, so what it has to say is
// caught in a file and shown in a message box.
std::optional<orvanta::WindowOptions> readCommandLine(int* exitCode) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        return orvanta::parseWindowOptions(__argc, __argv, exitCode);
    }
    char folder[MAX_PATH] = "";
    char path[MAX_PATH] = "";
    if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "orv", 0, path) == 0 ||
        std::freopen(path, "w", stdout) == nullptr || std::freopen(path, "a", stderr) == nullptr)
        return orvanta::parseWindowOptions(__argc, __argv, exitCode);
    auto options = orvanta::parseWindowOptions(__argc, __argv, exitCode);
    std::fflush(stdout);
    std::fflush(stderr);
    if (!options) {
        std::ostringstream said;
        said << std::ifstream(path).rdbuf();
        MessageBoxA(nullptr, said.str().c_str(), "Orvanta",
                    MB_OK | (*exitCode == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
    }
    DeleteFileA(path);
    return options;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    int exitCode = 0;
    const auto options = readCommandLine(&exitCode);
    if (!options) return exitCode;
    // Static, as the window that writes to it: both live until the message loop ends.
    static orvanta::TraceTarget trace;
    std::string error;
    if (!options->trace.empty() && !trace.open(options->trace, &error)) {
        MessageBoxA(nullptr, error.c_str(), "Orvanta", MB_OK | MB_ICONERROR);
        return 2;
    }
    static orvanta::MainWindow window(
        options->folder, trace.trace(orvanta::Trace(orvanta::traceToDebugger, nullptr)));
    if (!window.create(instance, showState)) return 0;
    const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_ORVANTA));
    MSG message;
    // GetMessageA answers 0 for the quit message and -1 if it fails.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The keys work in every window the main window owns, as in the main window itself.
        const HWND owner =
            message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOTOWNER) : nullptr;
        if (owner != window.handle() ||
            !TranslateAcceleratorA(window.handle(), accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}
