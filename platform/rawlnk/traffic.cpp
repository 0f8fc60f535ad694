#include "traffic.h"

#include <algorithm>
#include <array>

namespace rawlnk {
namespace {

constexpr uint64_t kSecondNs = 1'000'000'000;
constexpr uint64_t kBusEventNs = 10'000;  // one bit time of a 100 kHz bus
constexpr uint8_t kBattery = 0x16, kPmbus = 0xB8;
constexpr std::array<uint8_t, 5> kBatteryPolls = {0x09, 0x0A, 0x08, 0x0D, 0x16};
constexpr std::array<uint8_t, 4> kPmbusPolls = {0x8B, 0x8C, 0x88, 0x79};

void put_byte(std::string& s, uint8_t b, char one) {
    for (int bit = 7; bit >= 0; --bit) s.push_back((b >> bit) & 1 ? one : '0');
}

uint64_t mul_div(uint64_t a, uint64_t b, uint64_t c, bool round_up) {
    const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
    return static_cast<uint64_t>(round_up ? (p + c - 1) / c : p / c);
}

}  // namespace

std::string read_word_events(const Bus& bus, uint8_t addr, uint8_t cmd) {
    std::string s = "S";
    put_byte(s, addr & 0xFE, '1');
    const auto v = bus.read(addr, cmd, 2);
    if (!v) return s + "1P";
    s += '0';
    put_byte(s, cmd, '1');
    s += "0R";
    put_byte(s, addr | 1, '1');
    s += '0';
    put_byte(s, static_cast<uint8_t>(*v & 0xFF), '@');
    s += '0';  // the host acknowledges the low byte
    put_byte(s, static_cast<uint8_t>(*v >> 8), '@');
    s += "1P";  // and not the last one
    return s;
}

void TrafficGen::configure(const TrafficSpec& spec, const Bus* bus) {
    spec_ = spec;
    bus_ = bus;
    running_ = false;
    polls_.clear();
    if (spec.mode != TrafficMode::Poll) return;
    const bool battery = bus->acknowledges(kBattery), pmbus = bus->acknowledges(kPmbus);
    for (size_t i = 0; i < std::max(kBatteryPolls.size(), kPmbusPolls.size()); ++i) {
        if (battery && i < kBatteryPolls.size()) polls_.push_back({kBattery, kBatteryPolls[i]});
        if (pmbus && i < kPmbusPolls.size()) polls_.push_back({kPmbus, kPmbusPolls[i]});
    }
}

void TrafficGen::start(uint64_t t_ns) {
    running_ = spec_.mode != TrafficMode::None;
    t0_ = t_ns;
    k_ = 0;
    j_ = 0;
    pos_ = 0;
    if (spec_.mode == TrafficMode::Poll) build_poll();
}

uint64_t TrafficGen::spacing_ns() const {
    return spec_.mode == TrafficMode::Replay ? kSecondNs / spec_.rate : kBusEventNs;
}

uint64_t TrafficGen::replay_time(uint64_t k) const {
    return t0_ + mul_div(k, kSecondNs, spec_.rate, true);
}

uint64_t TrafficGen::poll_time() const {
    return t0_ + j_ * spec_.period_ms * 1'000'000ull + pos_ * kBusEventNs;
}

void TrafficGen::build_poll() {
    cur_.clear();
    if (polls_.empty()) return;
    const Poll& p = polls_[j_ % polls_.size()];
    cur_ = read_word_events(*bus_, p.addr, p.cmd);
}

uint64_t TrafficGen::next_time() const {
    if (!running_) return kNever;
    if (spec_.mode == TrafficMode::Replay) return replay_time(k_);
    return cur_.empty() ? kNever : poll_time();
}

void TrafficGen::skip_to(uint64_t t_ns) {
    if (!running_ || t_ns <= t0_) return;
    const uint64_t d = t_ns - t0_;
    if (spec_.mode == TrafficMode::Replay) {
        k_ = std::max(k_, mul_div(d, spec_.rate, kSecondNs, true));
        return;
    }
    if (cur_.empty()) return;
    const uint64_t period = spec_.period_ms * 1'000'000ull;
    const uint64_t j = d / period;
    if (j_ < j) {
        j_ = j;
        pos_ = 0;
        build_poll();
    }
    if (j_ == j) pos_ = std::max<size_t>(pos_, (d - j * period + kBusEventNs - 1) / kBusEventNs);
    if (pos_ >= cur_.size()) {
        ++j_;
        pos_ = 0;
        build_poll();
    }
}

void TrafficGen::emit_to(uint64_t t_ns, ByteFifo& out) {
    if (!running_ || t_ns < t0_) return;
    if (spec_.mode == TrafficMode::Replay) {
        const uint64_t last = mul_div(t_ns - t0_, spec_.rate, kSecondNs, false);
        const std::string& text = spec_.events;
        while (k_ <= last && out.room() > 0) {
            const size_t at = static_cast<size_t>(k_ % text.size());
            const size_t n = static_cast<size_t>(
                std::min<uint64_t>({text.size() - at, last - k_ + 1, out.room()}));
            out.push(reinterpret_cast<const uint8_t*>(text.data()) + at, n);
            k_ += n;
        }
        k_ = std::max(k_, last + 1);
        return;
    }
    while (!cur_.empty() && poll_time() <= t_ns) {
        if (out.room() == 0) return skip_to(t_ns + 1);
        out.push(static_cast<uint8_t>(cur_[pos_]));
        if (++pos_ == cur_.size()) {
            ++j_;
            pos_ = 0;
            build_poll();
        }
    }
}

}  // namespace rawlnk
