// Monitor mode: "M" CR on the command link, the event stream on the link re-opened at
// 1,200,000 baud, ten "N" to leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "sim_fixture.h"
#include "win/tests/temp_dir.h"

namespace rawlnk_test {
namespace {

constexpr uint32_t kMonitorBaud = 1200000;
// "M" CR takes two bytes' time at 19,534 baud to reach the board; the stream starts then.
constexpr uint64_t kStreamBegins = 1100;

class MonitorTest : public SimTest {
  protected:
    // Sends "M" CR on the command link and re-opens the board as the monitor link.
    RL_HANDLE enter_monitor() {
        RL_HANDLE h = open_command_link();
        write_bytes(h, {'M', CR});
        RL_Close(h);
        h = open_index(kBoardIndex);
        configure_link(h, kMonitorBaud);
        return h;
    }
    std::string drain(RL_HANDLE h) {
        uint32_t queued = 0;
        EXPECT_EQ(RL_GetQueueStatus(h, &queued), RL_OK);
        std::string s(queued, '\0');
        uint32_t n = 0;
        if (queued) {
            EXPECT_EQ(RL_Read(h, s.data(), queued, &n), RL_OK);
        }
        s.resize(n);
        return s;
    }
    void leave(RL_HANDLE h) { write_bytes(h, Bytes(10, 'N')); }
};

TEST_F(MonitorTest, DefaultTrafficPollsBatteryAndPmbusDevice) {
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(1000000);
    const std::string s = drain(h);
    // Read Word of Voltage: address, command, repeated start, address with the read bit,
    // 0x34 and 0x30 driven by the battery ('@' for its 1 bits), the host's NACK, stop.
    const std::string voltage =
        "S000101100000010010R000101110"
        "00@@0@000"
        "00@@00001P";
    EXPECT_EQ(s.substr(0, voltage.size()), voltage);
    EXPECT_EQ(std::count(s.begin(), s.end(), 'S'), 10);  // ten polls a second
    EXPECT_EQ(std::count(s.begin(), s.end(), 'P'), 10);
    // The second poll goes to the PMBus device at 0xB8 (READ_VOUT).
    EXPECT_NE(s.find("S101110000100010110R101110010"), std::string::npos);
    RL_Close(h);
}

TEST_F(MonitorTest, TrafficFollowsTheRegisters) {
    ASSERT_EQ(RLSIM_SetRegister(kBoardIndex, 0x16, 0x09, -1, 0xFFFF), 0);
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(50000);
    EXPECT_NE(drain(h).find("R000101110@@@@@@@@0@@@@@@@@1P"), std::string::npos);
    RL_Close(h);
}

constexpr const char* kReplayWorld = R"(board b
  serial B1
  traffic replay events "S 0101 0101 0 P" rate 120000
)";

TEST_F(MonitorTest, ReplayArrivesAtTheSetRate) {
    load(kReplayWorld);
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(kStreamBegins);
    std::string first = drain(h);
    size_t total = 0;
    for (int ms = 0; ms < 1000; ++ms) {
        RLSIM_AdvanceMicros(1000);
        const std::string chunk = drain(h);
        EXPECT_LE(chunk.size(), 121u);
        if (first.size() < 20) first += chunk;
        total += chunk.size();
    }
    EXPECT_NEAR(static_cast<double>(total), 120000.0, 3.0);
    EXPECT_EQ(first.substr(0, 20), "S010101010PS01010101");  // blanks of the text are dropped
    RL_Close(h);
}

TEST_F(MonitorTest, SlowerRateFromAFile) {
    const platform::win::testing::TempDir dir;
    const std::string path = dir / "replay.txt";
    std::ofstream(path) << "S00000000\n0P\n";
    const std::string world =
        "board b\n serial B1\n traffic replay file \"" + path + "\" rate 1000\n";
    load(world.c_str());
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(kStreamBegins);
    RLSIM_AdvanceMicros(100000);
    const std::string s = drain(h);
    EXPECT_EQ(s.size(), 101u);  // one a millisecond, both ends included
    std::string expected;
    while (expected.size() < s.size()) expected += "S000000000P";
    EXPECT_EQ(s, expected.substr(0, s.size()));
    RL_Close(h);
}

TEST_F(MonitorTest, ReadWaitsForTheStreamOnTheVirtualClock) {
    load(kReplayWorld);
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(kStreamBegins);
    drain(h);
    const uint64_t t0 = RLSIM_NowMicros();
    std::string buf(1200, '\0');
    uint32_t n = 0;
    ASSERT_EQ(RL_Read(h, buf.data(), 1200, &n), RL_OK);
    EXPECT_EQ(n, 1200u);
    const uint64_t took = RLSIM_NowMicros() - t0;
    EXPECT_GE(took, 9900u);  // 1200 characters at 120,000 a second
    EXPECT_LE(took, 10100u);
    RL_Close(h);
}

TEST_F(MonitorTest, TenNLeaveMonitorMode) {
    load(kReplayWorld);
    RL_HANDLE h = enter_monitor();
    write_bytes(h, Bytes(9, 'N'));
    write_bytes(h, {'x', 'N'});  // another byte starts the count again
    RLSIM_AdvanceMicros(kStreamBegins);
    EXPECT_GT(drain(h).size(), 0u);
    leave(h);
    RLSIM_AdvanceMicros(1000);
    ASSERT_EQ(RL_Purge(h, RL_PURGE_RX), RL_OK);
    RLSIM_AdvanceMicros(100000);
    EXPECT_EQ(drain(h), "");
    RL_Close(h);
    h = open_command_link();
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{3});
    RL_Close(h);
}

TEST_F(MonitorTest, NothingArrivesOffTheMonitorLink) {
    load(kReplayWorld);
    RL_HANDLE h = open_command_link();
    write_bytes(h, {'M', CR});
    RLSIM_AdvanceMicros(100000);
    EXPECT_EQ(drain(h), "");  // still at 19,534 baud
    ASSERT_EQ(RL_SetBaudRate(h, kMonitorBaud), RL_OK);
    RLSIM_AdvanceMicros(1000);
    EXPECT_NEAR(static_cast<double>(drain(h).size()), 120.0, 2.0);
    RL_Close(h);
    // While nobody has the link open nothing piles up.
    RLSIM_AdvanceMicros(100000);
    h = open_index(kBoardIndex);
    configure_link(h, kMonitorBaud);
    EXPECT_EQ(drain(h), "");
    RL_Close(h);
}

TEST_F(MonitorTest, UnreadStreamIsBoundedByTheQueue) {
    load(kReplayWorld);
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(10000000);
    uint32_t queued = 0;
    ASSERT_EQ(RL_GetQueueStatus(h, &queued), RL_OK);
    EXPECT_EQ(queued, 60000u);
    RL_Close(h);
}

TEST_F(MonitorTest, PurgeEmptiesWhatArrivedBeforeIt) {
    load(kReplayWorld);
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(250000);  // the capture's set-up wait, nothing read meanwhile
    ASSERT_EQ(RL_Purge(h, RL_PURGE_RX | RL_PURGE_TX), RL_OK);
    uint32_t queued = 1;
    ASSERT_EQ(RL_GetQueueStatus(h, &queued), RL_OK);
    EXPECT_EQ(queued, 0u);
    RL_Close(h);
}

TEST_F(MonitorTest, NoTrafficWorldIsSilent) {
    load("board b\n serial B1\n traffic none\n");
    RL_HANDLE h = enter_monitor();
    RLSIM_AdvanceMicros(1000000);
    EXPECT_EQ(drain(h), "");
    leave(h);
    RL_Close(h);
}

}  // namespace
}  // namespace rawlnk_test
