#include "monitor_link.h"

#include <algorithm>
#include <cstring>

#include "driver_binding.h"
#include "mod_Miscellaneous_Subroutines.h"

namespace velmora::monitor {

namespace {

// Writes `bytes` through `TxBuffer`; a failure sets `CommsError`.
void write_link(const char* bytes, uint32_t count) {
    SharedState& s = shared();
    std::memcpy(s.TxBuffer.data(), bytes, count);
    s.TxLength = static_cast<int16_t>(count);
    uint32_t written = 0;
    if (driver::RL_Write(s.USB_Handle, s.TxBuffer.data(), count, &written) != RL_OK)
        s.CommsError = True;
    s.BytesWritten = static_cast<int32_t>(written);
}

}  // namespace

void send_monitor_entry() {
    write_link(kMonitorEntry, sizeof kMonitorEntry);
}

void purge_monitor_link() {
    SharedState& s = shared();
    s.USB_Status = static_cast<int32_t>(driver::RL_Purge(s.USB_Handle, RL_PURGE_RX | RL_PURGE_TX));
}

ChunkRead read_monitor_chunk(std::string_view& chunk) {
    SharedState& s = shared();
    uint32_t queued = 0;
    const RL_STATUS qs = driver::RL_GetQueueStatus(s.USB_Handle, &queued);
    s.USB_Status = static_cast<int32_t>(qs);
    s.RxQueueBytes = static_cast<int32_t>(queued);
    if (qs != RL_OK || queued == 0) return ChunkRead::Empty;

    // No read may ask for more than the receive buffer holds; the rest waits for the next.
    const auto n = static_cast<uint32_t>(std::min<size_t>(queued, s.RxBuffer.size()));
    uint32_t got = 0;
    const RL_STATUS rs = driver::RL_Read(s.USB_Handle, s.RxBuffer.data(), n, &got);
    s.USB_Status = static_cast<int32_t>(rs);
    s.BytesReturned = static_cast<int32_t>(got);
    if ((rs != RL_OK && rs != RL_IO_ERROR) || got == 0) return ChunkRead::Failed;
    // Choice: the chunk is what the read returned, not the n characters asked for, so that
    // a short read never passes stale characters of the buffer off as bus events.
    chunk = std::string_view(reinterpret_cast<const char*>(s.RxBuffer.data()), std::min(got, n));
    return ChunkRead::Chunk;
}

void send_leave_sequence() {
    char leave[kLeaveCount];
    std::memset(leave, kLeaveChar, sizeof leave);
    write_link(leave, kLeaveCount);
    Delay_250ms();
    Close_USB();
}

}  // namespace velmora::monitor
