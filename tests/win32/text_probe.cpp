// Test helper for the Windows end-to-end test: a window titled "Orvanta text probe" that
// shows the lines given on its command line exactly as the main window draws its overlay
// (white on opaque black, the window's default font, at client (10, 10), (10, 30), ...),
// so that a screenshot of it is the expected picture of the overlay's text.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        for (int i = 1; i < __argc; ++i)
            TextOutA(dc, 10, 10 + 20 * (i - 1), __argv[i],
                     static_cast<int>(std::strlen(__argv[i])));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = probeProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "OrvantaTextProbe";
    RegisterClassExA(&windowClass);
    const HWND window =
        CreateWindowExA(0, "OrvantaTextProbe", "Orvanta text probe", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                        640, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showState);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
