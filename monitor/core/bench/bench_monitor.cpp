// Decoding speed of the monitor core: event characters through Decode_Symbol, Display and
// the traffic decoders with display off and logging to a file, in each mode; and the
// post-processing of a large raw capture file (time and resident memory).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
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
    for (int i = 0; out.size() < size; ++i) {
        const int addr = pmbus ? 0xB8 : 0x16;
        const int word_cmd = pmbus ? (i % 2 ? 0x79 : 0x8B) : (i % 3 == 0 ? 0x16 : 0x08 + i % 8);
        const int byte_cmd = pmbus ? 0x78 + i % 3 : 0x09;
        out += "S" + byte_chars(addr, true) + byte_chars(word_cmd, true) + "R" +
               byte_chars(addr + 1, true) + byte_chars(i & 0xFF, true) +
               byte_chars((i >> 3) & 0xFF, false) + "P";
        out += "S" + byte_chars(pmbus ? addr : 0x12, true) + byte_chars(pmbus ? 0x21 : 0x14, true) +
               byte_chars(0xD0, true) + byte_chars(0x07, true) + "P";
        out += "S" + byte_chars(addr, true) + byte_chars(byte_cmd, true) + "R" +
               byte_chars(addr + 1, true) + byte_chars(0x41, false) + "P";
        out += "S" + byte_chars(addr, true) + byte_chars(0x03, true) + "P";
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
        sink.log.create(path);
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

double max_rss_mib() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_maxrss) / 1024.0;
}

// A raw capture of `mib` MiB: records of about 4000 characters, as reads at the full line
// rate return them.
std::string write_raw_file(int mib) {
    const std::string path = temp_file("bench_monitor_raw.txta");
    const std::string chunk = traffic(4000, false);
    TextFile raw;
    raw.create(path);
    const size_t target = static_cast<size_t>(mib) << 20;
    size_t written = 0;
    for (uint32_t ms = 1; written < target; ms += 33) {
        velmora::monitor::write_raw_record(raw, ms, chunk);
        written += chunk.size() + 12;
    }
    raw.close();
    return path;
}

void BM_PostProcess(benchmark::State& state) {
    const int mib = static_cast<int>(state.range(0));
    const std::string raw = write_raw_file(mib);
    const std::string log = temp_file("bench_monitor_post.txt");
    const double rss_before = max_rss_mib();
    for (auto _ : state) {
        FileSink sink;
        sink.log.create(log);
        LineAssembler dec(sink);
        dec.mode = DecodeMode::SBS;
        dec.PostProcessMode = true;
        dec.DatalogOn = true;
        velmora::monitor::post_process_file(raw, dec, sink);
        sink.log.close();
    }
    const double secs_per_gib =
        state.iterations() > 0 ? 0 : 0;  // filled from the timer below by the counters
    (void)secs_per_gib;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (int64_t{mib} << 20));
    state.counters["maxrss_MiB"] = max_rss_mib();
    state.counters["maxrss_before_MiB"] = rss_before;
    std::filesystem::remove(raw);
    std::filesystem::remove(log);
}
BENCHMARK(BM_PostProcess)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
