// A live capture through the monitor window from the simulated board at the full line
// rate (120,000 characters a second), in real time. After the first second the raw file
// must hold exactly the characters the board sent, in order: the benchmark fails
// otherwise, and reports the rate it recorded.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frm_monitor.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "rawlnk/rawlnk_sim.h"
#include "ui/doubles.h"

namespace {

namespace fs = std::filesystem;
using velmora::monitor::Frm_Monitor;

constexpr double kCaptureSeconds = 4.0;
constexpr double kLineRate = 120000.0;

// Services that answer like the doubles but let the window system run at each yield, so
// the window is drawn as in use.
class LiveServices : public platform::ui::FakeServices {
  public:
    void process_events() override {
        QCoreApplication::processEvents();
        FakeServices::process_events();
    }
};

QApplication& app() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_monitor_capture";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

// Varied read and write transactions from a fixed seed, about six seconds of the stream:
// a lost piece cannot line up with a later copy of the same text within the capture.
std::string make_cycle() {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<uint8_t>(seed >> 16);
    };
    auto byte = [](std::string& s, uint8_t b, char ack) {
        for (int bit = 7; bit >= 0; --bit) s += (b >> bit) & 1 ? '1' : '0';
        s += ack;
    };
    std::string s;
    while (s.size() < 6 * static_cast<size_t>(kLineRate)) {
        const uint8_t addr = next() & 0xFE;
        s += 'S';
        byte(s, addr, '0');
        byte(s, next(), '0');
        if (next() & 1) s += 'R', byte(s, addr | 1, '0');
        byte(s, next(), '0');
        byte(s, next(), '1');
        s += 'P';
    }
    return s;
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

struct RawFile {
    std::string chars;     // the captured characters of every record, in order
    std::vector<long> ms;  // negative in the first second
    size_t largest = 0;
    bool well_formed = true;
};

RawFile parse_raw(const std::string& text) {
    RawFile raw;
    size_t at = 0;
    while (at < text.size()) {
        const size_t semi = text.find(';', at);
        const size_t end = text.find("\r\n", semi == std::string::npos ? at : semi);
        if (text[at] != ',' || semi == std::string::npos || end == std::string::npos) {
            raw.well_formed = false;
            break;
        }
        raw.ms.push_back(std::stol(text.substr(at + 1, semi - at - 1)));
        raw.chars.append(text, semi + 1, end - semi - 1);
        raw.largest = std::max(raw.largest, end - semi - 1);
        at = end + 2;
    }
    return raw;
}

void BM_LiveCaptureAtTheFullLineRate(benchmark::State& state) {
    app();
    const fs::path dir = fs::temp_directory_path() / "bench_monitor_capture";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string cycle = make_cycle();
    std::ofstream(dir / "stream.txt") << cycle;
    std::ofstream(dir / "world.txt") << "board qx7310\n  serial ZQ000001\n"
                                        "  traffic replay file stream.txt rate 120000\n";

    LiveServices services;
    platform::ui::install(&services);
    RLSIM_SetStateDir(nullptr);
    RLSIM_UseVirtualClock(0);
    if (RLSIM_LoadWorldFile((dir / "world.txt").c_str()) != 0) {
        state.SkipWithError(RLSIM_LastError());
        return;
    }

    for (auto _ : state) {
        fs::remove(dir / "run.txt");
        fs::remove(dir / "run.txta");
        velmora::shared() = velmora::SharedState{};
        velmora::shared().BoardSerial = velmora::Find_Board();
        velmora::Open_USB_Cmd();
        Frm_Monitor* mon = velmora::monitor::enter_monitor([] { velmora::Close_USB(); });

        using Clock = std::chrono::steady_clock;
        Clock::time_point started{};
        services.on_process_events = [&] {
            if (started == Clock::time_point{}) started = Clock::now();
            if (mon->capture().running() &&
                Clock::now() - started >= std::chrono::duration<double>(kCaptureSeconds))
                mon->RXStop_Click();
        };
        services.file_answers = {(dir / "run.txt").string()};
        services.answers = {platform::ui::Answer::No};
        const double cpu0 = cpu_seconds();
        const Clock::time_point t0 = Clock::now();
        mon->RX_Click();
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double cpu = cpu_seconds() - cpu0;
        const bool switched = mon->capture().PostProcessMode();
        mon->monExit_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const RawFile raw = parse_raw(read_file(dir / "run.txta"));
        if (!raw.well_formed || raw.chars.size() < 64) {
            state.SkipWithError("the raw file holds no well-formed records");
            break;
        }
        // Where the first recorded character stands in what the board sends, then every
        // character after it, in order.
        const std::string twice = cycle + cycle;
        const size_t from = twice.find(raw.chars.substr(0, 64));
        size_t same = 0;
        if (from != std::string::npos) {
            while (same < raw.chars.size() &&
                   raw.chars[same] == cycle[(from + same) % cycle.size()])
                ++same;
        }
        const double span_s = (raw.ms.back() - raw.ms.front()) / 1000.0;
        state.counters["chars_recorded"] = static_cast<double>(raw.chars.size());
        state.counters["chars_in_order"] = static_cast<double>(same);
        state.counters["chars_per_s"] = (raw.chars.size() - raw.largest) / span_s;
        state.counters["records"] = static_cast<double>(raw.ms.size());
        state.counters["largest_read"] = static_cast<double>(raw.largest);
        state.counters["first_ms"] = raw.ms.front();
        state.counters["post_processed"] = switched ? 1 : 0;
        state.counters["cpu_share"] = cpu / wall;
        if (same != raw.chars.size()) {
            state.SkipWithError("the raw file lost or changed characters the board sent");
            break;
        }
        if (span_s < kCaptureSeconds - 1.5 ||
            std::abs((raw.chars.size() - raw.largest) / span_s - kLineRate) > 0.02 * kLineRate) {
            state.SkipWithError("the raw file does not cover the capture at the line rate");
            break;
        }
    }
    platform::ui::install(static_cast<platform::ui::Services*>(nullptr));
    fs::remove_all(dir);
}
BENCHMARK(BM_LiveCaptureAtTheFullLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
