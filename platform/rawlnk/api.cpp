// The driver calls. Each one takes the simulation's lock, checks its arguments and never
// lets an exception or a bad pointer of its own making reach the caller.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "rawlnk.h"
#include "sim.h"

using rawlnk::Device;
using rawlnk::Fault;
using rawlnk::Sim;

namespace {

constexpr uint32_t kMaxBaud = 12'000'000;

template <class F>
RL_STATUS guarded(F&& f) {
    try {
        return f();
    } catch (...) {
        return RL_OTHER_ERROR;
    }
}

// Runs f(sim, device, index, lock) for a handle this process gave out and that still works.
template <class F>
RL_STATUS on_device(RL_HANDLE h, F&& f) {
    return guarded([&]() -> RL_STATUS {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        int index = 0;
        Device* d = sim.lookup(h, &index);
        if (!d) return RL_INVALID_HANDLE;
        if (sim.removed(index)) return RL_IO_ERROR;
        return f(sim, *d, lock);
    });
}

// Caller buffers take at most 64 bytes, the NUL included.
void copy_text(char* out, const std::string& text) {
    const size_t n = std::min(text.size(), rawlnk::kMaxText);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

RL_STATUS with_eeprom(RL_HANDLE h, Fault fault,
                      const std::function<RL_STATUS(Sim&, rawlnk::Chip&)>& f) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        rawlnk::Chip& chip = sim.chip_of(d);
        if (chip.spec.ee_words == 0) return RL_EEPROM_NOT_PRESENT;
        if (const auto s = d.port->faults.take(fault)) return *s;
        return f(sim, chip);
    });
}

}  // namespace

extern "C" {

RL_STATUS RL_ListDevices(void* arg1, void* arg2, uint32_t flags) {
    return guarded([&]() -> RL_STATUS {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        if (flags == RL_LIST_NUMBER_ONLY) {
            if (!arg1) return RL_INVALID_PARAMETER;
            sim.say_busy();  // a new search: the last one ended without a device
            for (int i = 0; i < sim.device_count(); ++i)
                if (const auto s = sim.device(i)->port->faults.take(Fault::ListFail)) return *s;
            *static_cast<uint32_t*>(arg1) = static_cast<uint32_t>(sim.device_count());
            return RL_OK;
        }
        const uint32_t what = flags & ~RL_LIST_BY_INDEX;
        if (!(flags & RL_LIST_BY_INDEX) ||
            (what != RL_LIST_SERIAL_NUMBER && what != RL_LIST_DESCRIPTION))
            return RL_INVALID_PARAMETER;
        if (!arg2) return RL_INVALID_PARAMETER;
        const uint32_t index = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(arg1));
        if (index >= static_cast<uint32_t>(sim.device_count()) ||
            sim.removed(static_cast<int>(index)))
            return RL_DEVICE_NOT_FOUND;
        const int i = static_cast<int>(index);
        const Device& d = *sim.device(i);
        copy_text(static_cast<char*>(arg2),
                  what == RL_LIST_SERIAL_NUMBER ? sim.serial(d) : sim.description(d));
        return RL_OK;
    });
}

RL_STATUS RL_OpenEx(void* arg, uint32_t flags, RL_HANDLE* handle) {
    return guarded([&]() -> RL_STATUS {
        if (!handle) return RL_INVALID_PARAMETER;
        *handle = nullptr;
        if (flags != RL_OPEN_BY_SERIAL_NUMBER || !arg) return RL_INVALID_PARAMETER;
        const char* text = static_cast<const char*>(arg);
        const std::string serial(text, strnlen(text, 256));
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        // An empty serial number names no device.
        for (int i = 0; !serial.empty() && i < sim.device_count(); ++i)
            if (!sim.removed(i) && sim.serial(*sim.device(i)) == serial) return sim.open(i, handle);
        return RL_DEVICE_NOT_FOUND;
    });
}

RL_STATUS RL_Open(int32_t index, RL_HANDLE* handle) {
    return guarded([&]() -> RL_STATUS {
        if (!handle) return RL_INVALID_PARAMETER;
        *handle = nullptr;
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        return sim.open(index, handle);
    });
}

RL_STATUS RL_Close(RL_HANDLE h) {
    return guarded([&]() -> RL_STATUS {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        return sim.close(h);
    });
}

RL_STATUS RL_SetBaudRate(RL_HANDLE h, uint32_t baud) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (baud == 0 || baud > kMaxBaud) return RL_INVALID_BAUD_RATE;
        rawlnk::LinkSettings s = d.port->settings;
        s.baud = baud;
        d.port->change_settings(s, sim.clock.now_ns());
        return RL_OK;
    });
}

RL_STATUS RL_SetDataCharacteristics(RL_HANDLE h, uint8_t word_length, uint8_t stop_bits,
                                    uint8_t parity) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if ((word_length != 7 && word_length != 8) || (stop_bits != 0 && stop_bits != 2) ||
            parity > 4)
            return RL_INVALID_PARAMETER;
        rawlnk::LinkSettings s = d.port->settings;
        s.bits = word_length;
        s.stop = stop_bits;
        s.parity = parity;
        d.port->change_settings(s, sim.clock.now_ns());
        return RL_OK;
    });
}

RL_STATUS RL_SetFlowControl(RL_HANDLE h, uint16_t flow, uint8_t, uint8_t) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (flow != RL_FLOW_NONE && flow != RL_FLOW_RTS_CTS && flow != 0x0200 && flow != 0x0400)
            return RL_INVALID_PARAMETER;
        rawlnk::LinkSettings s = d.port->settings;
        s.flow = flow;
        d.port->change_settings(s, sim.clock.now_ns());
        return RL_OK;
    });
}

RL_STATUS RL_SetTimeouts(RL_HANDLE h, uint32_t read_ms, uint32_t write_ms) {
    return on_device(h, [&](Sim&, Device& d, auto&) -> RL_STATUS {
        d.port->settings.read_ms = read_ms;
        d.port->settings.write_ms = write_ms;
        return RL_OK;
    });
}

RL_STATUS RL_Purge(RL_HANDLE h, uint32_t mask) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (mask == 0 || mask > (RL_PURGE_RX | RL_PURGE_TX)) return RL_INVALID_PARAMETER;
        // Writes reach the board at once, so only the receive side holds anything. What has
        // arrived up to now is taken in first, so that the purge empties it too.
        if (mask & RL_PURGE_RX) {
            d.port->pump(sim.clock.now_ns());
            d.port->purge_rx();
        }
        return RL_OK;
    });
}

RL_STATUS RL_ResetDevice(RL_HANDLE h) {
    return on_device(h, [&](Sim&, Device& d, auto&) -> RL_STATUS {
        d.port->purge_rx();
        d.port->reset_board_parser();
        return RL_OK;
    });
}

RL_STATUS RL_Write(RL_HANDLE h, const void* bytes, uint32_t count, uint32_t* written) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (!written) return RL_INVALID_PARAMETER;
        *written = 0;
        if (count > 0 && !bytes) return RL_INVALID_PARAMETER;
        if (const auto s = d.port->faults.take(Fault::WriteFail)) return *s;
        const auto* p = static_cast<const uint8_t*>(bytes);
        const uint64_t now = sim.clock.now_ns();
        d.port->pump(now);
        d.port->log_write(p, count);
        d.port->host_write(p, count, now);
        *written = count;
        return RL_OK;
    });
}

RL_STATUS RL_Read(RL_HANDLE h, void* buffer, uint32_t count, uint32_t* returned) {
    return on_device(h, [&](Sim& sim, Device&, auto& lock) -> RL_STATUS {
        if (!returned) return RL_INVALID_PARAMETER;
        *returned = 0;
        if (count > 0 && !buffer) return RL_INVALID_PARAMETER;
        if (count == 0) return RL_OK;
        return sim.read(h, static_cast<uint8_t*>(buffer), count, returned, lock);
    });
}

RL_STATUS RL_GetQueueStatus(RL_HANDLE h, uint32_t* rx_bytes) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (!rx_bytes) return RL_INVALID_PARAMETER;
        d.port->pump(sim.clock.now_ns());
        *rx_bytes = static_cast<uint32_t>(d.port->queued());
        return RL_OK;
    });
}

RL_STATUS RL_GetDeviceInfo(RL_HANDLE h, uint32_t* type, uint32_t* id, char* serial,
                           char* description, void*) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (const auto s = d.port->faults.take(Fault::InfoFail)) return *s;
        const rawlnk::Chip& c = sim.chip_of(d);
        if (type) *type = c.spec.kind;
        if (id) *id = static_cast<uint32_t>(c.id.vid) << 16 | c.id.pid;
        if (serial) copy_text(serial, sim.serial(d));
        if (description) copy_text(description, sim.description(d));
        return RL_OK;
    });
}

RL_STATUS RL_SetLatencyTimer(RL_HANDLE h, uint8_t value) {
    return on_device(h, [&](Sim&, Device& d, auto&) -> RL_STATUS {
        if (const auto s = d.port->faults.take(Fault::LatencyFail)) return *s;
        d.port->latency = value;
        return RL_OK;
    });
}

RL_STATUS RL_ReadEE(RL_HANDLE h, uint32_t word_offset, uint16_t* value) {
    if (!value || word_offset >= rawlnk::kEeAddressLimit)
        return on_device(h, [](Sim&, Device&, auto&) -> RL_STATUS { return RL_INVALID_PARAMETER; });
    return with_eeprom(h, Fault::EeReadFail, [&](Sim& sim, rawlnk::Chip& c) -> RL_STATUS {
        sim.refresh_ee(c);
        *value = rawlnk::ee_word(c.ee, word_offset);
        return RL_OK;
    });
}

RL_STATUS RL_WriteEE(RL_HANDLE h, uint32_t word_offset, uint16_t value) {
    if (word_offset >= rawlnk::kEeAddressLimit)
        return on_device(h, [](Sim&, Device&, auto&) -> RL_STATUS { return RL_INVALID_PARAMETER; });
    return with_eeprom(h, Fault::EeWriteFail, [&](Sim& sim, rawlnk::Chip& c) -> RL_STATUS {
        const bool stored = sim.update_ee(
            c, [&](std::vector<uint16_t>& img) { img[word_offset & (img.size() - 1)] = value; });
        return stored ? RL_OK : RL_EEPROM_WRITE_FAILED;
    });
}

RL_STATUS RL_EraseEE(RL_HANDLE h) {
    return with_eeprom(h, Fault::EeEraseFail, [&](Sim& sim, rawlnk::Chip& c) -> RL_STATUS {
        const bool stored = sim.update_ee(
            c, [&](std::vector<uint16_t>& img) { rawlnk::erase_image(c.spec.kind, img); });
        return stored ? RL_OK : RL_EEPROM_ERASE_FAILED;
    });
}

RL_STATUS RL_CyclePort(RL_HANDLE h) {
    return on_device(h, [&](Sim& sim, Device& d, auto&) -> RL_STATUS {
        if (const auto s = d.port->faults.take(Fault::CycleFail)) return *s;
        sim.enumerate(sim.chip_of(d));
        d.port->purge_rx();
        return RL_OK;
    });
}

}  // extern "C"
