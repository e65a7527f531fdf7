#pragma once

class Fl_Window;
class Fl_RGB_Image;

namespace orvanta {

// Shows the About box modally over `owner` and returns when OK, Escape or the close box
// ends it. The owner's timers keep firing meanwhile, so the simulation goes on behind it.
void showAboutBox(const Fl_Window& owner, Fl_RGB_Image* icon);

} // namespace orvanta
