// World control for tests and tools.
#include <cstring>

#include "rawlnk_sim.h"
#include "sim.h"

using rawlnk::Device;
using rawlnk::Sim;

namespace {

template <class R, class F>
R guarded(R on_error, F&& f) {
    try {
        return f();
    } catch (...) {
        return on_error;
    }
}

// The bus of the board at device_index, when the address and command can name a register.
rawlnk::Bus* register_bus(Sim& sim, int device_index, int bus_addr, int cmd) {
    Device* d = sim.device(device_index);
    if (!d || bus_addr < 0 || bus_addr > 0xFF || cmd < 0 || cmd > 0xFFFF) return nullptr;
    rawlnk::Chip& c = sim.chip_of(*d);
    return c.board ? &c.board->bus : nullptr;
}

int register_code(int cmd) {
    return cmd > 0xFF ? rawlnk::kExtendedCode | (cmd & 0xFFFF) : cmd;
}

int register_page(int page) {
    return page < 0 ? rawlnk::kNotPaged : page;
}

}  // namespace

extern "C" {

int RLSIM_LoadWorldText(const char* text) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter_unloaded();
        std::string error;
        if (!text) {
            sim.set_last_error("no world text");
            return -1;
        }
        if (!sim.load_text(text, ".", error, true)) {
            sim.set_last_error(error);
            return -1;
        }
        sim.set_last_error("");
        return 0;
    });
}

int RLSIM_LoadWorldFile(const char* path) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter_unloaded();
        const auto text = path ? rawlnk::read_whole_file(path) : std::nullopt;
        if (!text) {
            sim.set_last_error(path ? std::string("cannot read \"") + path +
                                          "\": " + rawlnk::why_unreadable(path)
                                    : "no world file");
            return -1;
        }
        std::string error;
        if (!sim.load_text(*text, rawlnk::folder_of(path), error, true)) {
            sim.set_last_error(std::string(path) + ": " + error);
            return -1;
        }
        sim.set_last_error("");
        return 0;
    });
}

void RLSIM_LoadDefaultWorld(void) {
    guarded(0, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter_unloaded();
        sim.load_default(true);
        return 0;
    });
}

void RLSIM_ReloadWorld(void) {
    guarded(0, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        sim.reload();
        return 0;
    });
}

const char* RLSIM_LastError(void) {
    Sim& sim = Sim::instance();
    auto lock = sim.enter_unloaded();
    return sim.last_error().c_str();
}

void RLSIM_SetStateDir(const char* dir) {
    guarded(0, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter_unloaded();
        sim.set_state_dir(dir);
        return 0;
    });
}

void RLSIM_UseVirtualClock(int on) {
    Sim& sim = Sim::instance();
    auto lock = sim.enter_unloaded();
    sim.clock.set_virtual(on != 0);
}

uint64_t RLSIM_NowMicros(void) {
    Sim& sim = Sim::instance();
    auto lock = sim.enter_unloaded();
    return sim.clock.now_ns() / 1000;
}

void RLSIM_AdvanceMicros(uint64_t us) {
    Sim& sim = Sim::instance();
    auto lock = sim.enter_unloaded();
    sim.clock.advance(us * 1000);
}

int RLSIM_InjectFault(int device_index, const char* name, int count, uint32_t value) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        Device* d = sim.device(device_index);
        const auto fault = name ? rawlnk::find_fault(name) : std::nullopt;
        if (!d || !fault || count < -1) return -1;
        d->port->faults.set(*fault, count, value);
        return 0;
    });
}

void RLSIM_ClearFaults(void) {
    guarded(0, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        for (int i = 0; i < sim.device_count(); ++i) sim.device(i)->port->faults.clear();
        return 0;
    });
}

size_t RLSIM_TakeWriteLog(int device_index, char* out, size_t cap) {
    return guarded(size_t{0}, [&]() -> size_t {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        Device* d = sim.device(device_index);
        const std::string empty;
        const std::string& log = d ? d->port->write_log : empty;
        const size_t full = log.size();
        if (!out || cap == 0) return full;  // a size query takes nothing
        const size_t n = std::min(full, cap - 1);
        std::memcpy(out, log.data(), n);
        out[n] = '\0';
        if (d) d->port->write_log.clear();
        return full;
    });
}

int RLSIM_GetRegister(int device_index, int bus_addr, int cmd, int page, uint32_t* value) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        rawlnk::Bus* bus = register_bus(sim, device_index, bus_addr, cmd);
        if (!bus || !value) return -1;
        const auto v =
            bus->get(static_cast<uint8_t>(bus_addr), register_code(cmd), register_page(page));
        if (!v) return -1;
        *value = *v;
        return 0;
    });
}

int RLSIM_SetRegister(int device_index, int bus_addr, int cmd, int page, uint32_t value) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        rawlnk::Bus* bus = register_bus(sim, device_index, bus_addr, cmd);
        if (!bus) return -1;
        return bus->set(static_cast<uint8_t>(bus_addr), register_code(cmd), register_page(page),
                        value)
                   ? 0
                   : -1;
    });
}

int RLSIM_PeekEE(int device_index, uint32_t word, uint16_t* value) {
    return guarded(-1, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        Device* d = sim.device(device_index);
        if (!d || !value || word >= rawlnk::kEeAddressLimit) return -1;
        rawlnk::Chip& c = sim.chip_of(*d);
        if (c.spec.ee_words == 0) return -1;
        sim.refresh_ee(c);
        *value = rawlnk::ee_word(c.ee, word);
        return 0;
    });
}

int RLSIM_IsOpen(int device_index) {
    return guarded(0, [&] {
        Sim& sim = Sim::instance();
        auto lock = sim.enter();
        return sim.device(device_index) && sim.is_open(device_index) ? 1 : 0;
    });
}

}  // extern "C"
