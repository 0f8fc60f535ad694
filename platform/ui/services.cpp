#include "services.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace platform::ui {
namespace {

// Without a window system: boxes go to standard error and take their first button.
class PlainServices : public Services {
  public:
    Answer message_box(const MessageBox& box) override {
        std::fprintf(stderr, "%s%s%s\n", box.title.c_str(), box.title.empty() ? "" : ": ",
                     box.text.c_str());
        return first_button(box.buttons);
    }
    std::optional<std::string> open_file(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> save_file(const FileDialog&) override { return std::nullopt; }
    void html_help(const std::string&, int, int) override {}
    bool shell_open(const std::string&, const std::string&) override { return false; }
    void set_clipboard_text(const std::string& text) override { clip_ = text; }
    std::string clipboard_text() override { return clip_; }
    void process_events() override {}
    void wait_for_events(double) override {}
    // No input to hold: the wait is a plain sleep.
    void wait_holding_input(double max_seconds) override {
        if (max_seconds > 0)
            std::this_thread::sleep_for(std::chrono::duration<double>(max_seconds));
    }

  private:
    std::string clip_;
};

class SystemClock : public Clock {
  public:
    double seconds() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now() - start_).count() + 1.0;
    }
    uint32_t tick_count_ms() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    UtcTime utc_now() override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
        const std::time_t t = static_cast<std::time_t>(ms.count() / 1000);
        std::tm tm{};
        gmtime_r(&t, &tm);
        return {tm.tm_year + 1900,
                tm.tm_mon + 1,
                tm.tm_mday,
                tm.tm_hour,
                tm.tm_min,
                tm.tm_sec,
                static_cast<int>(ms.count() % 1000)};
    }
    std::string local_datetime_text() override {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        char buf[64];
        std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &tm);
        return buf;
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

PlainServices g_plain;
SystemClock g_system_clock;
Services* g_services = &g_plain;
Clock* g_clock = &g_system_clock;

}  // namespace

Services& services() {
    return *g_services;
}
Clock& clock() {
    return *g_clock;
}
void install(Services* s) {
    g_services = s ? s : &g_plain;
}
void install(Clock* c) {
    g_clock = c ? c : &g_system_clock;
}

}  // namespace platform::ui
