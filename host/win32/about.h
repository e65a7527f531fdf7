#pragma once
#include <windows.h>

namespace orvanta {

// Shows the About box (dialog 103) modally over `owner` until OK, Escape or the close box
// ends it. Its modal loop keeps dispatching the owner's timer and paint messages, so the
// simulation goes on behind it.
void showAboutBox(HINSTANCE instance, HWND owner);

} // namespace orvanta
