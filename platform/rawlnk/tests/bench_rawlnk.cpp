// Cost of the simulation: one request and its reply on the virtual clock, and the monitor
// stream at the full line rate as the monitor's capture loop reads it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "rawlnk.h"
#include "rawlnk_sim.h"

namespace {

constexpr const char* kFullRateWorld = R"(board b
  serial B1
  device 0x16 battery
  traffic replay events "S0001011000000010010R00010111000@@0@00000@@000001P" rate 120000
)";

RL_HANDLE open_link(uint32_t baud) {
    RL_HANDLE h = nullptr;
    RL_Open(0, &h);
    RL_SetBaudRate(h, baud);
    RL_SetDataCharacteristics(h, 8, 0, 0);
    RL_SetFlowControl(h, RL_FLOW_RTS_CTS, 0, 0);
    RL_SetTimeouts(h, 500, 500);
    return h;
}

// The full-rate world in monitor mode, its monitor link open.
RL_HANDLE start_stream(bool virtual_clock) {
    RLSIM_SetStateDir(nullptr);
    RLSIM_UseVirtualClock(virtual_clock ? 1 : 0);
    RLSIM_LoadWorldText(kFullRateWorld);
    RL_HANDLE h = open_link(19534);
    const uint8_t m[] = {'M', 13};
    uint32_t n = 0;
    RL_Write(h, m, 2, &n);
    RL_Close(h);
    return open_link(1200000);
}

// What the monitor's capture loop does on each pass: ask the queue, read all of it.
uint32_t take_queue(RL_HANDLE h, std::vector<char>& buf) {
    uint32_t q = 0, n = 0;
    RL_GetQueueStatus(h, &q);
    if (q) RL_Read(h, buf.data(), q, &n);
    return n;
}

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void BM_RequestAndReplyVirtualClock(benchmark::State& state) {
    RLSIM_SetStateDir(nullptr);
    RLSIM_UseVirtualClock(1);
    RLSIM_LoadDefaultWorld();
    RL_HANDLE h = open_link(19534);
    const uint8_t frame[] = {'4', 0x16, 0x09, 13};
    uint8_t reply[2];
    for (auto _ : state) {
        uint32_t n = 0;
        RL_Write(h, frame, sizeof frame, &n);
        RL_Read(h, &reply[0], 1, &n);
        RL_Read(h, &reply[1], 1, &n);
        if (n != 1 || reply[0] != 0x34) state.SkipWithError("wrong reply");
    }
    RL_Close(h);
}
BENCHMARK(BM_RequestAndReplyVirtualClock);

// One simulated second of the stream read in 1 ms chunks; the counter is the share of a
// core that one real second of the stream costs.
void BM_MonitorStreamVirtualSecond(benchmark::State& state) {
    RL_HANDLE h = start_stream(true);
    std::vector<char> buf(65526);
    uint64_t chars = 0;
    const double c0 = cpu_seconds();
    for (auto _ : state) {
        for (int ms = 0; ms < 1000; ++ms) {
            RLSIM_AdvanceMicros(1000);
            chars += take_queue(h, buf);
        }
    }
    state.counters["chars_per_s"] =
        static_cast<double>(chars) / static_cast<double>(state.iterations());
    state.counters["core_share"] = (cpu_seconds() - c0) / static_cast<double>(state.iterations());
    RL_Close(h);
}
BENCHMARK(BM_MonitorStreamVirtualSecond)->Unit(benchmark::kMillisecond);

// Real time: a reader that takes what has come every millisecond, for one second. The
// counter is the CPU time spent per second of wall time.
void BM_MonitorStreamRealTime(benchmark::State& state) {
    RL_HANDLE h = start_stream(false);
    std::vector<char> buf(65526);
    uint64_t chars = 0;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double c0 = cpu_seconds();
        const auto t0 = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - t0 < std::chrono::seconds(1)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            chars += take_queue(h, buf);
        }
        cpu += cpu_seconds() - c0;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["chars_per_s"] = static_cast<double>(chars) / wall;
    state.counters["core_share"] = cpu / wall;
    RL_Close(h);
}
BENCHMARK(BM_MonitorStreamRealTime)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
