// Bridge chip kinds: the type codes the driver reports and what differs between them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace rawlnk {

struct KindInfo {
    uint8_t code;            // device type code of RL_GetDeviceInfo
    std::string_view name;   // as written in world files
    std::string_view model;  // factory description of a chip whose EEPROM holds no strings
    int channels;            // devices the chip shows as
    uint16_t pid;            // factory product id
    int string_start;        // byte offset of the first string descriptor in the image
    uint16_t word3;          // release word of a programmed image
    int type_word;           // image word holding the EEPROM type, -1 = none
};

inline constexpr std::array<KindInfo, 6> kKinds = {{
    {1, "gen1", "Tessel-1U", 1, 0xE001, 0x14, 0x0200, -1},
    {0, "gen2", "Tessel-2U", 1, 0xE001, 0x14, 0x0400, -1},
    {4, "dual", "Tessel-3D", 2, 0xE010, 0x16, 0x0500, 10},
    {5, "gen4", "Tessel-4U", 1, 0xE001, 0x18, 0x0000, -1},
    {6, "hs-dual", "Tessel-5D", 2, 0xE010, 0x1A, 0x0200, 12},
    {7, "hs-quad", "Tessel-5Q", 4, 0xE011, 0x1A, 0x0200, 12},
}};

inline constexpr uint8_t kKindGen4 = 5;
inline constexpr uint16_t kFactoryVendor = 0x4B1D;

inline const KindInfo* find_kind(uint8_t code) {
    for (const auto& k : kKinds)
        if (k.code == code) return &k;
    return nullptr;
}

inline const KindInfo* find_kind(std::string_view name) {
    for (const auto& k : kKinds)
        if (k.name == name) return &k;
    return nullptr;
}

}  // namespace rawlnk
