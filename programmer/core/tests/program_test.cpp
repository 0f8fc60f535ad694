#include <gtest/gtest.h>

#include <cmath>

#include "device_operations.h"
#include "eeprom_device.h"
#include "rawlink_unit.h"
#include "sim_world.h"

namespace pelmo {
namespace {

using testing::Chip;
using testing::Chips;
using testing::SimWorldTest;

// A UTC clock that runs with the fake clock's seconds, so that waiting moves it on.
class RunningUtcClock : public platform::ui::FakeClock {
  public:
    platform::ui::UtcTime utc_now() override {
        const int s = 5 + static_cast<int>(std::floor(now - 1000.0));
        return {2026, 12, 9, 4, 28 + s / 60, s % 60};
    }
};

class ProgramAll : public SimWorldTest {
  protected:
    void SetUp() override {
        state().Kinds.KindT2 = true;
        win.kinds = state().Kinds;
        win.settings.VendorId = 0x4B1D;
        win.settings.ProductId = 0xE001;
        win.settings.MaxPower = 100;
        win.settings.IsT2 = 1;
        win.settings.SerNumEnable = 1;
        win.fields = {"KELD", "RL", "USB <-> Serial Cable", "00000001", true};
    }
    std::vector<std::string> Serials() const {
        std::vector<std::string> out;
        for (const auto& l : Lines("Programmed Serial Number : ")) out.push_back(l.substr(27));
        return out;
    }
    // The serial number a chip holds, decoded by a fresh parse.
    std::string ChipSerial(int device) {
        OpenDeviceByIndex(device);
        EXPECT_EQ(ReadAndParseDevice(true), 0);
        CloseOpenDevice();
        return BufferText(state().SerialBuffer);
    }
};

TEST_F(ProgramAll, FixedSerialStepsByDevice) {
    Load(Chips(2, Chip()));
    ProgramAllDevices();
    EXPECT_EQ(Serials(), (std::vector<std::string>{"00000001", "00000002"}));
    EXPECT_EQ(ChipSerial(1), "00000002");
    EXPECT_EQ(Peek(0, 1), 0x4B1D);
    EXPECT_EQ(Peek(0, 36), 0x0312);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(ProgramAll, TenthDeviceGetsAColon) {
    Load(Chips(10, Chip()));
    ProgramAllDevices();
    ASSERT_EQ(Serials().size(), 10u);
    EXPECT_EQ(Serials()[9], "0000000:");
    EXPECT_EQ(ChipSerial(9), "0000000:");
}

TEST_F(ProgramAll, OnlySixteenOfTwentyDevices) {
    Load(Chips(20, Chip()));
    ProgramAllDevices();
    EXPECT_EQ(Serials().size(), 16u);
    EXPECT_EQ(Peek(15, 1), 0x4B1D);
    for (int d = 16; d < 20; ++d) EXPECT_EQ(Peek(d, 0), 0xFFFF) << d;
}

TEST_F(ProgramAll, DualChipOnceAndItsSizeProbed) {
    Load({Chip("dual", "blank", "eeprom 128")});
    state().Kinds = win.kinds = {.KindDual = true};
    win.settings.IsT2 = 0;
    win.settings.IsDual = 1;
    ProgramAllDevices();
    EXPECT_EQ(Serials(), std::vector<std::string>{"00000001"});
    EXPECT_EQ(state().EepromSizeText, "93C56");
    EXPECT_EQ(Peek(0, 10), 0x0056);
    EXPECT_EQ(Peek(0, 75), 0x030A);
}

TEST_F(ProgramAll, ClockSerialsWithinOneSecondAreMadeDifferent) {
    RunningUtcClock clock;
    platform::ui::install(&clock);
    Load(Chips(2, Chip()));
    win.fields.use_fixed_serial = false;
    ProgramAllDevices();
    platform::ui::install(&doubles.clock);
    const auto serials = Serials();
    ASSERT_EQ(serials.size(), 2u);
    EXPECT_EQ(serials[0], "RLBY87PH");
    EXPECT_NE(serials[0], serials[1]);
    EXPECT_EQ(serials[1].substr(0, 2), "RL");
    EXPECT_EQ(ChipSerial(1), serials[1]);
}

TEST_F(ProgramAll, SerialThatNeverChangesStopsWithAnError) {
    Load(Chips(3, Chip()));  // the fake UTC clock stands still
    win.fields.use_fixed_serial = false;
    ProgramAllDevices();
    EXPECT_EQ(Serials().size(), 1u);
    EXPECT_EQ(Lines("ERROR - "), std::vector<std::string>{
                                     "ERROR - Serial Number unchanged after programming Device 1"});
    EXPECT_EQ(Peek(2, 0), 0xFFFF);
    EXPECT_FALSE(state().DeviceOpen);
}

TEST_F(ProgramAll, DisabledSerialNeedsNoChange) {
    Load(Chips(2, Chip()));
    win.fields.use_fixed_serial = false;
    win.serial_disabled = true;
    win.settings.SerNumEnable = 0;
    ProgramAllDevices();
    EXPECT_EQ(Serials(), (std::vector<std::string>{"Disabled", "Disabled"}));
}

// 19 + 20 characters and a clock serial of 8: 47 written, which fit.
TEST_F(ProgramAll, TotalLengthCountsTheClockSerialOnce) {
    Load(Chips(1, Chip()));
    win.fields = {std::string(19, 'm'), "RL", std::string(20, 'd'), "", false};
    ProgramAllDevices();
    ASSERT_EQ(win.log.size(), 1u);
    EXPECT_EQ(win.log[0].substr(0, 27), "Programmed Serial Number : ");
}

TEST_F(ProgramAll, StringsPastTheChecksumAreRefusedAndNothingWritten) {
    Load(Chips(2, Chip("gen2", "programmed")));
    state().OnlyBlank = false;
    const uint16_t checksum = Peek(0, 63);
    win.fields = {std::string(20, 'm'), "", std::string(20, 'd'), "123456789", true};
    ProgramAllDevices();
    EXPECT_EQ(Lines("ERROR - "),
              (std::vector<std::string>{
                  "ERROR - Total String Length exceeds maximum. - The total no of characters for "
                  "Manufacturer,  - Description and Serial Number has to be less - than 48",
                  "ERROR - String descriptors do not fit in the EEPROM, nothing written"}));
    EXPECT_TRUE(Serials().empty());
    EXPECT_EQ(Peek(0, 63), checksum);
    EXPECT_NE(Peek(0, 0), 0xFFFF);
    EXPECT_FALSE(state().DeviceOpen);
}

// A chip whose EEPROM cannot be read is neither blank nor programmed: Scan and Program
// say so and go on with the others.
TEST_F(ProgramAll, UnreadableChipIsReportedAndLeftOut) {
    const std::string kUnreadable =
        "ERROR - Read EEPROM failed on the device without a Serial Number at driver index 0";
    Load(testing::MixedBench());
    Fault(0, "ee_read_fail");
    ScanDevices();
    EXPECT_EQ(win.log, (std::vector<std::string>{kUnreadable, "Number Of Blank Devices = 3",
                                                 "Number Of Programmed Devices = 8"}));
    win.log.clear();
    ProgramAllDevices();
    EXPECT_EQ(win.log,
              (std::vector<std::string>{kUnreadable, "Programmed Serial Number : 00000001"}));
    EXPECT_EQ(Peek(11, 1), 0x4B1D);
    EXPECT_EQ(Peek(0, 1), 0xFFFF);
}

TEST_F(ProgramAll, NoTargetsShowsTheDialog) {
    Load({});
    ProgramAllDevices();
    EXPECT_EQ(Dialogs(), std::vector<std::string>{"No Devices Found"});
}

TEST_F(ProgramAll, OpenFailureStopsWithThreeDialogs) {
    Load(Chips(2, Chip()));
    win.on_string_fields = [] { RLSIM_InjectFault(0, "open_fail", -1, 0); };
    ProgramAllDevices();
    EXPECT_EQ(Dialogs(),
              (std::vector<std::string>{"RL_Open - Device Not Opened...", "Could Not Open Device 0",
                                        "Error opening device"}));
    EXPECT_EQ(Peek(1, 0), 0xFFFF);
}

TEST_F(ProgramAll, FailedWritesStopAtTheReadBack) {
    Load(Chips(2, Chip()));
    win.on_string_fields = [] { RLSIM_InjectFault(0, "ee_write_fail", -1, 0); };
    ProgramAllDevices();
    EXPECT_EQ(Dialogs(), std::vector<std::string>{"Error reading device"});
    EXPECT_EQ(Lines("ERROR - Write failed").size(), 1u);  // the probe's word
    EXPECT_EQ(Peek(1, 0), 0xFFFF);
    EXPECT_FALSE(state().DeviceOpen);
}

TEST_F(ProgramAll, UnknownSizeWritesNothing) {
    Load(Chips(1, Chip()));
    win.on_string_fields = [] { RLSIM_InjectFault(0, "ee_read_fail", 3, 0); };
    ProgramAllDevices();
    EXPECT_EQ(Lines("ERROR - Read failed").size(), 3u);
    EXPECT_EQ(state().EepromSizeText, "Unknown");
    EXPECT_EQ(Dialogs(), std::vector<std::string>{"Error reading device"});
    EXPECT_EQ(Peek(0, 1), 0xFFFF);
}

TEST_F(ProgramAll, EraseFailureIsLoggedAndProgrammingGoesOn) {
    Load(Chips(1, Chip("gen2", "programmed")));
    state().OnlyBlank = false;
    win.on_string_fields = [] { RLSIM_InjectFault(0, "ee_erase_fail", -1, 0); };
    ProgramAllDevices();
    EXPECT_EQ(Lines("ERROR - Erase failed").size(), 2u);  // the probe's and the programming's
    EXPECT_EQ(Serials(), std::vector<std::string>{"00000001"});
}

TEST_F(ProgramAll, FourthGenerationSetsTheProgramTimeWithoutErase) {
    Load({Chip("gen4", "blank", "model fifo")});
    state().Kinds = win.kinds = {.KindT4 = true, .KindT4Fifo = true};
    state().OnlyBlank = false;
    win.settings.IsT2 = 0;
    win.settings.IsT4 = 1;
    win.settings.T4IsFifoModel = 1;
    win.on_string_fields = [] { RLSIM_InjectFault(0, "latency_fail", 1, 0); };
    ProgramAllDevices();
    EXPECT_EQ(Lines("ERROR - "), std::vector<std::string>{"ERROR - Failed to set Program Time"});
    EXPECT_EQ(Serials(), std::vector<std::string>{"00000001"});
    EXPECT_EQ(state().EepromSizeText, "93C46");
    EXPECT_EQ(Peek(0, 66) & 1, 1);  // factory words untouched
}

TEST_F(ProgramAll, ReadBackDoesNotChangeTheKindForLaterDevices) {
    Load(Chips(2, Chip("gen2")));
    state().Kinds = win.kinds = {};  // first generation selected, second-generation chips
    win.settings.IsT2 = 0;
    ProgramAllDevices();
    EXPECT_EQ(Peek(0, 3), 0x0200);
    EXPECT_EQ(Peek(1, 3), 0x0200);
}

// The first two generations take a 64-word image on every part; on a larger part it is
// written and read back as such, and the words above it stay erased.
TEST_F(ProgramAll, SingleChannelKindsOnLargerPartsReadBackAsProgrammed) {
    Load({Chip("gen2", "blank", "eeprom 128"), Chip("gen2", "blank", "eeprom 256")});
    ProgramAllDevices();
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Serials(), (std::vector<std::string>{"00000001", "00000002"}));
    for (int device : {0, 1}) {
        EXPECT_EQ(Peek(device, 36), 0x0312) << device;
        EXPECT_EQ(Peek(device, 64), 0xFFFF) << device;
        EXPECT_EQ(Peek(device, 127), 0xFFFF) << device;
    }
    EXPECT_EQ(ChipSerial(1), "00000002");
    ScanDevices();
    EXPECT_EQ(win.log, (std::vector<std::string>{"Number Of Blank Devices = 0",
                                                 "Number Of Programmed Devices = 2"}));
}

class Probe : public SimWorldTest {};

TEST_F(Probe, SizeFromTheAddressWrapAround) {
    for (const auto& [words, size] : {std::pair{64, "93C46"}, {128, "93C56"}, {256, "93C66"}}) {
        Load({Chip("gen2", "blank", "eeprom " + std::to_string(words))});
        ASSERT_TRUE(OpenDeviceByIndex(0));
        ProbeEepromSize();
        CloseOpenDevice();
        EXPECT_EQ(state().EepromSizeText, size);
    }
    // on a 128-word part the word written at 192 shows at 64, not at 0
    EXPECT_EQ(Peek(0, 0), 0xFFFF);
}

}  // namespace
}  // namespace pelmo
