// Qt implementation of the window-system services, installed by each program's main().
#pragma once

#include "services.h"

namespace platform::ui {

class QtServices : public Services {
  public:
    Answer message_box(const MessageBox& box) override;
    std::optional<std::string> open_file(const FileDialog& dlg) override;
    std::optional<std::string> save_file(const FileDialog& dlg) override;
    // A help file "name.chm" is shown from the folder "name" beside it, one page
    // "<topic>.html" per topic ("index.html" when the topic has no page).
    void html_help(const std::string& help_file, int command, int topic) override;
    bool shell_open(const std::string& path, const std::string& verb) override;
    void set_clipboard_text(const std::string& text) override;
    std::string clipboard_text() override;
    void process_events() override;
    void wait_for_events(double max_seconds) override;
    void wait_holding_input(double max_seconds) override;
};

// Turns "Text files (*.txt)|*.txt|All files|*.*" into Qt's ";;"-separated filter.
std::string qt_filter(const std::string& pairs);

// Installs QtServices and the system clock; call after the QApplication exists.
void install_qt_services();

// Input that came while an operation ran, held back by wait_holding_input or queued
// behind the operation's driver calls, is taken from the queue and goes nowhere. A click
// or key meant for a window that did not answer must not start anything once it does
// (a second Program, a New that clears the results just logged).
void drop_held_input();

// Ends the program once control is back in the event loop, unless a window is visible by
// then: a program whose windows unload one another ends with its last window.
void quit_when_no_window_left();

}  // namespace platform::ui
