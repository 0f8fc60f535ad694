#include "bus_presets.h"

#include <array>
#include <cstdint>

namespace rawlnk {
namespace {

struct Reg {
    int code;
    int width;  // 1 byte, 2 word, 0 block from text
    uint16_t value;
    std::string_view text;
};

constexpr std::array kBattery = {
    Reg{0x00, 2, 0x0000, {}},
    Reg{0x01, 2, 440, {}},
    Reg{0x02, 2, 10, {}},
    Reg{0x03, 2, 0x6001, {}},
    Reg{0x04, 2, 0, {}},
    Reg{0x05, 2, 0xFFFF, {}},
    Reg{0x06, 2, 0xFFFF, {}},
    Reg{0x07, 2, 1, {}},
    Reg{0x08, 2, 2982, {}},
    Reg{0x09, 2, 12340, {}},
    Reg{0x0A, 2, 0xFA24, {}},  // -1500 mA: discharging
    Reg{0x0B, 2, 0xFA38, {}},
    Reg{0x0C, 2, 2, {}},
    Reg{0x0D, 2, 76, {}},
    Reg{0x0E, 2, 72, {}},
    Reg{0x0F, 2, 3344, {}},
    Reg{0x10, 2, 4400, {}},
    Reg{0x11, 2, 133, {}},
    Reg{0x12, 2, 135, {}},
    Reg{0x13, 2, 0xFFFF, {}},
    Reg{0x14, 2, 2000, {}},
    Reg{0x15, 2, 12600, {}},
    Reg{0x16, 2, 0x00C0, {}},
    Reg{0x17, 2, 37, {}},
    Reg{0x18, 2, 4600, {}},
    Reg{0x19, 2, 11100, {}},
    Reg{0x1A, 2, 0x0031, {}},
    Reg{0x1B, 2, 0x526F, {}},
    Reg{0x1C, 2, 0x0123, {}},
    Reg{0x20, 0, 0, "Lumen Cells"},
    Reg{0x21, 0, 0, "LC-4S2P"},
    Reg{0x22, 0, 0, "LION"},
    Reg{0x23, 0, 0, "\x01\x02\x03\x04"},
};

constexpr std::array kCharger = {
    Reg{0x11, 2, 0x0001, {}}, Reg{0x12, 2, 0x0000, {}}, Reg{0x13, 2, 0x0090, {}},
    Reg{0x14, 2, 2000, {}},   Reg{0x15, 2, 12600, {}},  Reg{0x16, 2, 0x0000, {}},
};

constexpr std::array kSelector = {
    Reg{0x01, 2, 0x0121, {}},
    Reg{0x02, 2, 0x0011, {}},
    Reg{0x04, 2, 0x0010, {}},
};

// Registers of the PMBus device that are the same on every page or not paged at all.
constexpr std::array kPmbusGlobal = {
    Reg{0x19, 1, 0xB0, {}},
    Reg{0x98, 1, 0x22, {}},
    Reg{0x99, 0, 0, "VOLTA"},
    Reg{0x9A, 0, 0, "PX-8"},
};
constexpr std::array kPmbusPaged = {
    Reg{0x01, 1, 0x80, {}},   Reg{0x02, 1, 0x17, {}},   Reg{0x20, 1, 0x13, {}},
    Reg{0x78, 1, 0x41, {}},   Reg{0x79, 2, 0x0041, {}}, Reg{0x7A, 1, 0x00, {}},
    Reg{0x7B, 1, 0x00, {}},   Reg{0x7C, 1, 0x00, {}},   Reg{0x7D, 1, 0x00, {}},
    Reg{0x7E, 1, 0x00, {}},   Reg{0x88, 2, 0xE0C0, {}},  // READ_VIN 12.0 V, LINEAR11
    Reg{0x89, 2, 0xD060, {}},                            // READ_IIN 1.5 A
    Reg{0x8C, 2, 0xD140, {}},                            // READ_IOUT 5.0 A
    Reg{0x8D, 2, 0xF847, {}},                            // READ_TEMPERATURE_1 35.5 C
};
// VOUT_COMMAND per page, LINEAR16 with exponent -13 (3.3 V, 5.0 V, 1.8 V, ...).
constexpr std::array<uint16_t, 8> kVoutByPage = {0x6999, 0xA000, 0x399A, 0x2666,
                                                 0x2000, 0x1B33, 0x4000, 0x5000};
constexpr uint16_t kReadVoutOffset = 8;  // the output sits a millivolt above its setting

std::vector<uint8_t> value_bytes(const Reg& r) {
    if (r.width == 1) return {static_cast<uint8_t>(r.value)};
    if (r.width == 2)
        return {static_cast<uint8_t>(r.value & 0xFF), static_cast<uint8_t>(r.value >> 8)};
    return {r.text.begin(), r.text.end()};
}

template <size_t N>
void put(BusDeviceSpec& dev, const std::array<Reg, N>& regs, int page) {
    for (const auto& r : regs) dev.regs[{page, r.code}] = value_bytes(r);
}

}  // namespace

std::optional<Preset> find_preset(std::string_view name) {
    if (name == "plain") return Preset::Plain;
    if (name == "battery") return Preset::Battery;
    if (name == "charger") return Preset::Charger;
    if (name == "selector") return Preset::Selector;
    if (name == "pmbus") return Preset::Pmbus;
    return std::nullopt;
}

int default_pages(Preset p) {
    return p == Preset::Pmbus ? 8 : 0;
}

void apply_preset(BusDeviceSpec& dev) {
    switch (dev.preset) {
        case Preset::Plain:
            return;
        case Preset::Battery:
            put(dev, kBattery, kNotPaged);
            return;
        case Preset::Charger:
            put(dev, kCharger, kNotPaged);
            return;
        case Preset::Selector:
            put(dev, kSelector, kNotPaged);
            return;
        case Preset::Pmbus:
            break;
    }
    put(dev, kPmbusGlobal, kNotPaged);
    const int pages = dev.pages > 0 ? dev.pages : 1;
    for (int p = 0; p < pages; ++p) {
        const int key = dev.pages > 0 ? p : kNotPaged;
        put(dev, kPmbusPaged, key);
        const uint16_t vout = kVoutByPage[static_cast<size_t>(p) % kVoutByPage.size()];
        const uint16_t read = static_cast<uint16_t>(vout + kReadVoutOffset);
        dev.regs[{key, 0x21}] = {static_cast<uint8_t>(vout & 0xFF),
                                 static_cast<uint8_t>(vout >> 8)};
        dev.regs[{key, 0x8B}] = {static_cast<uint8_t>(read & 0xFF),
                                 static_cast<uint8_t>(read >> 8)};
    }
}

}  // namespace rawlnk
