#include <gtest/gtest.h>

#include <algorithm>

#include "device_operations.h"
#include "sim_world.h"

namespace pelmo {
namespace {

using testing::Chip;
using testing::Chips;
using testing::SimWorldTest;
using Texts = std::vector<std::string>;

class Operations : public SimWorldTest {
  protected:
    Operations() { state().OnlyBlank = false; }
    // Injects a fault on `device` when `line` is logged.
    void FaultAfterLine(const std::string& line, int device, const char* fault) {
        win.on_line = [=](const std::string& l) {
            if (l == line) RLSIM_InjectFault(device, fault, -1, 0);
        };
    }
};

TEST_F(Operations, ScanWithNoDevices) {
    Load({});
    win.log = {"old line"};
    ScanDevices();
    EXPECT_EQ(win.log, (Texts{"Number Of Blank Devices = 0", "Number Of Programmed Devices = 0"}));
}

TEST_F(Operations, ScanCountsFirstChannelsOnly) {
    Load({Chip("gen2", "programmed"), Chip("dual"), Chip("hs-quad", "programmed")});
    state().Kinds = {.Kind5Q = true};
    ScanDevices();
    EXPECT_EQ(win.log, (Texts{"Number Of Blank Devices = 1", "Number Of Programmed Devices = 2"}));
}

TEST_F(Operations, EraseEveryTarget) {
    Load(Chips(2, Chip("gen2", "programmed")));
    EraseAllDevices();
    EXPECT_EQ(win.log, (Texts{"Erase successful Device 0", "Erase successful Device 1"}));
    EXPECT_EQ(Peek(0, 1), 0xFFFF);
    EXPECT_EQ(Peek(1, 63), 0xFFFF);
}

TEST_F(Operations, EraseWithOnlyBlankLeavesProgrammedChips) {
    Load({Chip("gen2", "programmed"), Chip("gen2", "blank", "words 0: 0000 1234")});
    state().OnlyBlank = true;
    EraseAllDevices();
    EXPECT_EQ(win.log, Texts{"Erase successful Device 0"});
    EXPECT_EQ(Peek(1, 1), 0xFFFF);  // the broken image counted as blank
    EXPECT_EQ(Peek(0, 1), 0x4B1D);
}

// Each chip is judged with the selected kind, whatever the chips before it (or the Scan
// before the Erase) decoded as: with OnlyBlank on no programmed chip is erased, with it
// off exactly the kind's targets are.
TEST_F(Operations, MixedBenchIsJudgedWithTheSelectedKind) {
    struct Case {
        const char* name;
        KindFlags kind;
        int blank, programmed;
        std::vector<int> erased_when_off;
    };
    const Case cases[] = {
        {"second generation", {.KindT2 = true}, 4, 8, {1, 5, 7, 8}},
        {"dual", {.KindDual = true}, 3, 4, {5}},
        {"high-speed quad", {.Kind5Q = true}, 3, 4, {1}},
    };
    for (const auto& c : cases) {
        for (bool only_blank : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (only_blank ? ", only blank" : ""));
            Load(testing::MixedBench());
            state().Kinds = c.kind;
            state().OnlyBlank = only_blank;
            ScanDevices();
            EXPECT_EQ(win.log,
                      (Texts{"Number Of Blank Devices = " + std::to_string(c.blank),
                             "Number Of Programmed Devices = " + std::to_string(c.programmed)}));
            EXPECT_EQ(state().Kinds, c.kind);
            EraseAllDevices();
            for (int chip : {1, 5, 7, 8}) {  // the programmed ones
                const bool erased = !only_blank && std::ranges::count(c.erased_when_off, chip);
                EXPECT_EQ(Peek(chip, 1), erased ? 0xFFFF : 0x4B1D) << chip;
            }
        }
    }
}

TEST_F(Operations, EraseWithNothingFound) {
    Load({Chip("dual")});
    state().Kinds = {.Kind5D = true};
    EraseAllDevices();
    EXPECT_EQ(win.log, Texts{"No Devices found ..."});
}

TEST_F(Operations, EraseFailureGoesOnOpenFailureStops) {
    Load(Chips(3, Chip("gen2", "programmed")));
    FaultAfterLine("Erase successful Device 0", 1, "ee_erase_fail");
    EraseAllDevices();
    EXPECT_EQ(win.log, (Texts{"Erase successful Device 0", "ERROR - Erase failed Device 1",
                              "Erase successful Device 2"}));

    Load(Chips(3, Chip("gen2", "programmed")));
    FaultAfterLine("Erase successful Device 0", 1, "open_fail");
    EraseAllDevices();
    EXPECT_EQ(win.log, Texts{"Erase successful Device 0"});
    EXPECT_EQ(Dialogs(), (Texts{"RL_Open - Device Not Opened...", "Could Not Open Device 1"}));
    EXPECT_EQ(Peek(2, 1), 0x4B1D);
}

TEST_F(Operations, ReadDumpsEachCountedDevice) {
    Load({Chip("gen2", "programmed"), Chip("dual", "programmed", "eeprom 128")});
    state().Kinds = {.KindDual = true};
    state().OnlyBlank = true;  // lists nothing, but every counted device is read
    ReadAllDevices();
    ASSERT_EQ(win.log.size(), 1u + 16 + 1 + 16);
    EXPECT_EQ(win.log[0], "Read EEPROM successful Device 0");
    EXPECT_EQ(win.log[1].substr(0, 13), "0000 : 00 00 ");
    EXPECT_EQ(win.log[1].substr(7, 12), "00 00 1D 4B ");
    EXPECT_EQ(win.log[16].substr(0, 7), "00F0 : ");
    EXPECT_EQ(win.log[17], "Read EEPROM successful Device 1");
}

// The chip whose parse found the dual kind shows its upper half, where its strings are.
TEST_F(Operations, ReadDumpsEachChipByItsOwnKind) {
    Load({Chip("gen2"), Chip("dual", "programmed", "eeprom 128")});
    state().Kinds = {.KindT2 = true};
    ReadAllDevices();
    EXPECT_EQ(Lines("Read EEPROM successful"),
              (Texts{"Read EEPROM successful Device 0", "Read EEPROM successful Device 1",
                     "Read EEPROM successful Device 2"}));
    EXPECT_EQ(win.log.size(), 3u + 8 + 2 * 16);
    EXPECT_EQ(state().Kinds, KindFlags{.KindT2 = true});
}

// The operations number their lines by position in their lists; the chip left out of
// them is named by the serial number the driver lists for it.
TEST_F(Operations, TheUnreadableChipIsNamedByItsSerialNumber) {
    Load({Chip("gen2", "blank", "serial QX000001"), Chip(), Chip("gen2", "programmed")});
    Fault(0, "ee_read_fail");
    state().Kinds = {.KindT2 = true};
    state().OnlyBlank = true;
    const std::string unreadable =
        "ERROR - Read EEPROM failed on the device with Serial Number QX000001";
    EraseAllDevices();
    EXPECT_EQ(win.log, (Texts{unreadable, "Erase successful Device 0"}));
    ReadAndParseAll();
    EXPECT_EQ(win.log, (Texts{unreadable, "ERROR - Read EEPROM failed Device 0",
                              "Read EEPROM successful Device 1"}));
}

TEST_F(Operations, ReadFailureGoesOnOpenFailureStops) {
    Load(Chips(3, Chip()));
    FaultAfterLine("Read EEPROM successful Device 0", 1, "ee_read_fail");
    ReadAllDevices();
    EXPECT_EQ(Lines("ERROR - "), Texts{"ERROR - Read EEPROM failed Device 1"});
    EXPECT_EQ(Lines("Read EEPROM successful").size(), 2u);
    EXPECT_EQ(win.log.size(), 3u + 2 * 8);

    win.history.clear();
    Load(Chips(3, Chip()));
    FaultAfterLine("Read EEPROM successful Device 0", 1, "open_fail");
    ReadAllDevices();
    EXPECT_EQ(Lines("Read EEPROM"), Texts{"Read EEPROM successful Device 0"});
}

TEST_F(Operations, ReadAndParseShowsEachDecodedDevice) {
    Load(
        {Chip("dual", "programmed"), Chip("gen2", "programmed", "vid 0x1234\npid 0x00AB"), Chip()});
    state().Kinds = {.KindDual = true};  // leaves channel B out
    ReadAndParseAll();
    EXPECT_EQ(win.log, (Texts{"Read EEPROM successful Device 0", "Read EEPROM successful Device 1",
                              "ERROR - Read EEPROM failed Device 2"}));
    EXPECT_EQ(win.steps, (Texts{"ProgramDataToForm", "ProgramDataToForm"}));
    ASSERT_EQ(win.shown.size(), 2u);
    EXPECT_EQ(win.shown[0].device_type_entry, 5);
    EXPECT_EQ(win.shown[0].device_type_text, "Tessel-3DA");
    EXPECT_EQ(win.shown[0].vid_pid_entry, 0);
    EXPECT_FALSE(win.shown[0].set_id_fields);
    EXPECT_EQ(win.shown[1].device_type_entry, 3);
    EXPECT_EQ(win.shown[1].vid_pid_entry, 2);
    EXPECT_EQ(win.shown[1].vendor_id_text, "1234");
    EXPECT_EQ(win.shown[1].product_id_text, "00AB");
}

TEST(DecodedDetails, DeviceTypeAndVidPidEntries) {
    struct Case {
        ProgrammingRecord r;
        KindFlags kinds;
        int type_entry;
        int vid_pid_entry;
    };
    const Case cases[] = {
        {{.VendorId = 0x4B1D, .ProductId = 0xE001}, {}, 1, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE010}, {}, 1, 1},
        {{.VendorId = 0x4B1D, .ProductId = 0xE010, .IsDual = 1}, {}, 5, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE001, .IsT4 = 1}, {}, 6, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE001, .IsT4 = 1}, {.KindT4Fifo = true}, 7, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE010, .Is5D = 1}, {}, 9, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE011, .Is5Q = 1}, {}, 10, 0},
        {{.VendorId = 0x4B1D, .ProductId = 0xE010, .Is5Q = 1}, {}, 10, 1},
        {{.VendorId = 0x1234, .ProductId = 0xE001, .IsT2 = 1}, {}, 3, 2},
    };
    for (const auto& c : cases) {
        const BasicDetails d = DecodedBasicDetails(c.r, c.kinds);
        EXPECT_EQ(d.device_type_entry, c.type_entry);
        EXPECT_EQ(d.device_type_text, kDeviceTypeNames[c.type_entry]);
        EXPECT_EQ(d.vid_pid_entry, c.vid_pid_entry);
        EXPECT_EQ(d.set_id_fields, c.vid_pid_entry == 2);
    }
}

TEST_F(Operations, CheckStringLengthsCountsWhatProgramWrites) {
    struct Case {
        KindFlags kinds;
        StringFields fields;
        int limit;  // 0: the strings fit
    };
    const std::string m20(20, 'm');
    const Case cases[] = {
        {{.KindT2 = true}, {m20, "RL", std::string(20, 'd'), "", false}, 0},  // 48
        {{.KindT2 = true}, {m20, "RL", std::string(21, 'd'), "", false}, 48},
        {{.KindT2 = true}, {m20, "", std::string(20, 'd'), "123456789", true}, 48},
        {{.Kind5D = true}, {m20, "RL", std::string(18, 'd'), "", false}, 45},
        {{.KindDual = true}, {m20, "", std::string(20, 'd'), "12345678", true}, 47},
    };
    for (const auto& c : cases) {
        state().Kinds = c.kinds;
        win.log = {"old"};
        win.fields = c.fields;
        EXPECT_EQ(CheckStringLengths(), c.limit == 0) << c.fields.description.size();
        const Texts expected = c.limit == 0 ? Texts{} : Texts{"old", StringLengthError(c.limit)};
        EXPECT_EQ(win.log, expected);
        win.FormToProgramData(0);
        EXPECT_EQ(StringsFitImage(state().ProgramData), c.limit == 0);
    }
}

TEST_F(Operations, CycleEachTargetAndGoOnAfterFailures) {
    Load(Chips(3, Chip()));
    win.kinds = {};
    RLSIM_InjectFault(0, "cycle_fail", 1, 0);
    FaultAfterLine("CyclePort successful Device 1", 2, "open_fail");
    CycleAllDevices();
    EXPECT_EQ(win.steps, (Texts{"LockBasicDetails", "UpdateDeviceTypePage"}));
    EXPECT_EQ(win.log, (Texts{"CyclePort successful Device 1", "CyclePort failed Device 2"}));
    EXPECT_EQ(Dialogs(), (Texts{"No Valid Devices Found", "RL_Open - Device Not Opened...",
                                "Could Not Open Device 2"}));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(RLSIM_IsOpen(i));
}

// Cycling a port needs no EEPROM: the chip that cannot be read is cycled too.
TEST_F(Operations, CycleReachesTheChipWhoseEepromCannotBeRead) {
    Load(Chips(3, Chip()));
    Fault(1, "ee_read_fail");
    CycleAllDevices();
    EXPECT_EQ(Lines("CyclePort"),
              (Texts{"CyclePort successful Device 0", "CyclePort successful Device 1",
                     "CyclePort successful Device 2"}));
}

TEST_F(Operations, CloseFailureAfterCycleIsShownAndCycleGoesOn) {
    Load(Chips(2, Chip()));
    FaultAfterLine("CyclePort successful Device 0", 0, "removed");
    CycleAllDevices();
    EXPECT_EQ(win.log, (Texts{"CyclePort successful Device 0", "CyclePort successful Device 1"}));
    EXPECT_EQ(Dialogs(), Texts{"RL_Close - Device Not Found...."});
    EXPECT_FALSE(state().DeviceOpen);
}

TEST_F(Operations, CycleWithNoTargets) {
    Load({Chip("dual")});
    win.kinds = {.Kind5D = true};
    CycleAllDevices();
    EXPECT_EQ(win.log, Texts{"No Devices found ..."});
}

}  // namespace
}  // namespace pelmo
