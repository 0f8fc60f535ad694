// A driver library that cannot be loaded is a failed call, never a crash.
#include <gtest/gtest.h>

#include "driver_binding.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "recording_console.h"
#include "ui/doubles.h"

namespace velmora {
namespace {

class MissingDriver : public ::testing::Test {
  protected:
    platform::ui::ScopedDoubles doubles;
    testing::ScopedConsole console;
    std::string saved = driver::library_name();
    void SetUp() override { driver::set_library_name("librawlnk-not-here.so"); }
    void TearDown() override {
        driver::set_library_name(saved);
        shared() = SharedState{};
    }
};

TEST_F(MissingDriver, CallsReportFailureStatus) {
    uint32_t count = 99;
    EXPECT_NE(driver::RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);
    EXPECT_EQ(driver::RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), driver::kDriverMissing);
    EXPECT_NE(driver::kDriverMissing, 4u);  // the reply reader takes 4 as good
}

TEST_F(MissingDriver, StartUpCompletesWithCommsErrorAndNoBoard) {
    shared().BoardSerial = "stale";
    Initialize_Variables();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().BoardSerial, "");
    EXPECT_EQ(shared().USB_Handle, nullptr);
    EXPECT_EQ(console.console.page_controls_hidden, 1);
    EXPECT_TRUE(console.console.sn_captions.empty());
    EXPECT_TRUE(doubles.ui.messages.empty());  // the console, not this layer, tells the user
}

TEST_F(MissingDriver, TransactionFailsAndReturns) {
    Initialize_Variables();
    shared().CommsError = False;
    shared().Protocol = "4";
    SMB_Transaction();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().ReadErrFlag, True);
    EXPECT_EQ(shared().Reply1, 0);
    EXPECT_EQ(shared().Reply2, 0);
}

TEST_F(MissingDriver, VersionQueriesWithoutLinkKeepTheLastVersion) {
    shared().FirmwareVersionText = "3";
    Read_Version_V();
    Read_Version_W();
    EXPECT_EQ(shared().FirmwareVersionText, "3");
    EXPECT_EQ(shared().CommsError, True);
}

}  // namespace
}  // namespace velmora
