#include "host/fltk/window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

#include "host/fltk/about.h"
#include "host/fltk/findings_window.h"
#include "host/resources/icon.h"
#include "session/commands.h"
#include "session/designer_page.h"

namespace orvanta {

namespace {
using namespace command;

constexpr int kWindowSize = 500;
constexpr int kMenuHeight = 25;
constexpr double kTimerPeriod = 0.010;
constexpr int kOverlayX = 10;
constexpr int kOverlayTop = 10;
constexpr int kOverlayStep = 20;

void* command(long id) {
    return reinterpret_cast<void*>(id);
}

// No item is checked at start, although the zoom is 1.
Fl_Menu_Item menuItems[] = {
    {"&File", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"E&xit", 0, nullptr, command(kExit), 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"Fokus", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"100%", 0, nullptr, command(kZoom1), FL_MENU_RADIO, 0, 0, 0, 0},
    {"200 %", 0, nullptr, command(kZoom1 + 1), FL_MENU_RADIO, 0, 0, 0, 0},
    {"300 %", 0, nullptr, command(kZoom1 + 2), FL_MENU_RADIO, 0, 0, 0, 0},
    {"400 %", 0, nullptr, command(kZoom1 + 3), FL_MENU_RADIO, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"Loop", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"Loop on this config-file", 0, nullptr, command(kLoop), FL_MENU_TOGGLE, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"&Design", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"&Reload this config-file", FL_CTRL + 'r', nullptr, command(kReload), 0, 0, 0, 0, 0},
    {"Re&start as at power-on", FL_CTRL + FL_SHIFT + 'r', nullptr, command(kRestart), 0, 0, 0, 0,
     0},
    {"Load &next config-file now", FL_CTRL + 'n', nullptr, command(kLoadNext), FL_MENU_DIVIDER, 0,
     0, 0, 0},
    {"&Pause", FL_CTRL + 'p', nullptr, command(kPause), FL_MENU_TOGGLE, 0, 0, 0, 0},
    {"S&tep one frame", FL_CTRL + '.', nullptr, command(kStep), FL_MENU_DIVIDER, 0, 0, 0, 0},
    {"Sa&ve picture as PNG ...", FL_CTRL + 's', nullptr, command(kSavePicture), 0, 0, 0, 0, 0},
    {"&Findings ...", FL_CTRL + 'e', nullptr, command(kFindings), 0, 0, 0, 0, 0},
    {"Show the &line under the cursor", FL_CTRL + 'l', nullptr, command(kShowLine), FL_MENU_TOGGLE,
     0, 0, 0, 0},
    {"Rea&dings", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"&Device (random)", 0, nullptr, command(kReadingsDevice), 0, 0, 0, 0, 0},
    {"Hold all at &minimum", 0, nullptr, command(kReadingsMinimum), 0, 0, 0, 0, 0},
    {"Hold all at ma&ximum", 0, nullptr, command(kReadingsMaximum), 0, 0, 0, 0, 0},
    {"&Sweep all", 0, nullptr, command(kReadingsSweep), 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"&Help", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"Open the Designer in the &Browser", 0, nullptr, command(kOpenDesigner), 0, 0, 0, 0, 0},
    {"&About ...", FL_ALT + '/', nullptr, command(kAbout), 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
};
} // namespace

MainWindow::MainWindow(const std::string& folder, Trace trace)
    : Fl_Double_Window(kWindowSize, kWindowSize, "Orvanta"), folder_(folder), watcher_(folder),
      session_(clock_, folder_, trace) {
    // Nothing erases the window: the picture and the overlay stay until a paint covers them
    // or a zoom change or resize clears the client area.
    box(FL_NO_BOX);
    xclass("ORVANTA");
    menu_ = new Fl_Menu_Bar(0, 0, kWindowSize, kMenuHeight);
    menu_->copy(menuItems);
    menu_->callback(onMenu);
    // An empty, invisible box takes up the resizing so the menu bar keeps its height.
    auto* client =
        new Fl_Box(FL_NO_BOX, 0, kMenuHeight, kWindowSize, kWindowSize - kMenuHeight, nullptr);
    resizable(client);
    end();
    size_range(64, 64);
    callback(onClose);
    // A new window has been sized once before its first paint, and a size change asks for
    // the client area to be cleared; FLTK's fresh back buffer holds no defined pixels.
    session_.host().clearPending = true;

    picture_.resize(static_cast<std::size_t>(DISPLAY_SIZE * 4) * DISPLAY_SIZE * 4 * 3);
    for (int side : {16, 32, 64, 128}) {
        const std::vector<uint8_t> rgb = programIconRgb(side);
        // Fl_RGB_Image keeps a pointer to its pixels; the copy owns them.
        Fl_RGB_Image view(rgb.data(), side, side, 3);
        icons_.push_back(static_cast<Fl_RGB_Image*>(view.copy()));
    }
    icons(const_cast<const Fl_RGB_Image**>(icons_.data()), static_cast<int>(icons_.size()));
}

MainWindow::~MainWindow() {
    if (watcher_.watching()) Fl::remove_fd(static_cast<int>(watcher_.handle()));
    delete findings_;
    for (Fl_RGB_Image* image : icons_) delete image;
}

void MainWindow::start() {
    // Enables Fl::awake(), which the paint uses to end FLTK's wait early.
    Fl::lock();
    show();
    Fl::add_timeout(kTimerPeriod, onTimer, this);
    if (watcher_.watching())
        Fl::add_fd(static_cast<int>(watcher_.handle()), FL_READ, onFolderChange, this);
}

void MainWindow::onFolderChange(int, void* window) {
    auto* self = static_cast<MainWindow*>(window);
    for (const std::string& name : self->watcher_.takeSaved()) self->session_.fileWritten(name);
}

void MainWindow::onTimer(void* window) {
    auto* self = static_cast<MainWindow*>(window);
    // The menu follows what the last paint did: a load brings new findings.
    self->showMenuState();
    self->redraw();
    Fl::repeat_timeout(kTimerPeriod, onTimer, window);
}

void MainWindow::onMenu(Fl_Widget* widget, void*) {
    auto* bar = static_cast<Fl_Menu_Bar*>(widget);
    const Fl_Menu_Item* item = bar->mvalue();
    if (item == nullptr) return;
    static_cast<MainWindow*>(bar->window())->runCommand(item->argument());
}

void MainWindow::onClose(Fl_Widget* widget, void*) {
    // Escape must not end the program; only "Exit" and the close box do.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    widget->hide();
}

void MainWindow::runCommand(long cmd) {
    if (cmd >= kZoom1 && cmd < kZoom1 + 4) {
        session_.chooseZoom(static_cast<int32_t>(cmd - kZoom1 + 1));
    } else if (cmd == kLoop) {
        session_.toggleLoop();
    } else if (cmd == kAbout) {
        if (!dialogOpen_) {
            dialogOpen_ = true;
            showAboutBox(*this, icons_[1]);
            dialogOpen_ = false;
        }
    } else if (cmd == kOpenDesigner) {
        const std::string problem = openDesignerPage();
        if (!problem.empty()) fl_alert("%s", problem.c_str());
    } else if (cmd == kExit) {
        if (findings_ != nullptr) findings_->hide();
        hide();
    } else if (cmd == kReload) {
        session_.reload();
    } else if (cmd == kRestart) {
        session_.restart();
    } else if (cmd == kLoadNext) {
        session_.loadNextNow();
    } else if (cmd == kPause) {
        session_.togglePause();
    } else if (cmd == kStep) {
        session_.step();
        redraw();
    } else if (cmd == kSavePicture) {
        savePicture();
    } else if (cmd == kFindings) {
        if (findings_ == nullptr) {
            // Beside the main window, so that the list never covers the picture.
            findings_ = new FindingsWindow();
            findings_->position(x() + w() + 10, y());
        }
        findings_->showFindings(session_.findings());
    } else if (cmd == kShowLine) {
        session_.toggleLineUnderCursor();
    } else if (const auto preset = readingsPresetOfCommand(cmd)) {
        session_.applyReadings(*preset);
    }
    showMenuState();
}

void MainWindow::savePicture() {
    if (dialogOpen_) return;
    dialogOpen_ = true;
    Fl_Native_File_Chooser chooser;
    chooser.title("Save picture as PNG");
    chooser.type(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    chooser.filter("PNG picture\t*.png");
    chooser.directory(folder_.path().empty() ? "." : folder_.path().c_str());
    chooser.preset_file("picture.png");
    chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM | Fl_Native_File_Chooser::NEW_FOLDER);
    // The picture is taken when the dialog closes; pause first to save a moving one.
    if (chooser.show() == 0 && chooser.filename() != nullptr) {
        std::string error;
        if (!session_.savePicture(chooser.filename(), &error))
            fl_alert("The picture was not saved: %s", error.c_str());
    }
    dialogOpen_ = false;
}

void MainWindow::showMenuState() {
    // The menu shows the check marks the host state holds; FLTK's own radio and toggle
    // handling has already flipped them, and this keeps both in step whatever it did.
    const Findings& findings = session_.findings();
    const std::string sign = findingsSign(findings);
    const std::string label = sign.empty() ? "&Design" : "&Design (" + sign + ")";
    for (int i = 0; i < menu_->size(); ++i) {
        Fl_Menu_Item& item = const_cast<Fl_Menu_Item&>(menu_->menu()[i]);
        if (item.label() == nullptr) continue;
        // The design menu's title carries the sign that the file shown has findings.
        if (item.submenu() && std::strncmp(item.label(), "&Design", 7) == 0 &&
            label != designLabel_) {
            designLabel_ = label;
            item.label(designLabel_.c_str());
            menu_->redraw();
        }
        const long cmd = item.argument();
        if (cmd == kStep) {
            if (session_.paused())
                item.activate();
            else
                item.deactivate();
        }
        bool checked = false;
        if (cmd >= kZoom1 && cmd < kZoom1 + 4)
            checked = session_.host().checkedZoom == cmd - kZoom1 + 1;
        else if (cmd == kLoop)
            checked = session_.host().loopChecked;
        else if (cmd == kPause)
            checked = session_.paused();
        else if (cmd == kShowLine)
            checked = session_.host().showLine;
        else
            continue;
        if (checked)
            item.set();
        else
            item.clear();
    }
    if (findings_ != nullptr && findings_->shown()) findings_->update(findings);
}

int MainWindow::handle(int event) {
    if (event == FL_SHOW) session_.host().clearPending = true;
    // Alt + '?' arrives as Alt + Shift + '/', which the About item's shortcut does not match.
    if ((event == FL_SHORTCUT || event == FL_KEYBOARD) && Fl::event_state(FL_ALT) &&
        std::strcmp(Fl::event_text(), "?") == 0) {
        runCommand(kAbout);
        return 1;
    }
    return Fl_Double_Window::handle(event);
}

void MainWindow::resize(int x, int y, int w, int h) {
    session_.host().clearPending = true;
    Fl_Double_Window::resize(x, y, w, h);
}

void MainWindow::draw() {
    const auto start = std::chrono::steady_clock::now();
    Fl_Double_Window::draw(); // the menu bar; the window itself has no box to draw
    const int top = menu_->h();
    fl_push_clip(0, top, w(), h() - top);
    paintClientArea(top, w(), h() - top);
    fl_pop_clip();
    // FLTK decided how long to wait for the next event before this paint began. After a
    // paint that outlasted a timer period the tick is already due, as a pending timer
    // message would be, so the wait is cut short instead of adding a stale 10 ms.
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    if (spent.count() >= kTimerPeriod) Fl::awake();
}

void MainWindow::paintClientArea(int top, int width, int height) {
    HostState& host = session_.host();
    if (host.clearPending) {
        fl_rectf(0, top, width, height, FL_BLACK);
        host.clearPending = false;
    }
    // The line text's area is cleared before the picture is drawn, which may cover it. A
    // paint that FLTK clips to a smaller damaged area (the menu bar's, after the command
    // that unchecked the item) cannot clear it, so the clear waits for a paint that can.
    if (!host.showLine && lineAreaWidth_ > 0 &&
        fl_not_clipped(kOverlayX, top + kOverlayLineY, lineAreaWidth_, lineAreaHeight_) == 1) {
        fl_rectf(kOverlayX, top + kOverlayLineY, lineAreaWidth_, lineAreaHeight_, FL_BLACK);
        lineAreaWidth_ = 0;
    }
    session_.runFrame(); // one frame, its pacing sleep included, unless paused

    const PicturePlacement place = session_.place(width, height);
    enlargeSurface(session_.surface(), host.zoomFactor, picture_.data());
    fl_draw_image(picture_.data(), place.originX, top + place.originY, place.size, place.size, 3);

    // The pointer is read in screen coordinates, so it counts outside the window as well.
    int mouseX = 0;
    int mouseY = 0;
    Fl::get_mouse(mouseX, mouseY);
    const int px = mouseX - x_root(), py = mouseY - y_root() - top;
    // The colour is read back from what the window shows, in the back buffer that this
    // paint is drawing; outside the client area there is nothing to read.
    std::optional<Rgb24> shown;
    uchar rgb[3] = {};
    if (px >= 0 && px < width && py >= 0 && py < height &&
        fl_read_image(rgb, px, top + py, 1, 1) != nullptr)
        shown = Rgb24{rgb[0]} | Rgb24{rgb[1]} << 8 | Rgb24{rgb[2]} << 16;
    const CursorReading cursor = session_.readCursor(place, px, py, shown);
    const Overlay overlay = session_.overlay(cursor);

    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    const int lineHeight = fl_height();
    const int baseline = lineHeight - fl_descent();
    for (int i = 0; i < kOverlayLines; ++i) {
        const int y = top + kOverlayTop + i * kOverlayStep;
        const int textWidth =
            static_cast<int>(std::ceil(fl_width(overlay.text[i], overlay.length[i])));
        // Opaque text: the box behind the characters, blanks included, is painted black.
        fl_rectf(kOverlayX, y, textWidth, lineHeight, FL_BLACK);
        fl_color(FL_WHITE);
        fl_draw(overlay.text[i], overlay.length[i], kOverlayX, y + baseline);
    }
    if (!host.showLine) return;
    const OverlayLine line = session_.lineOverlay(place, px, py);
    // The box keeps the width of the widest text so far, so no longer one shows through.
    const int lineWidth = static_cast<int>(std::ceil(fl_width(line.text, line.length)));
    lineAreaWidth_ = std::max(lineAreaWidth_, lineWidth);
    lineAreaHeight_ = lineHeight;
    fl_rectf(kOverlayX, top + kOverlayLineY, lineAreaWidth_, lineHeight, FL_BLACK);
    fl_color(FL_WHITE);
    fl_draw(line.text, line.length, kOverlayX, top + kOverlayLineY + baseline);
}

} // namespace orvanta
