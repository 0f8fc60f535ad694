#include "capture_loop.h"

#include <thread>

#include "monitor_link.h"
#include "ui/services.h"

namespace velmora::monitor {

namespace ui = platform::ui;

CaptureLoop::CaptureLoop() : idle_wait([] { std::this_thread::sleep_for(kIdleWait); }) {}

void CaptureLoop::run(Capture& cap, LoopHost& host) {
    ++depth_;
    YieldPacer pacer;
    while (!cap.CaptureStopped()) {
        if (pacer.due(ui::clock().tick_count_ms())) {
            host.before_yield();
            ui::services().process_events();
            if (cap.CaptureStopped()) break;
        }
        std::string_view chunk;
        switch (read_monitor_chunk(chunk)) {
            case ChunkRead::Empty:
                idle_wait();
                break;
            case ChunkRead::Failed:
                cap.end_loop();
                break;
            case ChunkRead::Chunk:
                host.before_chunk();
                cap.on_chunk(chunk);
                break;
        }
    }
    host.before_yield();
    --depth_;
}

}  // namespace velmora::monitor
