// Simulated worlds for the programmer's operation tests, loaded with a private state
// folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rawlnk_sim.h"
#include "sim_chips.h"
#include "test_support.h"

namespace pelmo::testing {

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
