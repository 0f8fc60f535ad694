// Test fixture: the simulated world on its virtual clock, fresh shared state, the ui
// doubles, and the write log of the board.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "mod_Miscellaneous_Subroutines.h"
#include "rawlnk/rawlnk_sim.h"
#include "ui/doubles.h"

namespace velmora::testing {

class SimFixture : public ::testing::Test {
  protected:
    SimFixture() {
        RLSIM_SetStateDir(nullptr);
        RLSIM_LoadDefaultWorld();
        RLSIM_ClearFaults();
        RLSIM_UseVirtualClock(1);
        shared() = SharedState{};
        ui.clock.step = 0.01;  // waits that poll the clock end after a few hundred reads
    }
    ~SimFixture() override {
        Close_USB();
        RLSIM_UseVirtualClock(0);
    }

    // Replaces the world; false with the reason on failure.
    ::testing::AssertionResult world(const std::string& text) {
        if (RLSIM_LoadWorldText(text.c_str()) == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << RLSIM_LastError();
    }

    // Every write the board received since the last call, one line per write.
    std::string writes(int device = 0) {
        std::string out(4096, '\0');
        size_t n = RLSIM_TakeWriteLog(device, out.data(), out.size());
        if (n >= out.size()) {
            out.assign(n + 1, '\0');
            n = RLSIM_TakeWriteLog(device, out.data(), out.size());
        }
        out.resize(n < out.size() ? n : out.size() - 1);
        return out;
    }

    platform::ui::ScopedDoubles ui;
};

// A world with one board whose firmware answers `version` (0: does not answer).
inline std::string board_world(int version) {
    return "board qx7310\n  serial ZQ000001\n  description \"ZOQ ONBOARD RS232 CNTLR\"\n"
           "  firmware " +
           std::to_string(version) +
           "\n  device 0x16 battery\n  device 0x12 charger\n  device 0x14 selector\n"
           "  device 0xB8 pmbus pages 8\n";
}

}  // namespace velmora::testing
