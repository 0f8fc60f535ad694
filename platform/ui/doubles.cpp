#include "doubles.h"

#include <cmath>

namespace platform::ui {

Answer FakeServices::message_box(const MessageBox& box) {
    messages.push_back(box);
    if (on_message) on_message(box);
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return first_button(box.buttons);
}

std::optional<std::string> FakeServices::next_file_answer() {
    if (file_answers.empty()) return std::nullopt;
    auto a = file_answers.front();
    file_answers.pop_front();
    return a;
}

std::optional<std::string> FakeServices::open_file(const FileDialog& dlg) {
    open_dialogs.push_back(dlg);
    return next_file_answer();
}

std::optional<std::string> FakeServices::save_file(const FileDialog& dlg) {
    save_dialogs.push_back(dlg);
    return next_file_answer();
}

void FakeServices::html_help(const std::string& help_file, int command, int topic) {
    help_calls.push_back({help_file, command, topic});
}

bool FakeServices::shell_open(const std::string& path, const std::string& verb) {
    shell_calls.push_back({path, verb});
    return shell_result;
}

void FakeServices::process_events() {
    ++events_processed;
    if (on_process_events) on_process_events();
}

void FakeServices::wait_for_events(double max_seconds) {
    waits.push_back(max_seconds);
    process_events();
}

void FakeServices::wait_holding_input(double max_seconds) {
    held_waits.push_back(max_seconds);
    if (on_process_events) on_process_events();
}

std::vector<std::string> FakeServices::message_texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

double FakeClock::seconds() {
    double t = now;
    advance(step);
    return t;
}

uint32_t FakeClock::tick_count_ms() {
    auto t = static_cast<uint32_t>(static_cast<uint64_t>(std::llround(now * 1000.0)));
    advance(step);
    return t;
}

void FakeClock::advance(double secs) {
    if (secs <= 0) return;
    now += secs;
    if (on_advance) on_advance(static_cast<uint64_t>(std::llround(secs * 1e6)));
}

ScopedDoubles::ScopedDoubles() {
    install(static_cast<Services*>(&ui));
    install(static_cast<Clock*>(&clock));
}

ScopedDoubles::~ScopedDoubles() {
    install(static_cast<Services*>(nullptr));
    install(static_cast<Clock*>(nullptr));
}

}  // namespace platform::ui
