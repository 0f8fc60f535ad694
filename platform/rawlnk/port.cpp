#include "port.h"

#include <algorithm>

#include "rawlnk.h"

namespace rawlnk {
namespace {

constexpr uint32_t kCommandBaud = 19534;
constexpr uint32_t kMonitorBaud = 1200000;
constexpr uint64_t kBusBitNs = 10'000;  // 100 kHz bus: the transaction's own time
constexpr size_t kWriteLogLimit = 1 << 20;

// A UART reads bytes sent within half a percent of its own rate; 19,200 is not 19,534.
bool baud_matches(uint32_t set, uint32_t want) {
    return static_cast<uint64_t>(set) * 1000 >= static_cast<uint64_t>(want) * 995 &&
           static_cast<uint64_t>(set) * 1000 <= static_cast<uint64_t>(want) * 1005;
}

bool frame_format_matches(const LinkSettings& s) {
    return s.bits == RL_BITS_8 && s.stop == RL_STOP_BITS_1 && s.parity == RL_PARITY_NONE &&
           s.flow == RL_FLOW_RTS_CTS;
}

}  // namespace

bool is_command_link(const LinkSettings& s) {
    return baud_matches(s.baud, kCommandBaud) && frame_format_matches(s);
}

bool is_monitor_link(const LinkSettings& s) {
    return baud_matches(s.baud, kMonitorBaud) && frame_format_matches(s);
}

uint64_t Port::byte_ns() const {
    const uint64_t bits =
        1u + settings.bits + (settings.parity ? 1u : 0u) + (settings.stop ? 2u : 1u);
    return bits * 1'000'000'000ull / std::max<uint32_t>(settings.baud, 1);
}

bool Port::receiving() const {
    return open && board_ && board_->ctl.monitor() && board_->gen.running() &&
           is_monitor_link(settings);
}

void Port::update_stream(uint64_t now) {
    const bool on = receiving();
    // Characters due before the host started listening never reach it.
    if (on && !stream_on_) board_->gen.skip_to(now);
    stream_on_ = on;
}

void Port::set_open(bool on, uint64_t now) {
    open = on;
    settings = LinkSettings{};
    purge_rx();
    host_tx_free_ = board_tx_free_ = now;
    update_stream(now);
}

void Port::log_write(const uint8_t* p, size_t n) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (write_log.size() > kWriteLogLimit) {
        // Keep the newer half, from a line start.
        const size_t cut = write_log.find('\n', write_log.size() / 2);
        write_log.erase(0, cut == std::string::npos ? write_log.size() : cut + 1);
    }
    for (size_t i = 0; i < n; ++i) {
        if (i) write_log.push_back(' ');
        write_log.push_back(kHex[p[i] >> 4]);
        write_log.push_back(kHex[p[i] & 15]);
    }
    write_log.push_back('\n');
}

void Port::schedule_reply(Outcome& out, uint64_t t) {
    if (!out.answered || faults.take(Fault::NoReply)) return;
    if (faults.take(Fault::ShortReply) && !out.reply.empty()) out.reply.pop_back();
    uint64_t at =
        std::max(t + static_cast<uint64_t>(out.bus_bytes) * 9 * kBusBitNs, board_tx_free_);
    for (uint8_t b : out.reply) {
        at += byte_ns();
        in_flight_.emplace_back(at, b);
    }
    board_tx_free_ = at;
}

void Port::host_write(const uint8_t* p, size_t n, uint64_t now) {
    const uint64_t each = byte_ns();
    for (size_t i = 0; i < n; ++i) {
        const uint64_t t = std::max(now, host_tx_free_) + each;
        host_tx_free_ = t;
        if (!board_) continue;
        if (board_->ctl.monitor()) {
            // In monitor mode only the monitor link reaches the controller.
            if (is_monitor_link(settings) && board_->ctl.monitor_receive(p[i])) {
                board_->gen.stop();
                update_stream(now);
            }
            continue;
        }
        if (!is_command_link(settings)) {
            board_->ctl.garbage();
            continue;
        }
        Outcome out;
        if (!board_->ctl.receive(p[i], t, out)) continue;
        if (out.entered_monitor) {
            board_->gen.start(t);
            update_stream(now);
        }
        schedule_reply(out, t);
    }
}

void Port::pump(uint64_t now) {
    while (!in_flight_.empty() && in_flight_.front().first <= now) {
        rx_.push(in_flight_.front().second);
        in_flight_.pop_front();
    }
    if (stream_on_) board_->gen.emit_to(now, rx_);
}

uint64_t Port::next_arrival() const {
    uint64_t t = in_flight_.empty() ? kNever : in_flight_.front().first;
    if (stream_on_) t = std::min(t, board_->gen.next_time());
    return t;
}

uint64_t Port::arrival_spacing() const {
    return stream_on_ ? board_->gen.spacing_ns() : byte_ns();
}

}  // namespace rawlnk
