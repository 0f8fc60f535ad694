// Window tests of the monitor: a QApplication on the offscreen platform, the simulated
// board on its virtual clock, the ui doubles, a folder for the log files, and a script of
// what happens at each yield of the capture loop.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "frm_monitor.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "rawlnk/rawlnk.h"
#include "rawlnk/rawlnk_sim.h"
#include "ui/doubles.h"

namespace velmora::monitor::testing {

namespace fs = std::filesystem;

inline QApplication& test_app() {
    static int argc = 1;
    static char name[] = "monitor_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A board whose monitor stream replays `events` over and over at the full line rate.
inline std::string replay_world(const std::string& events) {
    return "board qx7310\n  serial ZQ000001\n  traffic replay events \"" + events +
           "\" rate 120000\n";
}

class MonitorFixture : public ::testing::Test {
  protected:
    MonitorFixture() {
        test_app();
        // Time stamps in a fixed user's form: day, month and four-digit year.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        RLSIM_SetStateDir(nullptr);
        RLSIM_ClearFaults();
        RLSIM_UseVirtualClock(1);
        shared() = SharedState{};
        monitor_hooks() = MonitorHooks{};
        // The link's waits poll the clock: each read moves it, and the board with it.
        ui.clock.step = 0.001;
        ui.clock.on_advance = [](uint64_t us) { RLSIM_AdvanceMicros(us); };
        ui.ui.on_process_events = [this] { at_yield(); };
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~MonitorFixture() override {
        if (Frm_Monitor* m = monitor_window()) delete m;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (shared().USB_Handle) Close_USB();
        RLSIM_UseVirtualClock(0);
        RLSIM_LoadDefaultWorld();
        monitor_hooks() = MonitorHooks{};
        QLocale::setDefault(QLocale::system());
        fs::remove_all(dir);
    }

    // The board found and its command link open, as the console leaves them; then the
    // switch to the monitor, whose console step closes the link.
    Frm_Monitor* enter(const std::string& world) {
        EXPECT_EQ(RLSIM_LoadWorldText(world.c_str()), 0) << RLSIM_LastError();
        shared().BoardSerial = Find_Board();
        Open_USB_Cmd();
        writes();
        Frm_Monitor* m = enter_monitor([] { Close_USB(); });
        // An empty queue rests by moving nothing: the script moves the board.
        m->capture_loop().idle_wait = [] {};
        mon = m;
        writes();
        return m;
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    // Start on the log file `name`; the script runs at the loop's yields.
    void start(const std::string& name = "run1.txt") {
        ui.ui.file_answers.push_back(path(name));
        mon->RX_Click();
    }

    // Every write the board received since the last call, one line per write.
    static std::string writes() {
        std::string log(RLSIM_TakeWriteLog(0, nullptr, 0) + 1, '\0');
        RLSIM_TakeWriteLog(0, log.data(), log.size());
        log.resize(log.size() - 1);
        return log;
    }

    static uint32_t queued() {
        uint32_t n = 0;
        RL_GetQueueStatus(shared().USB_Handle, &n);
        return n;
    }
    static std::string take(uint32_t n) {
        std::string s(n, '\0');
        uint32_t got = 0;
        if (n) RL_Read(shared().USB_Handle, s.data(), n, &got);
        s.resize(got);
        return s;
    }
    // Moves the board on until at least `n` characters wait in the queue.
    static void arrive(uint32_t n) {
        while (queued() < n) RLSIM_AdvanceMicros(1);
    }
    // Reads the stream up to the start of its replayed `cycle`, so that the next chunk the
    // capture reads begins with the cycle's first character. Stops the clock's own steps.
    void align(const std::string& cycle) {
        ui.clock.step = 0;
        std::string seen = take(queued());
        while (seen.size() < 2 * cycle.size()) {
            RLSIM_AdvanceMicros(1000);
            seen += take(queued());
        }
        const size_t at = seen.find(cycle);
        ASSERT_NE(at, std::string::npos);
        const size_t rest = (cycle.size() - (seen.size() - at) % cycle.size()) % cycle.size();
        arrive(static_cast<uint32_t>(rest));
        take(static_cast<uint32_t>(rest));
    }

    // Enters on a board that replays `cycle`; at the capture's first yield the stream is
    // aligned on the cycle and `n` characters arrive: the loop's first chunk.
    void enter_with_first_chunk(const std::string& cycle, uint32_t n) {
        enter(replay_world(cycle));
        script.push_back([this, cycle, n] {
            align(cycle);
            arrive(n);
        });
    }

    // Moves the program's clock and leaves the board where it is.
    void move_clock_only(double secs) {
        auto board = std::move(ui.clock.on_advance);
        ui.clock.advance(secs);
        ui.clock.on_advance = std::move(board);
    }

    // One step of the script per yield; when it runs out, Stop is pressed.
    void at_yield() {
        if (!mon || !mon->capture_loop().running()) return;  // e.g. the log's folder listing
        ++yields;
        if (!script.empty()) {
            auto step = std::move(script.front());
            script.pop_front();
            step();
        } else if (mon->capture().running()) {
            mon->RXStop_Click();
        }
    }

    platform::ui::ScopedDoubles ui;
    fs::path dir = fs::temp_directory_path() /
                   ("monitor_window_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    Frm_Monitor* mon = nullptr;
    std::deque<std::function<void()>> script;
    int yields = 0;
};

}  // namespace velmora::monitor::testing
