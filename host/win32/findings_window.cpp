#include "host/win32/findings_window.h"

#include "platform/win32/utf16.h"

namespace orvanta {

// The rows name files and quote lines in UTF-8, so the list and its title are wide.
namespace {
constexpr const wchar_t* kClassName = L"OrvantaFindings";
constexpr int kWidth = 720;
constexpr int kHeight = 240;
constexpr int kGap = 10;
} // namespace

LRESULT CALLBACK FindingsWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_SIZE) {
        // The list fills the window.
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    if (message == WM_CLOSE) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FindingsWindow::show(HINSTANCE instance, HWND owner, const Findings& findings) {
    if (window_ == nullptr) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);
        // Beside the main window, so that the list never covers the picture.
        RECT ownerRect{};
        GetWindowRect(owner, &ownerRect);
        window_ =
            CreateWindowExW(0, kClassName, L"Findings", WS_OVERLAPPEDWINDOW, ownerRect.right + kGap,
                            ownerRect.top, kWidth, kHeight, owner, nullptr, instance, nullptr);
        if (window_ == nullptr) return;
        RECT client{};
        GetClientRect(window_, &client);
        list_ =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                            0, 0, client.right, client.bottom, window_, nullptr, instance, nullptr);
        SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    }
    rows_.clear(); // fills the list anew
    // The main window keeps the keyboard, so its keys go on working while the list shows.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    update(findings);
}

void FindingsWindow::update(const Findings& findings) {
    if (window_ == nullptr || !IsWindowVisible(window_)) return;
    std::vector<std::string> rows = findingsListRows(findings);
    if (rows == rows_) return;
    rows_ = std::move(rows);
    std::vector<std::wstring> wideRows;
    for (const std::string& row : rows_) wideRows.push_back(utf16FromUtf8(row));
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& row : wideRows)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    // Wide enough to scroll to the end of the longest row.
    LONG widest = 0;
    const HDC dc = GetDC(list_);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (const std::wstring& row : wideRows) {
        SIZE size{};
        GetTextExtentPoint32W(dc, row.c_str(), static_cast<int>(row.size()), &size);
        if (size.cx > widest) widest = size.cx;
    }
    SelectObject(dc, previous);
    ReleaseDC(list_, dc);
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    SetWindowTextW(window_, utf16FromUtf8(findingsListTitle(findings)).c_str());
}

} // namespace orvanta
