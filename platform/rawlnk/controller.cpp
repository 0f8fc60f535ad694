#include "controller.h"

#include <array>

namespace rawlnk {
namespace {

constexpr uint8_t kCR = 13;
// A pause this long between two bytes ends a half-received frame, so that the link
// recovers after a lost byte.
constexpr uint64_t kFrameGapNs = 50'000'000;
constexpr int kLeaveMonitorCount = 10;
constexpr int kMaxGroupPanels = 8;

struct FixedFrame {
    char letter;
    int length;  // letter, bytes and CR
};
constexpr std::array<FixedFrame, 15> kFixedFrames = {{
    {'0', 3},
    {'2', 3},
    {'1', 4},
    {'D', 4},
    {'4', 4},
    {'G', 4},
    {'C', 5},
    {'O', 5},
    {'Q', 5},
    {'3', 6},
    {'P', 6},
    {'R', 7},
    {'V', 2},
    {'W', 2},
    {'M', 2},
}};

int ext_code(uint8_t cmd, uint8_t ext) {
    return kExtendedCode | cmd << 8 | ext;
}

void word_reply(Outcome& out, std::optional<uint16_t> v, int n) {
    if (!v) return;
    out.answered = true;
    out.reply.push_back(static_cast<uint8_t>(*v & 0xFF));
    if (n == 2) out.reply.push_back(static_cast<uint8_t>(*v >> 8));
}

void ack_reply(Outcome& out, bool ack) {
    if (!ack) return;
    out.answered = true;
    out.reply.push_back(0x00);
}

void block_reply(Outcome& out, const std::vector<uint8_t>& data) {
    out.answered = true;
    out.reply.push_back(static_cast<uint8_t>(data.size()));
    out.reply.insert(out.reply.end(), data.begin(), data.end());
}

}  // namespace

void Controller::configure(int firmware, Bus* bus) {
    firmware_ = firmware;
    bus_ = bus;
    monitor_ = false;
    n_count_ = 0;
    frame_.clear();
}

// Length of the frame being received: -1 cannot be a frame, 0 not known yet.
int Controller::frame_length() const {
    const uint8_t letter = frame_[0];
    for (const auto& f : kFixedFrames)
        if (f.letter == letter) return f.length;
    const int have = static_cast<int>(frame_.size());
    if (letter == 'F' || letter == 'T') {
        if (have < 4) return 0;
        return 4 + frame_[3] + (letter == 'F' ? 1 : 3);  // "T" ends in "U", address, CR
    }
    if (letter != 'S') return -1;
    if (have < 2) return 0;
    const int panels = frame_[1] - '0';
    if (panels < 0 || panels > kMaxGroupPanels) return -1;
    int pos = 2;
    for (int r = 0; r <= panels; ++r) {
        if (pos >= have) return 0;
        if (frame_[static_cast<size_t>(pos)] == '1')
            pos += 4;
        else if (frame_[static_cast<size_t>(pos)] == '2')
            pos += 5;
        else
            return -1;
    }
    return pos + 1;
}

bool Controller::receive(uint8_t b, uint64_t t_ns, Outcome& out) {
    if (!frame_.empty() && t_ns - last_byte_ns_ > kFrameGapNs) frame_.clear();
    last_byte_ns_ = t_ns;
    frame_.push_back(b);
    const int length = frame_length();
    if (length < 0) {
        frame_.clear();
        return false;
    }
    if (length == 0 || static_cast<int>(frame_.size()) < length) return false;
    bool sound = frame_.back() == kCR;
    if (frame_[0] == 'T') sound = sound && frame_[4 + static_cast<size_t>(frame_[3])] == 'U';
    if (sound) {
        out = Outcome{};
        execute(out);
        out.bus_bytes += static_cast<int>(frame_.size());
    }
    frame_.clear();
    return sound;
}

bool Controller::monitor_receive(uint8_t b) {
    n_count_ = b == 'N' ? n_count_ + 1 : 0;
    if (n_count_ < kLeaveMonitorCount) return false;
    n_count_ = 0;
    monitor_ = false;
    frame_.clear();
    return true;
}

void Controller::execute(Outcome& out) {
    const auto& f = frame_;
    const uint8_t a = f.size() > 1 ? f[1] : 0;
    const uint8_t c = f.size() > 2 ? f[2] : 0;
    std::vector<uint8_t> block;
    switch (f[0]) {
        case '0':
            return ack_reply(out, bus_->quick(a));
        case '1':
            return ack_reply(out, bus_->send_byte(a, c));
        case '2': {
            const auto v = bus_->receive_byte(a);
            return word_reply(out, v ? std::optional<uint16_t>(*v) : std::nullopt, 1);
        }
        case 'C':
            return ack_reply(out, bus_->write(a, c, &f[3], 1));
        case 'D':
            return word_reply(out, bus_->read(a, c, 1), 1);
        case '3':
            return ack_reply(out, bus_->write(a, c, &f[3], 2));
        case '4':
            return word_reply(out, bus_->read(a, c, 2), 2);
        case 'P':
            return ack_reply(out, bus_->write(a, ext_code(c, f[3]), &f[4], 1));
        case 'O':
            return word_reply(out, bus_->read(a, ext_code(c, f[3]), 1), 1);
        case 'R':
            return ack_reply(out, bus_->write(a, ext_code(c, f[3]), &f[4], 2));
        case 'Q':
            return word_reply(out, bus_->read(a, ext_code(c, f[3]), 2), 2);
        case 'G':
            if (bus_->read_block(a, c, block)) block_reply(out, block);
            return;
        case 'F':
            return ack_reply(out, bus_->write(a, c, &f[4], f[3]));
        case 'T': {
            // Block write, repeated start, block read from the address of the "U" frame.
            const uint8_t read_addr = f[4 + static_cast<size_t>(f[3]) + 1];
            if (bus_->write(a, c, &f[4], f[3]) && bus_->read_block(read_addr, c, block))
                block_reply(out, block);
            return;
        }
        case 'S': {
            bool all = true;
            for (size_t pos = 2; pos + 1 < f.size();) {
                const size_t n = f[pos] == '1' ? 1 : 2;
                all = bus_->write(f[pos + 1], f[pos + 2], &f[pos + 3], n) && all;
                pos += 3 + n;
            }
            return ack_reply(out, all);
        }
        case 'V':
        case 'W':
            if (firmware_ != 0) word_reply(out, static_cast<uint16_t>(firmware_), 1);
            return;
        case 'M':
            monitor_ = true;
            n_count_ = 0;
            out.entered_monitor = true;
            return;
        default:
            return;
    }
}

}  // namespace rawlnk
