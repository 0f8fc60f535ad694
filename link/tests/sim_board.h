// Fixture of the tests against the simulated board: the test binary links librawlnk, so
// the library the link layer binds by name is the one these RLSIM_ calls steer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "mod_Miscellaneous_Subroutines.h"
#include "rawlnk_sim.h"
#include "recording_console.h"
#include "ui/doubles.h"

namespace velmora::testing {

// One board with a battery (word 0x09 = 0x1234, a three-byte block at 0x20) and a
// plain device at 0x30 whose registers are all empty.
inline constexpr char kOneBoard[] = R"(
board bench
  serial ZQ000042
  firmware 3
  device 0x16 battery
  device 0x30 plain
  reg 0x16 0x09 word 0x1234
  reg 0x16 0x20 block 0xA1 0xB2 0xC3
)";

class SimBoard : public ::testing::Test {
  protected:
    platform::ui::ScopedDoubles doubles;
    ScopedConsole scoped_console;
    RecordingConsole& console = scoped_console.console;

    void SetUp() override {
        shared() = SharedState{};
        RLSIM_SetStateDir(nullptr);
        RLSIM_UseVirtualClock(1);
        RLSIM_ClearFaults();
        // The link layer's waits move the simulated world along with them.
        doubles.clock.on_advance = [](uint64_t us) { RLSIM_AdvanceMicros(us); };
    }
    void TearDown() override {
        if (shared().USB_Handle) Close_USB();
        shared() = SharedState{};
        RLSIM_ClearFaults();
        RLSIM_LoadDefaultWorld();
    }

    void load(const char* world) { ASSERT_EQ(RLSIM_LoadWorldText(world), 0) << RLSIM_LastError(); }
    // Start-up on a world whose board must be found; the write log starts empty.
    void start(const char* world = kOneBoard) {
        load(world);
        Initialize_Variables();
        ASSERT_FALSE(shared().BoardSerial.empty());
        ASSERT_EQ(shared().CommsError, False);
        take_log();
    }
    // The writes device `index` received since the last take, one line per write.
    static std::string take_log(int index = 0) {
        std::string log(RLSIM_TakeWriteLog(index, nullptr, 0) + 1, '\0');
        RLSIM_TakeWriteLog(index, log.data(), log.size());
        log.resize(log.size() - 1);
        return log;
    }
};

}  // namespace velmora::testing
