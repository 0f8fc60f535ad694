// Time of the simulation in nanoseconds: the steady clock, or a virtual counter that only
// moves when a test advances it or a read waits.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

namespace rawlnk {

class Clock {
  public:
    uint64_t now_ns() const { return virtual_ ? virtual_ns_ : real_ns() + offset_ns_; }
    bool is_virtual() const { return virtual_; }
    void set_virtual(bool on) {
        if (on == virtual_) return;
        // Time never runs backwards across a switch.
        if (on) {
            virtual_ns_ = now_ns();
        } else {
            const uint64_t real = real_ns();
            offset_ns_ = virtual_ns_ > real ? virtual_ns_ - real : 0;
        }
        virtual_ = on;
    }
    void advance(uint64_t ns) {
        if (virtual_) virtual_ns_ += ns;
    }
    // Virtual: moves to t. Real: sleeps until t with the simulation's lock released.
    void wait_until(uint64_t t, std::unique_lock<std::mutex>& lock) {
        if (virtual_) {
            if (t > virtual_ns_) virtual_ns_ = t;
            return;
        }
        const uint64_t now = now_ns();
        if (t <= now) return;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::nanoseconds(t - now));
        lock.lock();
    }

  private:
    static uint64_t real_ns() {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
    }
    bool virtual_ = false;
    uint64_t virtual_ns_ = 0;
    uint64_t offset_ns_ = 0;
};

}  // namespace rawlnk
