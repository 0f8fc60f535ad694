// The same link on the real clock: replies come after their wire time, time-outs take
// their time. Short time-outs keep the waits small.
#include <gtest/gtest.h>

#include <chrono>

#include "sim_fixture.h"

namespace rawlnk_test {
namespace {

class RealTimeTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        RLSIM_UseVirtualClock(0);
    }
    void TearDown() override {
        RLSIM_UseVirtualClock(1);
        SimTest::TearDown();
    }
};

using Clock = std::chrono::steady_clock;

TEST_F(RealTimeTest, ReplyAndTimeOutTakeRealTime) {
    RL_HANDLE h = open_command_link();
    ASSERT_EQ(RL_SetTimeouts(h, 20, 20), RL_OK);
    auto t0 = Clock::now();
    EXPECT_EQ(transact(h, {'4', 0x16, 0x09, CR}), (Bytes{0x34, 0x30}));  // ends on a time-out
    const auto with_timeout = Clock::now() - t0;
    EXPECT_GE(with_timeout, std::chrono::milliseconds(20));
    EXPECT_LT(with_timeout, std::chrono::milliseconds(500));
    write_bytes(h, {'V', CR});
    t0 = Clock::now();
    uint8_t b = 0;
    uint32_t n = 0;
    ASSERT_EQ(RL_Read(h, &b, 1, &n), RL_OK);
    EXPECT_EQ(b, 3);
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(20));  // came before the time-out
    RL_Close(h);
}

}  // namespace
}  // namespace rawlnk_test
