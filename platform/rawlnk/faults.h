// Faults a test can inject into one device.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "rawlnk.h"

namespace rawlnk {

enum class Fault {
    NoReply,      // the board does not answer the next frames
    ShortReply,   // the board's answer loses its last byte
    ReadStatus4,  // reads return status 4 with their bytes
    ReadStatus,   // reads fail with the status `value`, no byte
    WriteFail,
    OpenFail,
    Removed,  // the device is gone: every later call fails
    EeReadFail,
    EeWriteFail,
    EeEraseFail,
    LatencyFail,
    CycleFail,
    ListFail,  // the number-only RL_ListDevices: the count is no device's, any device may hold it
    InfoFail,  // RL_GetDeviceInfo
};

struct FaultInfo {
    Fault fault;
    std::string_view name;
    RL_STATUS status;  // what the call returns when `value` names none
};

inline constexpr std::array<FaultInfo, 14> kFaults = {{
    {Fault::NoReply, "no_reply", RL_OK},
    {Fault::ShortReply, "short_reply", RL_OK},
    {Fault::ReadStatus4, "read_status_4", RL_IO_ERROR},
    {Fault::ReadStatus, "read_status", RL_OTHER_ERROR},
    {Fault::WriteFail, "write_fail", RL_IO_ERROR},
    {Fault::OpenFail, "open_fail", RL_DEVICE_NOT_OPENED},
    {Fault::Removed, "removed", RL_DEVICE_NOT_FOUND},
    {Fault::EeReadFail, "ee_read_fail", RL_EEPROM_READ_FAILED},
    {Fault::EeWriteFail, "ee_write_fail", RL_EEPROM_WRITE_FAILED},
    {Fault::EeEraseFail, "ee_erase_fail", RL_EEPROM_ERASE_FAILED},
    {Fault::LatencyFail, "latency_fail", RL_IO_ERROR},
    {Fault::CycleFail, "cycle_fail", RL_IO_ERROR},
    {Fault::ListFail, "list_fail", RL_IO_ERROR},
    {Fault::InfoFail, "info_fail", RL_IO_ERROR},
}};

inline std::optional<Fault> find_fault(std::string_view name) {
    for (const auto& f : kFaults)
        if (f.name == name) return f.fault;
    return std::nullopt;
}

// The active faults of one device.
class FaultSet {
  public:
    void set(Fault f, int count, uint32_t value) { slots_[index(f)] = {count, value}; }
    void clear() { slots_ = {}; }
    bool active(Fault f) const { return slots_[index(f)].count != 0; }
    // Applies the fault to one call when active: counts it down and gives the status the call
    // returns (the fault's value, or its usual status).
    std::optional<RL_STATUS> take(Fault f) {
        Slot& s = slots_[index(f)];
        if (s.count == 0) return std::nullopt;
        if (s.count > 0) --s.count;
        return s.value != 0 ? s.value : kFaults[index(f)].status;
    }

  private:
    struct Slot {
        int count = 0;  // calls left, -1 = until cleared
        uint32_t value = 0;
    };
    static size_t index(Fault f) { return static_cast<size_t>(f); }
    std::array<Slot, kFaults.size()> slots_{};
};

}  // namespace rawlnk
