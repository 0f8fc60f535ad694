// Serial EEPROM of a bridge chip: address wrap-around, erase, the image a programmed chip
// holds, and the identity (strings, ids) a chip takes from it when it enumerates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rawlnk {

inline constexpr uint16_t kBlankWord = 0xFFFF;
inline constexpr uint32_t kEeAddressLimit = 256;  // the address field of the parts is 8 bits
inline constexpr int kGen4UserWords = 64;  // words 64.. of the internal memory are factory data

struct ChipIdentity {
    std::string description, serial;
    uint16_t vid = 0, pid = 0;
};

uint16_t image_checksum(const std::vector<uint16_t>& words, int count);

// Word at `offset` (< kEeAddressLimit) of a part of words.size() words: the part ignores
// the address bits above its size.
inline uint16_t ee_word(const std::vector<uint16_t>& words, uint32_t offset) {
    return words[offset & (words.size() - 1)];
}

// Erase as the chip does it: every word 0xFFFF, except the fourth generation's factory area.
void erase_image(uint8_t kind, std::vector<uint16_t>& words);

// The identity a chip of `kind` reads from its EEPROM, or nothing when the image holds no
// valid one (blank, bad checksum, broken descriptors).
std::optional<ChipIdentity> read_identity(uint8_t kind, const std::vector<uint16_t>& words);

// Image of a programmed chip with these strings, `size` words long; empty when the strings
// do not fit in front of the checksum.
std::vector<uint16_t> build_image(uint8_t kind, int size, uint16_t vid, uint16_t pid,
                                  const std::string& manufacturer, const std::string& description,
                                  const std::string& serial);

// Factory words 64..66 of a fourth-generation chip: a type, its complement, the model bit.
void put_gen4_upper_type(std::vector<uint16_t>& words, bool fifo_model);

}  // namespace rawlnk
