// Arbitrary characters through the monitor's decoding stages in all three modes, live and
// as a raw capture file split at arbitrary places.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "line_assembler.h"
#include "raw_replay.h"

namespace {

using velmora::monitor::DecodeMode;
using velmora::monitor::LineAssembler;
using velmora::monitor::LineSink;

class CheckingSink : public LineSink {
  public:
    void show_line(std::string_view line) override { check(line); }
    void log_line(std::string_view line) override { check(line); }
    void watchdog_fired() override {}

  private:
    static void check(std::string_view line) {
        // Bounded: a line never holds more than the cap plus one transaction's texts.
        if (line.size() > velmora::monitor::kMaxLineText + 4001 * 64) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t options = data[0];
    const size_t split = data[1];
    const std::string_view chars(reinterpret_cast<const char*>(data + 2), size - 2);
    for (DecodeMode mode : {DecodeMode::Hex, DecodeMode::SBS, DecodeMode::PMBus}) {
        CheckingSink sink;
        LineAssembler live(sink);
        live.mode = mode;
        live.DisplayON = options & 1;
        live.DatalogOn = options & 2;
        live.PostProcessMode = options & 4;
        std::string_view rest = chars;
        while (!rest.empty()) rest.remove_prefix(live.feed(rest).taken);
        if (live.EventCount > velmora::monitor::kWatchdogEvents) std::abort();

        LineAssembler replayed(sink);
        replayed.mode = mode;
        replayed.DatalogOn = true;
        replayed.PostProcessMode = true;
        velmora::monitor::RawReplay replay(replayed, sink);
        const size_t cut = split < chars.size() ? split : chars.size();
        replay.feed(chars.substr(0, cut));
        replay.feed(chars.substr(cut));
        replay.finish();
    }
    return 0;
}
