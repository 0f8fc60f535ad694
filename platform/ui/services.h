// Window-system services the programs use: message boxes, file dialogs, help topics,
// opening documents, the clipboard and the clock. Plain C++, so that the cores that
// show a message or read the clock build and test without a display. The programs
// install the Qt implementation (qt_services.h); tests install the doubles (doubles.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace platform::ui {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Warning, Error };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageBox {
    std::string text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::string title;  // empty: the program's own title
};

struct FileDialog {
    std::string title;
    std::string filter;       // "Settings files (*.SET)|*.SET|All files|*.*" style pairs
    std::string initial_dir;  // empty: the current folder
    std::string file_name;    // proposed name
    std::string default_ext;  // added when the name typed has none, without the dot
    bool overwrite_prompt = false;
};

// The answer of a box closed without a choice: its first button.
inline Answer first_button(Buttons b) {
    return b == Buttons::YesNo || b == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

// Help viewer commands as the programs pass them.
inline constexpr int kHelpDisplayTopic = 15;
inline constexpr int kHelpCloseAll = 18;

struct UtcTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int millisecond = 0;  // within the second: how long until the next one begins
};

class Services {
  public:
    virtual ~Services() = default;
    // Modal; returns when the user answered.
    virtual Answer message_box(const MessageBox& box) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> open_file(const FileDialog& dlg) = 0;
    virtual std::optional<std::string> save_file(const FileDialog& dlg) = 0;
    // Help file (a path beside the program) and topic; a missing file is not reported.
    virtual void html_help(const std::string& help_file, int command, int topic) = 0;
    // "open" or "explore"; false when nothing could open it.
    virtual bool shell_open(const std::string& path, const std::string& verb) = 0;
    virtual void set_clipboard_text(const std::string& text) = 0;
    virtual std::string clipboard_text() = 0;
    // Lets pending window events run (a no-op without a window system).
    virtual void process_events() = 0;
    // The same, but with none pending it sleeps until the next one comes, at most
    // `max_seconds`.
    virtual void wait_for_events(double max_seconds) = 0;
    // Sleeps until a window event other than the user's input comes, at most
    // `max_seconds`, and lets such events run (painting, timers). Keys, clicks and the
    // wheel stay queued (drop_held_input takes them when the operation is over): a user
    // command never starts inside a device operation's wait.
    virtual void wait_holding_input(double max_seconds) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds with fractions from a fixed start. Monotonic: a wait that polls it never
    // hangs across midnight or a change of the wall clock.
    virtual double seconds() = 0;
    // Milliseconds since some fixed start; wraps at 2^32.
    virtual uint32_t tick_count_ms() = 0;
    virtual UtcTime utc_now() = 0;
    // Local date and time as text, for log headers ("09/12/2026 04:28:05").
    virtual std::string local_datetime_text() = 0;
};

// The installed services; a default that never blocks is present until a program or
// test installs its own.
Services& services();
Clock& clock();
void install(Services* s);
void install(Clock* c);

// Shows a modal message box through the installed services.
inline Answer show_message(std::string text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           std::string title = {}) {
    MessageBox box;
    box.text = std::move(text);
    box.buttons = buttons;
    box.icon = icon;
    box.title = std::move(title);
    return services().message_box(box);
}

// Whole seconds of the clock, as the splash wait uses them.
inline int64_t whole_seconds() {
    return static_cast<int64_t>(clock().seconds());
}

}  // namespace platform::ui
