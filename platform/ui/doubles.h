// Test doubles of the window-system services: they answer at once with what the test
// scripted and record every call.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "services.h"

namespace platform::ui {

class FakeServices : public Services {
  public:
    struct HelpCall {
        std::string file;
        int command;
        int topic;
    };
    struct ShellCall {
        std::string path;
        std::string verb;
    };

    // Scripted answers, taken in order; when none is left a box answers with its first
    // button (Ok or Yes) and a file dialog is cancelled.
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> file_answers;
    // Called for each box before it answers (a test may act "inside" the modal loop).
    std::function<void(const MessageBox&)> on_message;

    std::vector<MessageBox> messages;
    std::vector<FileDialog> open_dialogs;
    std::vector<FileDialog> save_dialogs;
    std::vector<HelpCall> help_calls;
    std::vector<ShellCall> shell_calls;
    std::string clipboard;
    int events_processed = 0;
    bool shell_result = true;

    Answer message_box(const MessageBox& box) override;
    std::optional<std::string> open_file(const FileDialog& dlg) override;
    std::optional<std::string> save_file(const FileDialog& dlg) override;
    void html_help(const std::string& help_file, int command, int topic) override;
    bool shell_open(const std::string& path, const std::string& verb) override;
    void set_clipboard_text(const std::string& text) override { clipboard = text; }
    std::string clipboard_text() override { return clipboard; }
    void process_events() override;
    // Records the longest sleep asked for, then lets events run as process_events() does:
    // the double never sleeps.
    void wait_for_events(double max_seconds) override;
    std::vector<double> waits;
    // Records the sleep asked for in `held_waits` and calls on_process_events, nothing
    // else: no input is let run.
    void wait_holding_input(double max_seconds) override;
    std::vector<double> held_waits;

    // Texts of the boxes shown so far.
    std::vector<std::string> message_texts() const;
    // Called by process_events() and the waits, e.g. to press a key on a splash screen.
    std::function<void()> on_process_events;

  private:
    // Open and save dialogs take their answers from one queue.
    std::optional<std::string> next_file_answer();
};

// A clock that moves only when asked: each read advances it by `step` seconds (so a
// wait that polls it ends), and advance() moves it by any amount.
class FakeClock : public Clock {
  public:
    double now = 1000.0;  // seconds
    double step = 0.001;  // added after each read of seconds() or tick_count_ms()
    UtcTime utc{2026, 12, 9, 4, 28, 5};
    std::string local_text = "09/12/2026 04:28:05";
    // Told of every advance in microseconds (e.g. to move the simulator's clock along).
    std::function<void(uint64_t)> on_advance;

    double seconds() override;
    uint32_t tick_count_ms() override;
    UtcTime utc_now() override { return utc; }
    std::string local_datetime_text() override { return local_text; }
    void advance(double secs);
};

// Installs the doubles for the lifetime of the object and restores the defaults after.
class ScopedDoubles {
  public:
    ScopedDoubles();
    ~ScopedDoubles();
    ScopedDoubles(const ScopedDoubles&) = delete;
    ScopedDoubles& operator=(const ScopedDoubles&) = delete;
    FakeServices ui;
    FakeClock clock;
};

}  // namespace platform::ui
