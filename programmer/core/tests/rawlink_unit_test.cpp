#include "rawlink_unit.h"

#include <gtest/gtest.h>

#include "sim_world.h"
#include "ui/doubles.h"

namespace pelmo {
namespace {

namespace ui = platform::ui;

TEST(DriverError, TextIsCaptionAndStatusText) {
    struct Case {
        int32_t status;
        const char* text;
    };
    const Case cases[] = {
        {1, "RL_Open - Invalid Handle..."},
        {2, "RL_Open - Device Not Found...."},
        {4, "RL_Open - General IO Error..."},
        {8, "RL_Open Device not opened for erase  ..."},
        {9, "RL_Open Device not opened for write ..."},
        {11, "RL_Open - EEPROM read Failed ..."},
        {14, "RL_Open - EEPROM not present ..."},
        {16, "RL_Open - invalid Arguments ..."},
        {17, "RL_Open - other error  ..."},
        {15, "RL_Open - unknown status 15"},
        {18, "RL_Open - unknown status 18"},
        {-3, "RL_Open - unknown status -3"},
    };
    for (const auto& c : cases) EXPECT_EQ(DriverErrorText("RL_Open", c.status), c.text);
    EXPECT_EQ(DriverErrorText("RL_GetDeviceInfo ", 3), "RL_GetDeviceInfo  - Device Not Opened...");
}

TEST(DriverError, DialogOnlyForFailures) {
    ui::ScopedDoubles doubles;
    ShowDriverError("RL_Close", 0);
    EXPECT_TRUE(doubles.ui.messages.empty());
    ShowDriverError("RL_Close", 1);
    ASSERT_EQ(doubles.ui.messages.size(), 1u);
    EXPECT_EQ(doubles.ui.messages[0].text, "RL_Close - Invalid Handle...");
    EXPECT_EQ(doubles.ui.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(doubles.ui.messages[0].buttons, ui::Buttons::Ok);
}

class Wrappers : public testing::SimWorldTest {
  protected:
    void OpenFirst() {
        state().DeviceIndex = 0;
        ASSERT_EQ(OpenDevice(), 0);
    }
};

TEST_F(Wrappers, InfoWithoutTextPlaces) {
    Load({testing::Chip("dual")});
    EXPECT_EQ(GetDeviceCount(), 0);
    EXPECT_EQ(state().DeviceCount, 2);
    OpenFirst();
    uint32_t type = 99, id = 0;
    EXPECT_EQ(GetDeviceInfoEx(&type, &id, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(type, 4u);
    EXPECT_EQ(CloseDevice(), 0);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Wrappers, OnlyCountOpenCloseAndInfoShowTheDialog) {
    Load({testing::Chip()});
    OpenFirst();
    ASSERT_EQ(ReadEEWord(0), 0);
    EXPECT_EQ(state().LastEepromWord, 0xFFFF);
    for (const char* f :
         {"ee_read_fail", "ee_write_fail", "ee_erase_fail", "latency_fail", "cycle_fail"}) {
        Fault(0, f, 1);
    }
    EXPECT_EQ(ReadEEWord(1), 11);
    EXPECT_EQ(state().LastEepromWord, 0xFFFF);  // kept from the last good read
    EXPECT_EQ(WriteEEWord(1, 2), 12);
    EXPECT_EQ(EraseEEPROM(), 13);
    EXPECT_EQ(SetDeviceLatency(0x77), 4);
    EXPECT_EQ(CycleDevicePort(), 4);
    EXPECT_TRUE(Dialogs().empty());

    Fault(0, "removed");
    uint32_t type = 0;
    EXPECT_EQ(GetDeviceInfoEx(&type, nullptr, nullptr, nullptr, nullptr), 4);
    EXPECT_EQ(CloseDevice(), 2);
    EXPECT_EQ(OpenDevice(), 2);
    EXPECT_EQ(Dialogs(), (std::vector<std::string>{"RL_GetDeviceInfo  - General IO Error...",
                                                   "RL_Close - Device Not Found....",
                                                   "RL_Open - Device Not Found...."}));
}

}  // namespace
}  // namespace pelmo
