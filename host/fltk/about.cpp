#include "host/fltk/about.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>

#include "orvanta_version.h"

namespace orvanta {

namespace {
void hideWindowOf(Fl_Widget* widget, void*) {
    widget->window()->hide();
}
} // namespace

void showAboutBox(const Fl_Window& owner, Fl_RGB_Image* icon) {
    // The layout follows the classic dialog template (230 x 75 dialog units, placed at
    // 22, 17 in the owner), converted at 1.5 pixels per unit across and 1.625 down.
    Fl_Double_Window box(owner.x() + 33, owner.y() + 28, 345, 122, "About");
    Fl_Box picture(21, 15, 32, 32);
    picture.image(icon);
    Fl_Box version(74, 14, 190, 16, "Orvanta Version 1.0");
    version.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    Fl_Box line(74, 32, 190, 16, ORVANTA_ABOUT_LINE);
    line.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    line.labelsize(12);
    Fl_Return_Button ok(268, 10, 66, 24, "OK");
    ok.callback(hideWindowOf);
    box.end();
    // The window's default callback hides it, which is what Escape and the close box do.
    box.set_modal();
    box.show();
    while (box.shown()) Fl::wait();
}

} // namespace orvanta
