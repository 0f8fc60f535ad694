// Board discovery, the links, the start-up sequence and the firmware queries on the
// simulated board.
#include "rawlnk.h"
#include "sim_board.h"

namespace velmora {
namespace {

using testing::SimBoard;

constexpr char kTwoBoards[] = R"(
board first
  serial ZQ000001
board second
  serial ZQ000002
)";

TEST_F(SimBoard, NoDeviceAttachedStartUpCompletesWithoutBoard) {
    load("");
    Initialize_Variables();
    EXPECT_EQ(shared().BoardSerial, "");
    EXPECT_EQ(shared().CommsError, True);  // the open of no board failed
    EXPECT_EQ(shared().USB_Handle, nullptr);
    EXPECT_TRUE(console.sn_captions.empty());
    EXPECT_EQ(console.page_controls_hidden, 1);
    EXPECT_TRUE(doubles.ui.messages.empty());
}

TEST_F(SimBoard, FailingDeviceCountFindsNoBoard) {
    load(testing::kOneBoard);
    RLSIM_InjectFault(0, "list_fail", 1, 0);
    Initialize_Variables();
    EXPECT_EQ(shared().BoardSerial, "");
    EXPECT_TRUE(console.sn_captions.empty());
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().USB_Handle, nullptr);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(SimBoard, FindsTheBoardAndLeavesItClosed) {
    load(testing::kOneBoard);
    EXPECT_EQ(Find_Board(), "ZQ000042");
    EXPECT_EQ(console.sn_captions, (std::vector<std::string>{"ZQ000042"}));
    EXPECT_EQ(shared().USB_Handle, nullptr);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(SimBoard, FirstBoardInUseElsewhereTakesTheSecond) {
    load(kTwoBoards);
    RL_HANDLE other = nullptr;  // another instance holds the first board
    ASSERT_EQ(RL_Open(0, &other), RL_OK);
    Initialize_Variables();
    EXPECT_EQ(shared().BoardSerial, "ZQ000002");
    EXPECT_EQ(console.sn_captions, (std::vector<std::string>{"ZQ000001", "ZQ000002"}));
    EXPECT_EQ(shared().CommsError, False);
    EXPECT_EQ(RLSIM_IsOpen(1), 1);  // the command link
    RL_Close(other);
}

TEST_F(SimBoard, NoBoardOpensLabelShowsTheLastTried) {
    load(kTwoBoards);
    RLSIM_InjectFault(0, "open_fail", -1, 0);
    RLSIM_InjectFault(1, "open_fail", -1, 0);
    EXPECT_EQ(Find_Board(), "");
    EXPECT_EQ(console.sn_captions.back(), "ZQ000002");
}

TEST_F(SimBoard, DescriptionMustMatchWholeAndInCase) {
    load(R"(
board lower
  serial ZQ000010
  description "zoq onboard rs232 cntlr"
board longer
  serial ZQ000011
  description "ZOQ ONBOARD RS232 CNTLR 2"
board shorter
  serial ZQ000012
  description "ZOQ ONBOARD RS232"
board right
  serial ZQ000013
)");
    EXPECT_EQ(Find_Board(), "ZQ000013");
    EXPECT_EQ(console.sn_captions, (std::vector<std::string>{"ZQ000013"}));
}

TEST_F(SimBoard, CommandLinkReachesTheController) {
    start();
    shared().Protocol = "4";
    shared().DevAddr = 0x16;
    shared().DevCmd = 0x09;
    SMB_Transaction();
    EXPECT_EQ(shared().CommsError, False);
    EXPECT_EQ(shared().Reply1, 0x34);
}

TEST_F(SimBoard, MonitorLinkIsNotACommandLink) {
    start();
    Close_USB();
    Open_USB_Monitor();
    ASSERT_EQ(shared().CommsError, False);
    RL_HANDLE monitor = shared().USB_Handle;
    shared().Protocol = "4";
    shared().DevAddr = 0x16;
    shared().DevCmd = 0x09;
    SMB_Transaction();  // the controller ignores frames at 1,200,000 baud
    EXPECT_EQ(shared().CommsTimeout, True);
    EXPECT_NE(shared().USB_Handle, monitor);  // recovery re-opened the command link
}

TEST_F(SimBoard, CloseWithoutLinkOnlySetsCommsError) {
    start();
    Close_USB();
    EXPECT_EQ(shared().CommsError, False);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
    Close_USB();
    EXPECT_EQ(shared().CommsError, True);
}

TEST_F(SimBoard, OpeningAgainReleasesTheLinkStillOpen) {
    start();
    Open_USB_Cmd();  // a second open must not lose the first handle and find the board busy
    EXPECT_EQ(shared().CommsError, False);
    Close_USB();
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

struct VersionCase {
    const char* world;
    const char* version;
};

class FirmwareVersion : public SimBoard, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(FirmwareVersion, DecimalTextOfTheByte) {
    load(GetParam().world);
    Initialize_Variables();
    Read_Version_V();
    Read_Version_W();
    EXPECT_EQ(shared().FirmwareVersionText, GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(Boards, FirmwareVersion,
                         ::testing::Values(VersionCase{"board b\n serial S1\n firmware 2\n", "2"},
                                           VersionCase{"board b\n serial S1\n firmware 200\n",
                                                       "200"},
                                           VersionCase{"board b\n serial S1\n firmware 0\n", "0"}));

TEST_F(SimBoard, SilentBoardGivesZeroAlsoAfterAnotherReadFilledTheBuffer) {
    load("board b\n serial S1\n firmware 0\n");
    Initialize_Variables();
    shared().RxBuffer[0] = 'S';  // a capture chunk left by the monitor
    Read_Version_V();
    Read_Version_W();
    EXPECT_EQ(shared().FirmwareVersionText, "0");
}

TEST_F(SimBoard, VersionWKeepsVAnswerWhenItsReadFails) {
    load("board b\n serial S1\n firmware 7\n");
    Initialize_Variables();
    Read_Version_V();
    RLSIM_InjectFault(0, "read_status_4", 1, 0);
    Read_Version_W();  // a read status other than 0 does not count for "W"
    EXPECT_EQ(shared().FirmwareVersionText, "7");
}

TEST_F(SimBoard, VersionQueriesWithNoLinkOpenSendNothing) {
    start();
    Read_Version_V();
    Read_Version_W();
    ASSERT_EQ(shared().FirmwareVersionText, "3");
    Close_USB();
    take_log();
    Read_Version_V();
    Read_Version_W();
    EXPECT_EQ(shared().FirmwareVersionText, "3");
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(take_log(), "");
}

TEST_F(SimBoard, DelaysWaitOnTheInstalledClock) {
    const double t0 = doubles.clock.now;
    Delay_50ms();
    const double t1 = doubles.clock.now;
    Delay_250ms();
    EXPECT_GE(t1 - t0, 0.05);
    EXPECT_LT(t1 - t0, 0.06);
    EXPECT_GE(doubles.clock.now - t1, 0.25);
    EXPECT_LT(doubles.clock.now - t1, 0.26);
}

}  // namespace
}  // namespace velmora
