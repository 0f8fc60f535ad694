// Request frames, replies, failures and recovery of SMB_Transaction on the simulated board.
#include "rawlnk.h"
#include "sim_board.h"

namespace velmora {
namespace {

using testing::SimBoard;

// A plain device at 0x30 with known registers, beside the battery of kOneBoard.
constexpr char kFrameWorld[] = R"(
board bench
  serial ZQ000042
  device 0x16 battery
  device 0x30 plain
  reg 0x16 0x09 word 0x1234
  reg 0x16 0x20 block 0xA1 0xB2 0xC3
  reg 0x30 0x00 byte 0x5A
  reg 0x30 0x3C word 0xCDAB
  reg 0x30 0x3C01 word 0x4321
)";

void request(const char* letter, int addr, int cmd) {
    SharedState& s = shared();
    s.Protocol = letter;
    s.DevAddr = static_cast<int16_t>(addr);
    s.DevCmd = static_cast<int16_t>(cmd);
    s.CommsError = False;
}

// The battery's word 0x09 (0x1234) came whole, low byte first, with no failure.
void expect_battery_word() {
    EXPECT_EQ(shared().Reply1, 0x34);
    EXPECT_EQ(shared().Reply2, 0x12);
    EXPECT_EQ(shared().CommsError, False);
}

struct FrameCase {
    const char* letter;
    const char* written;  // write log of the frame
    int reply1, reply2;
    int reg;  // register (extended above 0xFF) that the frame writes, 0 for none
    uint32_t reg_value;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << '"' << c.letter << '"';
}

class Frames : public SimBoard, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(Frames, WrittenAsOneFrameAndReplyStored) {
    const FrameCase& c = GetParam();
    start(kFrameWorld);
    RL_HANDLE link = shared().USB_Handle;
    request(c.letter, 0x30, 0x3C);
    shared().Data0 = 0x01;
    shared().Data1 = 0x56;
    shared().Data2 = 0x78;
    shared().Reply1 = shared().Reply2 = 0x99;
    SMB_Transaction();
    EXPECT_EQ(take_log(), c.written);
    EXPECT_EQ(shared().Reply1, c.reply1);
    EXPECT_EQ(shared().Reply2, c.reply2);
    EXPECT_EQ(shared().CommsError, False);
    EXPECT_EQ(shared().USB_Handle, link);  // no recovery
    if (c.reg) {
        uint32_t v = 0;
        ASSERT_EQ(RLSIM_GetRegister(0, 0x30, c.reg, -1, &v), 0);
        EXPECT_EQ(v, c.reg_value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Letters, Frames,
    ::testing::Values(FrameCase{"0", "30 30 0D\n", 0, 0, 0, 0},
                      FrameCase{"2", "32 30 0D\n", 0x5A, 0, 0, 0},
                      FrameCase{"1", "31 30 3C 0D\n", 0, 0, 0, 0},
                      FrameCase{"D", "44 30 3C 0D\n", 0xAB, 0, 0, 0},
                      FrameCase{"4", "34 30 3C 0D\n", 0xAB, 0xCD, 0, 0},
                      FrameCase{"C", "43 30 3C 56 0D\n", 0, 0, 0x3C, 0x56},
                      FrameCase{"O", "4F 30 3C 01 0D\n", 0x21, 0, 0, 0},
                      FrameCase{"Q", "51 30 3C 01 0D\n", 0x21, 0x43, 0, 0},
                      FrameCase{"3", "33 30 3C 56 78 0D\n", 0, 0, 0x3C, 0x7856},
                      FrameCase{"P", "50 30 3C 01 56 0D\n", 0, 0, 0x3C01, 0x56},
                      FrameCase{"R", "52 30 3C 01 56 78 0D\n", 0, 0, 0x3C01, 0x7856},
                      // Not a letter of the table: nothing written, nothing read.
                      FrameCase{"X", "", 0, 0, 0, 0}, FrameCase{"U", "", 0, 0, 0, 0},
                      FrameCase{"44", "", 0, 0, 0, 0}, FrameCase{"", "", 0, 0, 0, 0}));

TEST_F(SimBoard, ReadWordAnsweredByTwoBytes) {
    start();
    request("4", 0x16, 0x09);
    SMB_Transaction();
    expect_battery_word();
    EXPECT_EQ(shared().CommsTimeout, False);
}

TEST_F(SimBoard, ReplyCutAfterOneByteTimesOutAndReopensTheLink) {
    start();
    RL_HANDLE before = shared().USB_Handle;
    RLSIM_InjectFault(0, "short_reply", 1, 0);
    request("4", 0x16, 0x09);
    SMB_Transaction();
    EXPECT_EQ(shared().Reply1, 0x34);
    EXPECT_EQ(shared().Reply2, 0);
    EXPECT_EQ(shared().TimeoutFlag, True);
    EXPECT_EQ(shared().CommsTimeout, True);
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_NE(shared().USB_Handle, before);
    EXPECT_EQ(RLSIM_IsOpen(0), 1);

    request("4", 0x16, 0x09);  // the re-opened link is a working command link
    SMB_Transaction();
    expect_battery_word();
}

TEST_F(SimBoard, NoDeviceAtAddressTimesOut) {
    start();
    request("D", 0x50, 0x01);
    SMB_Transaction();
    EXPECT_EQ(shared().CommsTimeout, True);
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().RxCount, 0);
}

TEST_F(SimBoard, ReadFailureLeavesNoStaleReplyForTheNextRequest) {
    start();
    RLSIM_InjectFault(0, "read_status", 1, 0);
    request("4", 0x16, 0x09);
    SMB_Transaction();
    EXPECT_EQ(shared().ReadErrFlag, True);
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().CommsTimeout, False);

    request("D", 0x30, 0x3C);  // not 0x34, 0x12 of the reply left unread
    SMB_Transaction();
    EXPECT_EQ(shared().CommsError, False);
    EXPECT_EQ(shared().Reply1, 0);
}

TEST_F(SimBoard, ReadWithStatus4AndAByteIsGood) {
    start();
    RLSIM_InjectFault(0, "read_status_4", -1, 0);
    RL_HANDLE link = shared().USB_Handle;
    request("4", 0x16, 0x09);
    SMB_Transaction();
    EXPECT_EQ(shared().USB_Status, 4);
    expect_battery_word();
    EXPECT_EQ(shared().USB_Handle, link);
}

TEST_F(SimBoard, WriteFailureFollowedByCompleteReplyMakesNoRecovery) {
    start();
    RL_HANDLE link = shared().USB_Handle;
    // An earlier request's reply still waits in the queue when this write fails.
    const uint8_t earlier[] = {'4', 0x16, 0x09, 13};
    uint32_t written = 0;
    ASSERT_EQ(RL_Write(link, earlier, 4, &written), RL_OK);
    RLSIM_InjectFault(0, "write_fail", 1, 0);
    request("4", 0x16, 0x09);
    SMB_Transaction();
    expect_battery_word();
    EXPECT_EQ(shared().USB_Handle, link);
}

TEST_F(SimBoard, RemovedBoardFailsWithoutHanging) {
    start();
    RLSIM_InjectFault(0, "removed", -1, 0);
    request("4", 0x16, 0x09);
    SMB_Transaction();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(shared().USB_Handle, nullptr);  // the re-open failed
    SMB_Transaction();                        // and a request with no link fails too
    EXPECT_EQ(shared().CommsError, True);
}

TEST_F(SimBoard, BlockReadOfThreeBytes) {
    start();
    request("G", 0x16, 0x20);
    SMB_Transaction();
    EXPECT_EQ(take_log(), "47 16 20 0D\n");
    EXPECT_EQ(shared().BlockCount, 3);
    EXPECT_EQ(shared().BlockCountHex, "03");
    EXPECT_EQ(shared().BlockReadText, "A1\r\nB2\r\nC3\r\n");
    EXPECT_EQ(shared().RxCount, 4);
    EXPECT_EQ(shared().CommsError, False);
}

TEST_F(SimBoard, BlockReadOfNoBytesMakesOneRead) {
    start();
    shared().BlockReadText = "old\r\n";
    request("G", 0x30, 0x55);
    SMB_Transaction();
    EXPECT_EQ(shared().RxCount, 1);
    EXPECT_EQ(shared().BlockCount, 0);
    EXPECT_EQ(shared().BlockCountHex, "00");
    EXPECT_EQ(shared().BlockReadText, "");
    EXPECT_EQ(shared().CommsError, False);
}

TEST_F(SimBoard, BlockWriteSendsEachByteAloneThenCR) {
    start();
    console.block_data = "A1\r\nA2\r\n";
    request("F", 0x16, 0x3C);
    shared().BlockCount = 2;
    SMB_Transaction();
    EXPECT_EQ(take_log(), "46 16 3C 02\nA1\nA2\n0D\n");
    EXPECT_EQ(shared().Reply1, 0);
    EXPECT_EQ(shared().CommsError, False);
    uint32_t v = 0;
    ASSERT_EQ(RLSIM_GetRegister(0, 0x16, 0x3C, -1, &v), 0);
    EXPECT_EQ(v, 0xA2A1u);
    EXPECT_TRUE(doubles.ui.messages.empty());
}

TEST_F(SimBoard, BlockWriteOfNoBytesNeedsNoText) {
    start();
    request("F", 0x16, 0x3C);
    shared().BlockCount = 0;
    SMB_Transaction();
    EXPECT_EQ(take_log(), "46 16 3C 00\n0D\n");
    EXPECT_TRUE(doubles.ui.messages.empty());
}

TEST_F(SimBoard, BlockTextWithoutLastLineEndIsComplete) {
    start();
    console.block_data = "A1\r\nA2\r\nA3";
    request("F", 0x16, 0x3C);
    shared().BlockCount = 3;
    SMB_Transaction();
    EXPECT_EQ(take_log(), "46 16 3C 03\nA1\nA2\nA3\n0D\n");
}

struct RefusedText {
    const char* text;
    int count;
};

class RefusedBlock : public SimBoard, public ::testing::WithParamInterface<RefusedText> {};

// Nothing goes out; the invalid-entry message shows and repetition stops.
TEST_P(RefusedBlock, NothingWrittenAndInvalidEntryMessage) {
    start();
    shared().PanelCount = 2;
    console.block_data = GetParam().text;
    for (const char* letter : {"F", "T"}) {
        doubles.ui.messages.clear();
        request(letter, 0x16, 0x3C);
        shared().BlockCount = static_cast<uint8_t>(GetParam().count);
        RL_HANDLE link = shared().USB_Handle;
        SMB_Transaction();
        EXPECT_EQ(take_log(), "") << letter;
        EXPECT_EQ(doubles.ui.message_texts(),
                  (std::vector<std::string>{"One of the Addr, Cmd, Data entries are not valid"}));
        EXPECT_EQ(shared().HexValid, False);
        EXPECT_EQ(shared().TxLength, 0);
        EXPECT_EQ(shared().RxExpected, 0);
        EXPECT_EQ(shared().USB_Handle, link);  // no recovery
        EXPECT_EQ(shared().Protocol, letter);
    }
    EXPECT_EQ(console.repeat_all_stops, 2);
    EXPECT_EQ(console.unticked, (std::vector<int>{1, 2, 1, 2}));
}

INSTANTIATE_TEST_SUITE_P(Texts, RefusedBlock,
                         ::testing::Values(RefusedText{"A1\r\nA2", 3},
                                           RefusedText{"A1\r\nA2\r\nA", 3}, RefusedText{"", 1},
                                           // A byte that is not hex is not sent as 0x00.
                                           RefusedText{"A1\r\nZZ\r\n", 2},
                                           RefusedText{"A1\nA2\nA3\n", 3}));

TEST_F(SimBoard, BlockWriteThenReadSendsUFrameAndReadsBlock) {
    start();
    console.block_data = "A1\r\nA2\r\n";
    shared().RowProtocol[0] = "T";
    request("T", 0x16, 0x20);
    shared().BlockCount = 2;
    SMB_Transaction();
    EXPECT_EQ(take_log(), "54 16 20 02\nA1\nA2\n55 16 0D\n");
    EXPECT_EQ(shared().Protocol, "U");
    EXPECT_EQ(shared().RowProtocol[0], "U");
    EXPECT_EQ(shared().BlockCount, 2);
    EXPECT_EQ(shared().BlockCountHex, "02");
    EXPECT_EQ(shared().BlockReadText, "A1\r\nA2\r\n");
    EXPECT_EQ(shared().CommsError, False);
}

TEST_F(SimBoard, GroupedRequestWrittenAsBuilt) {
    start(kFrameWorld);
    shared().BlockBuffer = std::string("S0") + '1' + '\x30' + '\x3C' + '\x77' + '\r';
    shared().RawLength = 7;
    request("S", 0, 0);
    SMB_Transaction();
    EXPECT_EQ(take_log(), "53 30 31 30 3C 77 0D\n");
    EXPECT_EQ(shared().Reply1, 0);
    EXPECT_EQ(shared().CommsError, False);
    uint32_t v = 0;
    ASSERT_EQ(RLSIM_GetRegister(0, 0x30, 0x3C, -1, &v), 0);
    EXPECT_EQ(v, 0x77u);
}

TEST_F(SimBoard, GroupedRequestBeyondItsTextOrTheBufferIsRefused) {
    start();
    RL_HANDLE link = shared().USB_Handle;
    for (int length : {8, 49, -1}) {
        shared().BlockBuffer = length == 49 ? std::string(49, 'S') : std::string("S0");
        shared().RawLength = static_cast<int16_t>(length);
        request("S", 0, 0);
        SMB_Transaction();
        EXPECT_EQ(take_log(), "") << length;
        EXPECT_EQ(shared().CommsError, True) << length;
        EXPECT_EQ(shared().USB_Handle, link);
    }
}

}  // namespace
}  // namespace velmora
