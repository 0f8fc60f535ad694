// The bus traffic the board reports in monitor mode, one character per bus event: the host
// polling the battery and the PMBus device, or a recorded event text replayed at a rate.
// Characters have fixed times from the moment monitor mode began, so the stream is the
// same whether the clock is real or virtual.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bus.h"
#include "byte_fifo.h"
#include "world.h"

namespace rawlnk {

inline constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

// Event characters of a Read Word transaction as the board reports it: slave-driven 1 bits
// are '@', the host's '1'. A device that does not acknowledge gives S, address, '1', P.
std::string read_word_events(const Bus& bus, uint8_t addr, uint8_t cmd);

class TrafficGen {
  public:
    void configure(const TrafficSpec& spec, const Bus* bus);
    void start(uint64_t t_ns);
    void stop() { running_ = false; }
    bool running() const { return running_; }
    // Characters due before t_ns are passed over (nobody was listening).
    void skip_to(uint64_t t_ns);
    // Appends the characters due by t_ns; those the queue has no room for are lost.
    void emit_to(uint64_t t_ns, ByteFifo& out);
    uint64_t next_time() const;
    uint64_t spacing_ns() const;

  private:
    uint64_t replay_time(uint64_t k) const;
    uint64_t poll_time() const;
    void build_poll();

    TrafficSpec spec_;
    const Bus* bus_ = nullptr;
    bool running_ = false;
    uint64_t t0_ = 0;
    uint64_t k_ = 0;  // replay: next character
    struct Poll {
        uint8_t addr, cmd;
    };
    std::vector<Poll> polls_;
    uint64_t j_ = 0;  // poll: next transaction
    size_t pos_ = 0;  // and its next character
    std::string cur_;
};

}  // namespace rawlnk
