// The monitor's side of the board link: the switch into capture mode on the command link,
// reading the event stream on the monitor link, purging it, and the leave sequence. Plain
// C++ on the link layer; every failure goes to the shared flags, nothing is shown.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::monitor {

inline constexpr char kMonitorEntry[] = {'M', '\r'};
inline constexpr char kLeaveChar = 'N';
inline constexpr uint32_t kLeaveCount = 10;

// "M" CR on the command link: the board starts streaming bus events. A failed write sets
// `CommsError`; the switch goes on either way.
void send_monitor_entry();

// Empties the device's receive and transmit queues (mask 3).
void purge_monitor_link();

enum class ChunkRead {
    Empty,   // the queue is empty, or its status could not be read: poll again
    Chunk,   // `chunk` holds what was read
    Failed,  // the read failed or returned nothing: the capture loop ends
};

// One pass of the capture loop on the link: the queue status into `RxQueueBytes`, then a
// read of that many characters (at most the receive buffer's size) into `RxBuffer`.
// `chunk` views `RxBuffer` until the next read.
ChunkRead read_monitor_chunk(std::string_view& chunk);

// Ten "N" on the link (a failed write sets `CommsError`), a quarter second, then the link
// closed whatever the outcome.
void send_leave_sequence();

}  // namespace velmora::monitor
