// A driver library that cannot be loaded is a failed call, never a crash: with a board
// attached, start-up still completes, without it.
#include "driver_binding.h"
#include "sim_board.h"

namespace velmora {
namespace {

class MissingDriver : public testing::SimBoard {
  protected:
    std::string saved = driver::library_name();
    void SetUp() override {
        SimBoard::SetUp();
        load(testing::kOneBoard);
        driver::set_library_name("librawlnk-not-here.so");
    }
    void TearDown() override {
        driver::set_library_name(saved);
        SimBoard::TearDown();
    }
};

TEST_F(MissingDriver, CallsReportAFailureThatIsNotTheGoodReadStatus) {
    uint32_t count = 99;
    EXPECT_EQ(driver::RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), driver::kDriverMissing);
    EXPECT_NE(driver::kDriverMissing, RL_OK);
    EXPECT_NE(driver::kDriverMissing, 4u);
}

TEST_F(MissingDriver, StartUpCompletesWithCommsErrorAndNoBoard) {
    shared().BoardSerial = "stale";
    Initialize_Variables();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().BoardSerial, "");
    EXPECT_EQ(shared().USB_Handle, nullptr);
    EXPECT_EQ(console.page_controls_hidden, 1);
    EXPECT_TRUE(console.sn_captions.empty());
    EXPECT_TRUE(doubles.ui.messages.empty());  // the console, not this layer, tells the user
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(MissingDriver, TransactionAndVersionQueriesFailAndReturn) {
    Initialize_Variables();
    shared().CommsError = False;
    SMB_Transaction();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().Reply1, 0);
    shared().FirmwareVersionText = "3";
    Read_Version_V();
    Read_Version_W();
    EXPECT_EQ(shared().FirmwareVersionText, "3");
}

TEST_F(MissingDriver, BindsOnceTheLibraryIsThere) {
    Initialize_Variables();
    driver::set_library_name(saved);
    Initialize_Variables();
    EXPECT_EQ(shared().BoardSerial, "ZQ000042");
    EXPECT_EQ(shared().CommsError, False);
}

}  // namespace
}  // namespace velmora
