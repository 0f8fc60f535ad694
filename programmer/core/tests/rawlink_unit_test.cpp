#include "rawlink_unit.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pelmo
