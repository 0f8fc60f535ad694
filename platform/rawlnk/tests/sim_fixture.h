// Helpers of the simulator tests: a world on the virtual clock, links set up as the
// programs set them, and one request with its reply.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rawlnk.h"
#include "rawlnk_sim.h"

namespace rawlnk_test {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t CR = 13;
inline constexpr int kBoardIndex = 0;  // the built-in world lists its board first

inline void configure_link(RL_HANDLE h, uint32_t baud) {
    ASSERT_EQ(RL_SetBaudRate(h, baud), RL_OK);
    ASSERT_EQ(RL_SetDataCharacteristics(h, RL_BITS_8, RL_STOP_BITS_1, RL_PARITY_NONE), RL_OK);
    ASSERT_EQ(RL_SetFlowControl(h, RL_FLOW_RTS_CTS, 0, 0), RL_OK);
    ASSERT_EQ(RL_SetTimeouts(h, 500, 500), RL_OK);
}

inline void write_bytes(RL_HANDLE h, const Bytes& bytes) {
    uint32_t written = 0;
    ASSERT_EQ(RL_Write(h, bytes.data(), static_cast<uint32_t>(bytes.size()), &written), RL_OK);
    ASSERT_EQ(written, bytes.size());
}

// Reads one byte at a time, as the console does, until a read times out or `most` came.
inline Bytes read_reply(RL_HANDLE h, size_t most = 300) {
    Bytes reply;
    while (reply.size() < most) {
        uint8_t b = 0;
        uint32_t n = 0;
        const RL_STATUS s = RL_Read(h, &b, 1, &n);
        if ((s != RL_OK && s != RL_IO_ERROR) || n == 0) break;
        reply.push_back(b);
    }
    return reply;
}

inline std::string take_log(int device) {
    std::string log(RLSIM_TakeWriteLog(device, nullptr, 0) + 1, '\0');
    RLSIM_TakeWriteLog(device, log.data(), log.size());
    log.resize(log.size() - 1);
    return log;
}

// A world on the virtual clock with a private state folder.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RLSIM_SetStateDir(nullptr);
        RLSIM_UseVirtualClock(1);
        RLSIM_LoadDefaultWorld();
    }
    void TearDown() override {
        RLSIM_ClearFaults();
        RLSIM_LoadDefaultWorld();
    }
    void load(const char* world) { ASSERT_EQ(RLSIM_LoadWorldText(world), 0) << RLSIM_LastError(); }

    RL_HANDLE open_index(int index) {
        RL_HANDLE h = nullptr;
        EXPECT_EQ(RL_Open(index, &h), RL_OK);
        return h;
    }
    // The board at `index` on the command link, its queues purged.
    RL_HANDLE open_command_link(int index = kBoardIndex) {
        RL_HANDLE h = open_index(index);
        configure_link(h, 19534);
        EXPECT_EQ(RL_Purge(h, RL_PURGE_RX | RL_PURGE_TX), RL_OK);
        return h;
    }
    Bytes transact(RL_HANDLE h, const Bytes& frame) {
        write_bytes(h, frame);
        return read_reply(h);
    }
};

}  // namespace rawlnk_test
