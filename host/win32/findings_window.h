#pragma once
// The checker's findings on the file shown, in a window of their own beside the picture.
#include <windows.h>

#include <string>
#include <vector>

#include "session/findings.h"

namespace orvanta {

class FindingsWindow {
  public:
    FindingsWindow() = default;
    FindingsWindow(const FindingsWindow&) = delete;
    FindingsWindow& operator=(const FindingsWindow&) = delete;

    // Shows `findings`, one "file:line: severity: message" row each, in a window owned by
    // `owner` and placed beside it; the title names the file and counts the errors and
    // warnings. Closing the window only hides it.
    void show(HINSTANCE instance, HWND owner, const Findings& findings);
    // Replaces the rows and the title when the window is open and the findings changed.
    void update(const Findings& findings);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND list_ = nullptr;
    std::vector<std::string> rows_;
};

} // namespace orvanta
