// Receive queue of a device: bytes in arrival order, bounded like the bridge's buffer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace rawlnk {

// Below the 65,526-byte buffer the programs read the whole queue into.
inline constexpr size_t kRxQueueLimit = 60000;

class ByteFifo {
  public:
    size_t size() const { return buf_.size() - head_; }
    size_t room() const { return kRxQueueLimit - std::min(kRxQueueLimit, size()); }
    // Bytes beyond the limit are lost, as on a bridge whose buffer is full.
    void push(const uint8_t* p, size_t n) {
        n = std::min(n, room());
        buf_.insert(buf_.end(), p, p + n);
    }
    void push(uint8_t b) { push(&b, 1); }
    size_t pop(uint8_t* out, size_t n) {
        n = std::min(n, size());
        if (n) std::memcpy(out, buf_.data() + head_, n);
        head_ += n;
        if (head_ == buf_.size()) {
            buf_.clear();
            head_ = 0;
        } else if (head_ > 65536) {
            buf_.erase(buf_.begin(), buf_.begin() + static_cast<long>(head_));
            head_ = 0;
        }
        return n;
    }
    void clear() {
        buf_.clear();
        head_ = 0;
    }

  private:
    std::vector<uint8_t> buf_;
    size_t head_ = 0;
};

}  // namespace rawlnk
