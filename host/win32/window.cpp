#include "host/win32/window.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>

#include "host/win32/about.h"
#include "host/win32/resource.h"
#include "platform/win32/utf16.h"
#include "session/commands.h"
#include "session/designer_page.h"

namespace orvanta {

namespace {
constexpr int kWindowSize = 500;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 10;
constexpr int kOverlayX = 10;
constexpr int kOverlayTop = 10;
constexpr int kOverlayStep = 20;
constexpr int kTextSize = 100; // the title and the class name, as loaded from the strings

// The resource script numbers the menu as every host does.
static_assert(IDM_ABOUT == command::kAbout && IDM_EXIT == command::kExit &&
              IDM_ZOOM_100 == command::kZoom1 && IDM_LOOP == command::kLoop &&
              IDM_RELOAD == command::kReload && IDM_RESTART == command::kRestart &&
              IDM_LOAD_NEXT == command::kLoadNext && IDM_PAUSE == command::kPause &&
              IDM_STEP == command::kStep && IDM_SAVE_PICTURE == command::kSavePicture &&
              IDM_FINDINGS == command::kFindings && IDM_SHOW_LINE == command::kShowLine &&
              IDM_READINGS_DEVICE == command::kReadingsDevice &&
              IDM_READINGS_SWEEP == command::kReadingsSweep &&
              IDM_OPEN_DESIGNER == command::kOpenDesigner);
} // namespace

MainWindow::MainWindow(const std::string& folder, Trace trace)
    : folder_(folder), watcher_(folder), session_(clock_, folder_, trace),
      bits_(static_cast<std::size_t>(DISPLAY_SIZE) * DISPLAY_SIZE) {}

bool MainWindow::create(HINSTANCE instance, int showState) {
    instance_ = instance;
    char title[kTextSize] = "";
    char className[kTextSize] = "";
    LoadStringA(instance, IDS_APP_TITLE, title, kTextSize);
    LoadStringA(instance, IDC_ORVANTA, className, kTextSize);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ORVANTA));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Never used: erasing the background is suppressed.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDC_ORVANTA);
    windowClass.lpszClassName = className;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));
    RegisterClassExA(&windowClass);

    // The class menu applies; `this` reaches the window procedure with WM_NCCREATE.
    window_ = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                              kWindowSize, kWindowSize, nullptr, nullptr, instance, this);
    if (window_ == nullptr) return false;
    ShowWindow(window_, showState);
    UpdateWindow(window_);
    SetTimer(window_, kTimerId, kTimerPeriodMs, nullptr);
    return true;
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (command(LOWORD(wParam))) return 0;
        break;
    case WM_TIMER:
        // Saved files arrive as a change notification, whose event the watcher's handle is.
        if (watcher_.watching() &&
            WaitForSingleObject(reinterpret_cast<HANDLE>(watcher_.handle()), 0) == WAIT_OBJECT_0)
            for (const std::string& name : watcher_.takeSaved()) session_.fileWritten(name);
        // The menu follows what the last paint did: a load brings new findings.
        showMenuState();
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        session_.host().clearPending = true;
        return 0;
    case WM_ERASEBKGND: // the background is never erased
    case WM_MOUSEMOVE:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

bool MainWindow::command(int id) {
    const HMENU menu = GetMenu(window_);
    if (id >= IDM_ZOOM_100 && id <= IDM_ZOOM_400) {
        for (int item = IDM_ZOOM_100; item <= IDM_ZOOM_400; ++item)
            CheckMenuItem(menu, item, MF_BYCOMMAND | MF_UNCHECKED);
        session_.chooseZoom(id - IDM_ZOOM_100 + 1);
        CheckMenuItem(menu, id, MF_BYCOMMAND | MF_CHECKED);
    } else if (id == IDM_LOOP) {
        // The menu's check mark decides the Loop toggle.
        const bool checked = (GetMenuState(menu, IDM_LOOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
        session_.host().loopChecked = checked;
        session_.toggleLoop();
        CheckMenuItem(menu, IDM_LOOP, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
    } else if (id == IDM_ABOUT) {
        if (!dialogOpen_) {
            dialogOpen_ = true;
            showAboutBox(instance_, window_);
            dialogOpen_ = false;
        }
    } else if (id == IDM_OPEN_DESIGNER) {
        // The places named may hold any character: the message goes out as UTF-16.
        const std::string problem = openDesignerPage();
        if (!problem.empty()) {
            std::wstring text(problem.size(), L'\0');
            text.resize(static_cast<std::size_t>(
                MultiByteToWideChar(CP_UTF8, 0, problem.data(), static_cast<int>(problem.size()),
                                    text.data(), static_cast<int>(text.size()))));
            MessageBoxW(window_, text.c_str(), L"Orvanta", MB_OK | MB_ICONWARNING);
        }
    } else if (id == IDM_EXIT) {
        DestroyWindow(window_); // the findings window, owned by this one, goes with it
        return true;
    } else if (id == IDM_RELOAD) {
        session_.reload();
    } else if (id == IDM_RESTART) {
        session_.restart();
    } else if (id == IDM_LOAD_NEXT) {
        session_.loadNextNow();
    } else if (id == IDM_PAUSE) {
        session_.togglePause();
    } else if (id == IDM_STEP) {
        if (session_.step()) InvalidateRect(window_, nullptr, FALSE);
    } else if (id == IDM_SAVE_PICTURE) {
        savePicture();
    } else if (id == IDM_FINDINGS) {
        findings_.show(instance_, window_, session_.findings());
    } else if (id == IDM_SHOW_LINE) {
        session_.toggleLineUnderCursor();
    } else if (const auto preset = readingsPresetOfCommand(id)) {
        session_.applyReadings(*preset);
    } else {
        return false;
    }
    showMenuState();
    return true;
}

void MainWindow::savePicture() {
    if (dialogOpen_) return;
    dialogOpen_ = true;
    // Wide, as every name the dialog may show or be given is; the session takes UTF-8.
    wchar_t path[MAX_PATH] = L"picture.png";
    const std::wstring folder = utf16FromUtf8(folder_.path().empty() ? "." : folder_.path());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"PNG picture (*.png)\0*.png\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = L"Save picture as PNG";
    dialog.lpstrDefExt = L"png";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    // The picture is taken when the dialog closes; pause first to save a moving one.
    if (GetSaveFileNameW(&dialog)) {
        std::string error;
        if (!session_.savePicture(utf8FromUtf16(path), &error))
            MessageBoxW(window_, utf16FromUtf8("The picture was not saved: " + error).c_str(),
                        L"Orvanta", MB_OK | MB_ICONWARNING);
    }
    dialogOpen_ = false;
}

void MainWindow::showMenuState() {
    const HMENU menu = GetMenu(window_);
    CheckMenuItem(menu, IDM_PAUSE, MF_BYCOMMAND | (session_.paused() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, IDM_STEP, MF_BYCOMMAND | (session_.paused() ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, IDM_SHOW_LINE,
                  MF_BYCOMMAND | (session_.host().showLine ? MF_CHECKED : MF_UNCHECKED));
    // The design menu's title carries the sign that the file shown has findings.
    const Findings& findings = session_.findings();
    const std::string sign = findingsSign(findings);
    const std::string label = sign.empty() ? "&Design" : "&Design (" + sign + ")";
    if (label != designLabel_) {
        designLabel_ = label;
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = designLabel_.data();
        SetMenuItemInfoA(menu, DESIGN_MENU_POSITION, TRUE, &item);
        DrawMenuBar(window_);
    }
    findings_.update(findings);
}

void MainWindow::copySurfaceToBitmap() {
    // The surface keeps red in the low byte, a 32-bit DIB keeps blue there.
    const Surface& surface = session_.surface();
    for (std::size_t i = 0; i < bits_.size(); ++i) {
        const Rgb24 c = surface.pixels[i];
        bits_[i] = (c & 0x00FF00u) | (c & 0xFFu) << 16 | (c >> 16 & 0xFFu);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = DISPLAY_SIZE;
    info.bmiHeader.biHeight = -DISPLAY_SIZE; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(memoryDc_, 0, 0, DISPLAY_SIZE, DISPLAY_SIZE, 0, 0, 0, DISPLAY_SIZE,
                      bits_.data(), &info, DIB_RGB_COLORS);
}

void MainWindow::paintLineText(HDC dc, const PicturePlacement& place, POINT cursor) {
    const OverlayLine line = session_.lineOverlay(place, cursor.x, cursor.y);
    SIZE extent{};
    GetTextExtentPoint32A(dc, line.text, line.length, &extent);
    // The area keeps the width of the widest text so far, so no longer one shows through.
    const LONG right = std::max<LONG>(lineArea_.right, kOverlayX + extent.cx);
    lineArea_ = {kOverlayX, kOverlayLineY, right, kOverlayLineY + extent.cy};
    const HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &lineArea_, black);
    DeleteObject(black);
    TextOutA(dc, kOverlayX, kOverlayLineY, line.text, line.length);
}

void MainWindow::paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_, &paint);
    HostState& host = session_.host();
    if (host.clearPending) {
        const HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        FillRect(dc, &paint.rcPaint, black);
        DeleteObject(black);
        host.clearPending = false;
    }
    if (memoryDc_ == nullptr) memoryDc_ = CreateCompatibleDC(dc);
    if (bitmap_ == nullptr) bitmap_ = CreateCompatibleBitmap(dc, DISPLAY_SIZE, DISPLAY_SIZE);
    SelectObject(memoryDc_, bitmap_);

    // The line text's area is cleared before the picture is drawn, which may cover it.
    if (!host.showLine && lineArea_.right > lineArea_.left) {
        const HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        FillRect(dc, &lineArea_, black);
        DeleteObject(black);
        lineArea_ = {};
    }
    session_.runFrame(); // one frame, its pacing sleep included
    copySurfaceToBitmap();

    RECT client{};
    GetClientRect(window_, &client);
    const PicturePlacement place = session_.place(client.right, client.bottom);
    StretchBlt(dc, place.originX, place.originY, place.size, place.size, memoryDc_, 0, 0,
               DISPLAY_SIZE, DISPLAY_SIZE, SRCCOPY);

    // The pointer counts wherever it is, also outside the window; the colour is what the
    // window shows under it, none where there is no window to read.
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window_, &cursor);
    const COLORREF shownColour = GetPixel(dc, cursor.x, cursor.y);
    std::optional<Rgb24> shown;
    if (shownColour != CLR_INVALID) shown = static_cast<Rgb24>(shownColour); // red lowest, too
    const Overlay overlay = session_.overlay(session_.readCursor(place, cursor.x, cursor.y, shown));

    // Opaque text in the window's default font: the blanks paint over older, longer text.
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    for (int i = 0; i < kOverlayLines; ++i)
        TextOutA(dc, kOverlayX, kOverlayTop + i * kOverlayStep, overlay.text[i], overlay.length[i]);
    if (host.showLine) paintLineText(dc, place, cursor);
    EndPaint(window_, &paint);
}

} // namespace orvanta
