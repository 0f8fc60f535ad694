// Chips of a simulated world described in a few fields, and the world text they make;
// for the core's operation tests and the window's.
#pragma once

#include <string>
#include <vector>

namespace pelmo::testing {

struct SimChip {
    std::string kind;
    std::string image;  // "blank" or "programmed"
    std::string more;   // further statements, one per line
};

inline SimChip Chip(std::string kind = "gen2", std::string image = "blank", std::string more = "") {
    return {std::move(kind), std::move(image), std::move(more)};
}

inline std::string WorldText(const std::vector<SimChip>& chips) {
    std::string text;
    for (size_t i = 0; i < chips.size(); ++i) {
        const auto& c = chips[i];
        text += "chip c" + std::to_string(i) + "\n  kind " + c.kind + "\n  image " + c.image + "\n";
        if (!c.more.empty()) text += c.more + "\n";
    }
    return text;
}

inline std::vector<SimChip> Chips(int n, const SimChip& chip) {
    return std::vector<SimChip>(static_cast<size_t>(n), chip);
}

// A bench of mixed kinds, as devices: 0 gen2 blank; 1-4 hs-quad programmed (256 words);
// 5-6 dual programmed (128 words); 7 gen4 programmed; 8 gen2 programmed; 9-10 dual blank
// (128 words); 11 gen2 blank.
inline std::vector<SimChip> MixedBench() {
    return {Chip(),
            Chip("hs-quad", "programmed", "eeprom 256"),
            Chip("dual", "programmed", "eeprom 128"),
            Chip("gen4", "programmed"),
            Chip("gen2", "programmed"),
            Chip("dual", "blank", "eeprom 128"),
            Chip()};
}

}  // namespace pelmo::testing
