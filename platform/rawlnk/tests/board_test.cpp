// The board's controller as the programs meet it: request frames on the command link at
// 19,534 baud and the bytes they answer.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace rawlnk_test {
namespace {

struct FrameCase {
    const char* name;
    std::vector<Bytes> before;  // requests whose answers are read and dropped
    std::vector<Bytes> writes;  // the request, one RL_Write each
    Bytes reply;
};

const std::vector<FrameCase> kFrameCases = {
    {"QuickCommand", {}, {{'0', 0x16, CR}}, {0x00}},
    {"SendByte", {}, {{'1', 0x16, 0x09, CR}}, {0x00}},
    {"ReceiveByteAfterSendByte", {{'1', 0x16, 0x0D, CR}}, {{'2', 0x16, CR}}, {76}},
    {"WriteByte", {}, {{'C', 0x16, 0x01, 0x55, CR}}, {0x00}},
    {"ReadByteAfterWriteByte", {{'C', 0x16, 0x01, 0x55, CR}}, {{'D', 0x16, 0x01, CR}}, {0x55}},
    {"ReadByteOfPmbusStatus", {}, {{'D', 0xB8, 0x78, CR}}, {0x41}},
    {"WriteWord", {}, {{'3', 0x16, 0x01, 0x34, 0x12, CR}}, {0x00}},
    {"ReadWordAfterWriteWord",
     {{'3', 0x16, 0x01, 0x34, 0x12, CR}},
     {{'4', 0x16, 0x01, CR}},
     {0x34, 0x12}},
    {"ReadWordVoltage", {}, {{'4', 0x16, 0x09, CR}}, {0x34, 0x30}},
    {"ReadWordTemperature", {}, {{'4', 0x16, 0x08, CR}}, {0xA6, 0x0B}},
    {"ReadWordBatteryStatus", {}, {{'4', 0x16, 0x16, CR}}, {0xC0, 0x00}},
    {"ReadWordCurrentNegative", {}, {{'4', 0x16, 0x0A, CR}}, {0x24, 0xFA}},
    {"ReadWordChargerCurrent", {}, {{'4', 0x12, 0x14, CR}}, {0xD0, 0x07}},
    {"ReadWordSelector", {}, {{'4', 0x14, 0x01, CR}}, {0x21, 0x01}},
    {"ReadWordVoutCommand", {}, {{'4', 0xB8, 0x21, CR}}, {0x99, 0x69}},
    {"ReadWordReadVout", {}, {{'4', 0xB8, 0x8B, CR}}, {0xA1, 0x69}},
    {"ReadByteVoutMode", {}, {{'D', 0xB8, 0x20, CR}}, {0x13}},
    {"ExtWriteByte", {}, {{'P', 0xB8, 0xFE, 0x01, 0x77, CR}}, {0x00}},
    {"ExtReadByte", {{'P', 0xB8, 0xFE, 0x01, 0x77, CR}}, {{'O', 0xB8, 0xFE, 0x01, CR}}, {0x77}},
    {"ExtWriteWord", {}, {{'R', 0xB8, 0xFE, 0x02, 0x34, 0x12, CR}}, {0x00}},
    {"ExtReadWord",
     {{'R', 0xB8, 0xFE, 0x02, 0x34, 0x12, CR}},
     {{'Q', 0xB8, 0xFE, 0x02, CR}},
     {0x34, 0x12}},
    {"BlockReadDeviceName", {}, {{'G', 0x16, 0x21, CR}}, {7, 'L', 'C', '-', '4', 'S', '2', 'P'}},
    {"BlockReadMfrId", {}, {{'G', 0xB8, 0x99, CR}}, {5, 'V', 'O', 'L', 'T', 'A'}},
    {"BlockWriteDataInWritesOfTheirOwn",
     {},
     {{'F', 0x16, 0x23, 0x02}, {0xA1}, {0xA2}, {CR}},
     {0x00}},
    {"BlockReadAfterBlockWrite",
     {{'F', 0x16, 0x23, 0x02, 0xA1, 0xA2, CR}},
     {{'G', 0x16, 0x23, CR}},
     {2, 0xA1, 0xA2}},
    {"BlockWriteThenReadWithU",
     {},
     {{'T', 0x16, 0x2F, 0x02}, {0xA1}, {0xA2}, {'U', 0x16, CR}},
     {2, 0xA1, 0xA2}},
    {"BlockWriteOfZeroBytes", {}, {{'F', 0x16, 0x2E, 0x00}, {CR}}, {0x00}},
    {"GroupedRequest",
     {},
     {{'S', '2', '1', 0xB8, 0x00, 0x01, '2', 0xB8, 0x21, 0x00, 0x10, '1', 0xB8, 0x01, 0x80, CR}},
     {0x00}},
    {"FirmwareV", {}, {{'V', CR}}, {3}},
    {"FirmwareW", {}, {{'W', CR}}, {3}},
    {"AddressNotAcknowledged", {}, {{'4', 0x50, 0x09, CR}}, {}},
    {"WriteToAbsentAddress", {}, {{'C', 0x50, 0x01, 0x02, CR}}, {}},
    {"UnknownLetter", {}, {{'Z', 0x16, 0x09, CR}}, {}},
    {"FrameWithoutCr", {}, {{'4', 0x16, 0x09, 0x0A}}, {}},
    {"PageBeyondTheDevice", {}, {{'C', 0xB8, 0x00, 0x08, CR}}, {}},
    {"GroupedRequestToAbsentDevice", {}, {{'S', '0', '1', 0x50, 0x00, 0x01, CR}}, {}},
    {"MonitorModeAnswersNothing", {}, {{'M', CR}}, {}},
    {"FramesIgnoredInMonitorMode", {{'M', CR}}, {{'4', 0x16, 0x09, CR}}, {}},
    {"AddressWithReadBitSet", {}, {{'4', 0x17, 0x09, CR}}, {0x34, 0x30}},
};

class FrameTest : public SimTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameTest, AnswersByTheReplyRule) {
    RL_HANDLE h = open_command_link();
    for (const auto& f : GetParam().before) transact(h, f);
    for (const auto& w : GetParam().writes) write_bytes(h, w);
    EXPECT_EQ(read_reply(h), GetParam().reply);
    RL_Close(h);
}

INSTANTIATE_TEST_SUITE_P(EveryLetter, FrameTest, ::testing::ValuesIn(kFrameCases),
                         [](const auto& info) { return std::string(info.param.name); });

class BoardTest : public SimTest {};

TEST_F(BoardTest, GroupedRequestWritesEveryRecord) {
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, {'S', '2', '1', 0xB8, 0x00, 0x01, '2', 0xB8, 0x21, 0x00, 0x10, '1', 0xB8,
                           0x01, 0x80, CR}),
              Bytes{0x00});
    uint32_t v = 0;
    ASSERT_EQ(RLSIM_GetRegister(kBoardIndex, 0xB8, 0x00, -1, &v), 0);
    EXPECT_EQ(v, 1u);  // PAGE 1
    ASSERT_EQ(RLSIM_GetRegister(kBoardIndex, 0xB8, 0x21, 1, &v), 0);
    EXPECT_EQ(v, 0x1000u);
    ASSERT_EQ(RLSIM_GetRegister(kBoardIndex, 0xB8, 0x21, 0, &v), 0);
    EXPECT_EQ(v, 0x6999u);  // page 0 untouched
    RL_Close(h);
}

TEST_F(BoardTest, PagesHoldTheirOwnRegisters) {
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, {'C', 0xB8, 0x00, 0x01, CR}), Bytes{0x00});
    EXPECT_EQ(transact(h, {'4', 0xB8, 0x21, CR}), (Bytes{0x00, 0xA0}));  // 5.0 V on page 1
    EXPECT_EQ(transact(h, {'D', 0xB8, 0x00, CR}), Bytes{0x01});
    EXPECT_EQ(transact(h, {'1', 0xB8, 0x03, CR}), Bytes{0x00});  // CLEAR_FAULTS
    EXPECT_EQ(transact(h, {'D', 0xB8, 0x78, CR}), Bytes{0x00});
    EXPECT_EQ(transact(h, {'C', 0xB8, 0x00, 0x00, CR}), Bytes{0x00});
    EXPECT_EQ(transact(h, {'D', 0xB8, 0x78, CR}), Bytes{0x41});  // page 0 keeps its status
    RL_Close(h);
}

TEST_F(BoardTest, RegistersSetByTheTestAreRead) {
    ASSERT_EQ(RLSIM_SetRegister(kBoardIndex, 0x16, 0x09, -1, 11000), 0);
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), (Bytes{0xF8, 0x2A}));
    EXPECT_EQ(transact(h, {'3', 0x16, 0x01, 0x10, 0x02, CR}), Bytes{0x00});
    uint32_t v = 0;
    ASSERT_EQ(RLSIM_GetRegister(kBoardIndex, 0x16, 0x01, -1, &v), 0);
    EXPECT_EQ(v, 0x0210u);
    EXPECT_EQ(RLSIM_GetRegister(kBoardIndex, 0x50, 0x01, -1, &v), -1);
    EXPECT_EQ(RLSIM_GetRegister(1, 0x16, 0x01, -1, &v), -1);           // a chip has no bus
    EXPECT_EQ(RLSIM_SetRegister(kBoardIndex, 0x16, 0x20, -1, 1), -1);  // a block
    RL_Close(h);
}

struct LinkCase {
    const char* name;
    uint32_t baud;
    uint8_t bits, stop, parity;
    uint16_t flow;
};

class WrongLinkTest : public SimTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(WrongLinkTest, FramesAreGarbageToTheBoard) {
    const LinkCase& c = GetParam();
    RL_HANDLE h = open_index(kBoardIndex);
    ASSERT_EQ(RL_SetBaudRate(h, c.baud), RL_OK);
    ASSERT_EQ(RL_SetDataCharacteristics(h, c.bits, c.stop, c.parity), RL_OK);
    ASSERT_EQ(RL_SetFlowControl(h, c.flow, 0, 0), RL_OK);
    ASSERT_EQ(RL_SetTimeouts(h, 500, 500), RL_OK);
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), Bytes{});
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{});
    // The same link set right understands the next frame.
    configure_link(h, 19534);
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), (Bytes{0x34, 0x30}));
    RL_Close(h);
}

INSTANTIATE_TEST_SUITE_P(Settings, WrongLinkTest,
                         ::testing::Values(LinkCase{"Baud19200", 19200, 8, 0, 0, RL_FLOW_RTS_CTS},
                                           LinkCase{"Baud9600", 9600, 8, 0, 0, RL_FLOW_RTS_CTS},
                                           LinkCase{"MonitorBaud", 1200000, 8, 0, 0,
                                                    RL_FLOW_RTS_CTS},
                                           LinkCase{"SevenBits", 19534, 7, 0, 0, RL_FLOW_RTS_CTS},
                                           LinkCase{"TwoStopBits", 19534, 8, 2, 0, RL_FLOW_RTS_CTS},
                                           LinkCase{"EvenParity", 19534, 8, 0, 2, RL_FLOW_RTS_CTS},
                                           LinkCase{"NoFlowControl", 19534, 8, 0, 0, RL_FLOW_NONE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardTest, LinkAsOpenedIsNotTheCommandLink) {
    RL_HANDLE h = open_index(kBoardIndex);
    ASSERT_EQ(RL_SetTimeouts(h, 500, 500), RL_OK);
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{});
    RL_Close(h);
}

struct FirmwareCase {
    int firmware;
    Bytes reply;
};

class FirmwareTest : public SimTest, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(FirmwareTest, VersionQueriesAnswerTheWorldsByte) {
    const std::string world = "board b\n serial B1\n firmware " +
                              std::to_string(GetParam().firmware) + "\n device 0x16 battery\n";
    load(world.c_str());
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, {'V', CR}), GetParam().reply);
    EXPECT_EQ(transact(h, {'W', CR}), GetParam().reply);
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), (Bytes{0x34, 0x30}));  // other frames still work
    RL_Close(h);
}

INSTANTIATE_TEST_SUITE_P(Bytes, FirmwareTest,
                         ::testing::Values(FirmwareCase{0, {}}, FirmwareCase{2, {2}},
                                           FirmwareCase{3, {3}}, FirmwareCase{0x41, {0x41}}));

TEST_F(BoardTest, ReplyTakesItsWireTimeAtTheBaudRate) {
    RL_HANDLE h = open_command_link();
    const uint64_t t0 = RLSIM_NowMicros();
    write_bytes(h, {'4', 0x16, 0x09, CR});
    uint32_t queued = 99;
    ASSERT_EQ(RL_GetQueueStatus(h, &queued), RL_OK);
    EXPECT_EQ(queued, 0u);  // nothing yet: the frame is still on the wire
    uint8_t reply[2] = {};
    uint32_t n = 0;
    ASSERT_EQ(RL_Read(h, reply, 2, &n), RL_OK);
    EXPECT_EQ(n, 2u);
    const uint64_t took = RLSIM_NowMicros() - t0;
    // Six bytes of 10 bits at 19,534 baud are 3.07 ms; the bus transaction adds its own.
    EXPECT_GE(took, 3000u);
    EXPECT_LT(took, 10000u);
    RL_Close(h);
}

TEST_F(BoardTest, UnansweredReadTimesOutOnTheVirtualClock) {
    RL_HANDLE h = open_command_link();
    write_bytes(h, {'4', 0x50, 0x09, CR});
    const uint64_t t0 = RLSIM_NowMicros();
    uint8_t b = 0;
    uint32_t n = 7;
    ASSERT_EQ(RL_Read(h, &b, 1, &n), RL_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(RLSIM_NowMicros() - t0, 500000u);
    RL_Close(h);
}

TEST_F(BoardTest, WriteLogHoldsOneLinePerWrite) {
    RL_HANDLE h = open_command_link();
    write_bytes(h, {'F', 0x16, 0x23, 0x01});
    write_bytes(h, {0xA1});
    write_bytes(h, {CR});
    uint32_t written = 1;
    ASSERT_EQ(RL_Write(h, nullptr, 0, &written), RL_OK);
    EXPECT_EQ(take_log(kBoardIndex), "46 16 23 01\nA1\n0D\n\n");
    EXPECT_EQ(take_log(kBoardIndex), "");
    write_bytes(h, {'V', CR});
    char small[6];
    EXPECT_EQ(RLSIM_TakeWriteLog(kBoardIndex, small, sizeof small), 6u);
    EXPECT_STREQ(small, "56 0D");
    RL_Close(h);
}

TEST_F(BoardTest, HalfFrameIsDroppedAfterAPause) {
    RL_HANDLE h = open_command_link();
    write_bytes(h, {'4', 0x16});  // the rest is lost
    RLSIM_AdvanceMicros(100000);
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), (Bytes{0x34, 0x30}));
    RL_Close(h);
}

TEST_F(BoardTest, BoardKeepsItsStateAcrossCloseAndOpen) {
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, {'3', 0x16, 0x01, 0x99, 0x00, CR}), Bytes{0x00});
    RL_Close(h);
    h = open_command_link();
    EXPECT_EQ(transact(h, {'4', 0x16, 0x01, CR}), (Bytes{0x99, 0x00}));
    RL_Close(h);
}

}  // namespace
}  // namespace rawlnk_test
