#include "host/fltk/findings_window.h"

#include <FL/Fl_Hold_Browser.H>

namespace orvanta {

FindingsWindow::FindingsWindow() : Fl_Double_Window(720, 240, "Findings") {
    list_ = new Fl_Hold_Browser(0, 0, w(), h());
    // Rows are shown as written: "@" would otherwise start a formatting code.
    list_->format_char(0);
    resizable(list_);
    end();
}

void FindingsWindow::showFindings(const Findings& findings) {
    rows_.clear(); // fills the list anew
    update(findings);
    Fl_Double_Window::show();
}

void FindingsWindow::update(const Findings& findings) {
    std::vector<std::string> rows = findingsListRows(findings);
    if (rows == rows_ && shown()) return;
    rows_ = std::move(rows);
    list_->clear();
    for (const std::string& row : rows_) list_->add(row.c_str());
    title_ = findingsListTitle(findings);
    label(title_.c_str());
}

} // namespace orvanta
