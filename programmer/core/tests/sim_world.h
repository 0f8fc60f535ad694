// Simulated worlds for the programmer's operation tests: chips described in a few
// fields, turned into world text, loaded with a private state folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rawlnk_sim.h"
#include "test_support.h"

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

class SimWorldTest : public ProgrammerTest {
  protected:
    SimWorldTest() { RLSIM_SetStateDir(nullptr); }
    ~SimWorldTest() override {
        RLSIM_ClearFaults();
        RLSIM_LoadDefaultWorld();
    }
    void Load(const std::vector<SimChip>& chips) {
        ASSERT_EQ(RLSIM_LoadWorldText(WorldText(chips).c_str()), 0) << RLSIM_LastError();
    }
    static uint16_t Peek(int device, uint32_t word) {
        uint16_t value = 0;
        EXPECT_EQ(RLSIM_PeekEE(device, word, &value), 0);
        return value;
    }
    static void Fault(int device, const char* name, int count = -1) {
        ASSERT_EQ(RLSIM_InjectFault(device, name, count, 0), 0);
    }
    // Lines of the log history that begin with `prefix`.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : win.history) {
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        }
        return out;
    }
    std::vector<std::string> Dialogs() const { return doubles.ui.message_texts(); }
};

}  // namespace pelmo::testing
