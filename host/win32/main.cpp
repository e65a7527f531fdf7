// The window program: "orvanta.exe [--trace FILE] [FOLDER]". Like the device reading its
// card, it reads the configuration files of the folder (the working folder by default), and
// writes the trace to the debugger output, or where --trace says.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/win32/resource.h"
#include "host/win32/window.h"
#include "platform/trace_sinks.h"
#include "platform/win32/utf16.h"
#include "session/trace_target.h"
#include "session/window_options.h"

namespace {

// The arguments as UTF-8, from the wide ones Windows keeps: the narrow ones would have
// lost every character outside the system's code page.
class Arguments {
  public:
    Arguments() {
        for (int i = 0; i < __argc; ++i) texts_.push_back(orvanta::utf8FromUtf16(__wargv[i]));
        // The option parser reads ORVANTA_TRACE through the narrow environment, which
        // holds the system's code page; it gets the UTF-8 of the wide value instead.
        if (const wchar_t* trace = _wgetenv(L"ORVANTA_TRACE"))
            _putenv_s("ORVANTA_TRACE", orvanta::utf8FromUtf16(trace).c_str());
        for (const std::string& text : texts_) pointers_.push_back(text.c_str());
        pointers_.push_back(nullptr);
    }
    std::optional<orvanta::WindowOptions> parse(int* exitCode) const {
        return orvanta::parseWindowOptions(static_cast<int>(texts_.size()), pointers_.data(),
                                           exitCode);
    }

  private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

void showMessage(HWND owner, const std::string& text, UINT icon) {
    MessageBoxW(owner, orvanta::utf16FromUtf8(text).c_str(), L"Orvanta", MB_OK | icon);
}

// What the file at `path` holds, read as it was written: UTF-8 text.
std::string fileText(const wchar_t* path) {
    std::string text;
    if (std::FILE* file = _wfopen(path, L"rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

// Reads the command line. Started from a command prompt, the program writes its help and
// its mistakes there; started otherwise, it has no console, so what it has to say is
// caught in a file and shown in a message box.
std::optional<orvanta::WindowOptions> readCommandLine(int* exitCode) {
    const Arguments arguments;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        return arguments.parse(exitCode);
    }
    // The temporary folder lies in the user's folder, whose name may be any name.
    wchar_t folder[MAX_PATH] = L"";
    wchar_t path[MAX_PATH] = L"";
    if (GetTempPathW(MAX_PATH, folder) == 0 || GetTempFileNameW(folder, L"orv", 0, path) == 0 ||
        _wfreopen(path, L"w", stdout) == nullptr || _wfreopen(path, L"a", stderr) == nullptr)
        return arguments.parse(exitCode);
    auto options = arguments.parse(exitCode);
    std::fflush(stdout);
    std::fflush(stderr);
    if (!options)
        showMessage(nullptr, fileText(path), *exitCode == 0 ? MB_ICONINFORMATION : MB_ICONERROR);
    DeleteFileW(path);
    return options;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showState) {
    int exitCode = 0;
    const auto options = readCommandLine(&exitCode);
    if (!options) return exitCode;
    // Static, as the window that writes to it: both live until the message loop ends.
    static orvanta::TraceTarget trace;
    std::string error;
    if (!options->trace.empty() && !trace.open(options->trace, &error)) {
        showMessage(nullptr, error, MB_ICONERROR);
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
