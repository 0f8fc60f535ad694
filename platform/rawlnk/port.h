// One device as the host sees it: link settings, the receive queue, bytes on their way
// (timed by the baud rate), and, for a board's first channel, the controller behind it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "byte_fifo.h"
#include "controller.h"
#include "faults.h"
#include "traffic.h"

namespace rawlnk {

struct LinkSettings {
    uint32_t baud = 9600;
    uint8_t bits = 8, stop = 0, parity = 0;
    uint16_t flow = 0;
    uint32_t read_ms = 0, write_ms = 0;
};

// The settings the controller reads frames at, and those of the monitor stream.
bool is_command_link(const LinkSettings& s);
bool is_monitor_link(const LinkSettings& s);

struct Board {
    Bus bus;
    Controller ctl;
    TrafficGen gen;
};

class Port {
  public:
    explicit Port(Board* board) : board_(board) {}

    LinkSettings settings;
    FaultSet faults;
    std::string write_log;
    bool open = false;
    int lock_fd = -1;
    uint8_t latency = 16;

    void set_open(bool on, uint64_t now);
    // New link settings from `now` on: what arrived before is taken in at the old ones.
    void change_settings(const LinkSettings& s, uint64_t now) {
        pump(now);
        settings = s;
        update_stream(now);
    }
    void host_write(const uint8_t* p, size_t n, uint64_t now);
    void log_write(const uint8_t* p, size_t n);
    // Moves what has arrived by `now` into the receive queue.
    void pump(uint64_t now);
    size_t queued() const { return rx_.size(); }
    size_t take(uint8_t* out, size_t n) { return rx_.pop(out, n); }
    // When the next byte arrives (kNever: none is on its way), and the least time between two.
    uint64_t next_arrival() const;
    uint64_t arrival_spacing() const;
    void purge_rx() {
        rx_.clear();
        in_flight_.clear();
    }
    void reset_board_parser() {
        if (board_) board_->ctl.reset();
    }

  private:
    uint64_t byte_ns() const;
    bool receiving() const;
    void update_stream(uint64_t now);
    void schedule_reply(Outcome& out, uint64_t t);

    Board* board_;
    ByteFifo rx_;
    std::deque<std::pair<uint64_t, uint8_t>> in_flight_;
    uint64_t host_tx_free_ = 0, board_tx_free_ = 0;
    bool stream_on_ = false;
};

}  // namespace rawlnk
