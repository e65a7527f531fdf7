#pragma once
// The checker's findings on the file shown, in a window of their own beside the picture.
#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "session/findings.h"

class Fl_Hold_Browser;

namespace orvanta {

class FindingsWindow : public Fl_Double_Window {
  public:
    FindingsWindow();
    // Shows `findings`, one "file:line: severity: message" row each; the title names the
    // file and counts the errors and warnings.
    void showFindings(const Findings& findings);
    // Replaces the rows when the window is open and the findings changed.
    void update(const Findings& findings);

  private:
    Fl_Hold_Browser* list_ = nullptr;
    std::vector<std::string> rows_;
    std::string title_;
};

} // namespace orvanta
