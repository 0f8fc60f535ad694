// The board's SMBus: devices with register files that remember what is written to them.
// Addresses are 8-bit with the read/write bit ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "world.h"

namespace rawlnk {

class Bus {
  public:
    void load(const std::vector<BusDeviceSpec>& devices);

    bool acknowledges(uint8_t addr) const { return find(addr) != nullptr; }
    bool quick(uint8_t addr) const { return acknowledges(addr); }
    bool send_byte(uint8_t addr, uint8_t cmd);
    std::optional<uint8_t> receive_byte(uint8_t addr) const;
    // Write byte, word or block to `code`; false when not acknowledged.
    bool write(uint8_t addr, int code, const uint8_t* data, size_t n);
    // Read of n bytes (1 or 2) from `code`; a register never written reads as zeros.
    std::optional<uint16_t> read(uint8_t addr, int code, int n) const;
    // Block read: the register's bytes.
    bool read_block(uint8_t addr, int code, std::vector<uint8_t>& out) const;

    // Register access for tests; page kNotPaged = the page the device is on.
    std::optional<uint32_t> get(uint8_t addr, int code, int page) const;
    bool set(uint8_t addr, int code, int page, uint32_t value);

  private:
    struct Device {
        uint8_t addr;
        Preset preset;
        int pages;
        uint8_t page = 0;
        uint8_t last_cmd = 0;
        std::map<std::pair<int, int>, std::vector<uint8_t>> regs;
    };
    const Device* find(uint8_t addr) const;
    Device* find(uint8_t addr);
    static const std::vector<uint8_t>* lookup(const Device& d, int code, int page);
    static std::vector<uint8_t>* lookup(Device& d, int code, int page);

    std::vector<Device> devices_;
};

}  // namespace rawlnk
