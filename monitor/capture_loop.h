// The capture loop of Start: polls the monitor link until the capture is stopped, hands
// each chunk to the capture, and lets the window system run every 1000 passes and
// whenever 20 ms have passed since it last did (YieldPacer). Stop, Clear and the check
// boxes act only at those yields, nested inside the loop.
#pragma once

#include <chrono>
#include <functional>

#include "capture.h"

namespace velmora::monitor {

// What the loop asks of the window around the capture's own view.
class LoopHost {
  public:
    virtual ~LoopHost() = default;
    // Ahead of each chunk: `Data` is emptied past kDataLimit.
    virtual void before_chunk() = 0;
    // Ahead of each yield and when the loop ends: what the capture showed is put on screen.
    virtual void before_yield() = 0;
};

class CaptureLoop {
  public:
    // A short rest on an empty queue, so that a quiet bus never keeps a core busy; at the
    // full line rate the queue fills by about 120 characters meanwhile.
    static constexpr std::chrono::microseconds kIdleWait{1000};

    // Waits on an empty queue; tests replace it to move their clock instead.
    std::function<void()> idle_wait;

    CaptureLoop();

    // Runs until `cap` is stopped (by Stop, a failed read, the watchdog or the leave
    // sequence). The link is open and cap.begin() has run.
    void run(Capture& cap, LoopHost& host);

    // A loop is running: Start is on the call stack.
    bool running() const { return depth_ > 0; }

  private:
    int depth_ = 0;
};

}  // namespace velmora::monitor
