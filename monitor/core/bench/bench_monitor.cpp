// Decoding speed of the monitor core: event characters through Decode_Symbol, Display and
// the traffic decoders with display off and logging to a file, in each mode; and the
// post-processing of a large raw capture file (time and resident memory).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "line_assembler.h"
#include "log_files.h"
#include "raw_replay.h"

namespace {

using velmora::monitor::DecodeMode;
using velmora::monitor::LineAssembler;
using velmora::monitor::LineSink;
using velmora::monitor::TextFile;

std::string byte_chars(int byte, bool ack) {
    std::string s;
    for (int bit = 7; bit >= 0; --bit) s += ((byte >> bit) & 1) ? '1' : '0';
    s += ack ? '0' : '1';
    return s;
}

// One read word, one write word, one read byte and one send byte; the codes vary so that
// names, values and flag texts all come up.
std::string traffic(size_t size, bool pmbus) {
    std::string out;
    auto tx = [&out](std::initializer_list<int> bytes, int repeated_start_before, bool nack_last) {
        out += 'S';
        int n = 0;
        for (int b : bytes) {
            if (n == repeated_start_before) out += 'R';
            out += byte_chars(b, !(nack_last && n + 1 == static_cast<int>(bytes.size())));
            ++n;
        }
        out += 'P';
    };
    const int addr = pmbus ? 0xB8 : 0x16;
    for (int i = 0; out.size() < size; ++i) {
        const int word_cmd = pmbus ? (i % 2 ? 0x79 : 0x8B) : (i % 3 == 0 ? 0x16 : 0x08 + i % 8);
        tx({addr, word_cmd, addr + 1, i & 0xFF, (i >> 3) & 0xFF}, 2, true);
        tx({pmbus ? addr : 0x12, pmbus ? 0x21 : 0x14, 0xD0, 0x07}, -1, false);
        tx({addr, pmbus ? 0x78 + i % 3 : 0x09, addr + 1, 0x41}, 2, true);
        tx({addr, 0x03}, -1, false);
    }
    return out;
}

std::string temp_file(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Logs to a file, shows nothing: the capture's sink with display off.
class FileSink : public LineSink {
  public:
    TextFile log;
    void show_line(std::string_view) override {}
    void log_line(std::string_view line) override { log.write_line(line); }
    void watchdog_fired() override {}
};

void BM_Decode(benchmark::State& state) {
    const auto mode = static_cast<DecodeMode>(state.range(0));
    const std::string chars = traffic(16 << 20, mode == DecodeMode::PMBus);
    const std::string path = temp_file("bench_monitor_decode.txt");
    FileSink sink;
    LineAssembler dec(sink);
    dec.mode = mode;
    dec.DisplayON = false;
    dec.DatalogOn = true;
    for (auto _ : state) {
        sink.log.create(path, TextFile::Create::Replace);
        dec.feed(chars);
        sink.log.close();
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chars.size()));
    state.counters["Mchar/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * chars.size()) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Decode)
    ->ArgName("mode(0=Hex,1=SBS,2=PMBus)")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Peak resident memory since the last reset_peak_rss(), from the kernel's accounting.
double peak_rss_mib() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
    }
    std::fclose(f);
    return static_cast<double>(kib) / 1024.0;
}

void reset_peak_rss() {
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// A raw capture of `mib` MiB: records of about 4000 characters, as reads at the full line
// rate return them.
std::string write_raw_file(int mib) {
    const std::string path = temp_file("bench_monitor_raw.txta");
    const std::string chunk = traffic(4000, false);
    TextFile raw;
    raw.create(path, TextFile::Create::Replace);
    const size_t target = static_cast<size_t>(mib) << 20;
    size_t written = 0;
    for (int64_t ms = 1; written < target; ms += 33) {
        velmora::monitor::write_raw_record(raw, ms, chunk);
        written += chunk.size() + 12;
    }
    raw.close();
    return path;
}

void BM_PostProcess(benchmark::State& state) {
    const int mib = static_cast<int>(state.range(0));
    const std::string raw = write_raw_file(mib);
    const int fd = ::open(raw.c_str(), O_RDONLY);
    velmora::monitor::ReplayRange range;
    range.to = std::filesystem::file_size(raw);
    const std::string log = temp_file("bench_monitor_post.txt");
    reset_peak_rss();
    for (auto _ : state) {
        FileSink sink;
        sink.log.create(log, TextFile::Create::Replace);
        LineAssembler dec(sink);
        dec.mode = DecodeMode::SBS;
        dec.PostProcessMode = true;
        dec.DatalogOn = true;
        velmora::monitor::post_process(fd, range, dec, sink);
        sink.log.close();
    }
    // Peak of the whole process while post-processing, the program's own code included.
    state.counters["peak_rss_MiB"] = peak_rss_mib();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (int64_t{mib} << 20));
    state.counters["s_per_GiB"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * mib / 1024.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    ::close(fd);
    std::filesystem::remove(raw);
    std::filesystem::remove(log);
}
BENCHMARK(BM_PostProcess)
    ->Arg(64)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
