// The board's on-board controller: collects request frames from the command link, runs
// each as a transaction on the bus and answers by the reply rule of rawlnk.h. After "M" CR
// it is in monitor mode until it receives ten "N".
#pragma once

#include <cstdint>
#include <vector>

#include "bus.h"

namespace rawlnk {

struct Outcome {
    bool answered = false;  // false: nothing goes back (not acknowledged, silent)
    std::vector<uint8_t> reply;
    int bus_bytes = 0;  // bytes the transaction moved on the bus
    bool entered_monitor = false;
};

class Controller {
  public:
    void configure(int firmware, Bus* bus);

    // One byte received on the command link at time t_ns; true when it completed a frame.
    bool receive(uint8_t b, uint64_t t_ns, Outcome& out);
    // One byte received in monitor mode; true when it was the tenth "N" in a row.
    bool monitor_receive(uint8_t b);
    // A byte the controller could not read (wrong link settings): the frame is lost.
    void garbage() { frame_.clear(); }
    void reset() { frame_.clear(); }
    bool monitor() const { return monitor_; }

  private:
    int frame_length() const;
    void execute(Outcome& out);

    Bus* bus_ = nullptr;
    int firmware_ = 3;
    bool monitor_ = false;
    int n_count_ = 0;
    uint64_t last_byte_ns_ = 0;
    std::vector<uint8_t> frame_;
};

}  // namespace rawlnk
