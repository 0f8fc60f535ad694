// Bad calls return a status and never crash; faults a test injects act as announced.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "sim_fixture.h"

namespace rawlnk_test {
namespace {

class ApiTest : public SimTest {};

void* as_index(uintptr_t i) {
    return reinterpret_cast<void*>(i);
}

TEST_F(ApiTest, ListCallsCheckTheirArguments) {
    char buf[64];
    EXPECT_EQ(RL_ListDevices(nullptr, nullptr, RL_LIST_NUMBER_ONLY), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_ListDevices(as_index(0), nullptr, RL_LIST_BY_INDEX | RL_LIST_DESCRIPTION),
              RL_INVALID_PARAMETER);
    for (uint32_t flags : {0u, 0x1234u, RL_LIST_BY_INDEX, RL_LIST_BY_INDEX | 3u,
                           RL_LIST_DESCRIPTION, RL_LIST_NUMBER_ONLY | RL_LIST_BY_INDEX})
        EXPECT_EQ(RL_ListDevices(as_index(0), buf, flags), RL_INVALID_PARAMETER) << flags;
    for (uintptr_t index : {uintptr_t{5}, uintptr_t{1000}, ~uintptr_t{0}})
        EXPECT_EQ(RL_ListDevices(as_index(index), buf, RL_LIST_BY_INDEX | RL_LIST_SERIAL_NUMBER),
                  RL_DEVICE_NOT_FOUND);
}

TEST_F(ApiTest, OpenCallsCheckTheirArguments) {
    RL_HANDLE h = reinterpret_cast<RL_HANDLE>(0x1);
    char serial[] = "ZQ000001";
    EXPECT_EQ(RL_OpenEx(serial, RL_OPEN_BY_SERIAL_NUMBER, nullptr), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_OpenEx(nullptr, RL_OPEN_BY_SERIAL_NUMBER, &h), RL_INVALID_PARAMETER);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(RL_OpenEx(serial, 2, &h), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_OpenEx(const_cast<char*>("NOSUCH"), RL_OPEN_BY_SERIAL_NUMBER, &h),
              RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_OpenEx(const_cast<char*>(""), RL_OPEN_BY_SERIAL_NUMBER, &h), RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_Open(-1, &h), RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_Open(5, &h), RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_Open(0, nullptr), RL_INVALID_PARAMETER);
}

TEST_F(ApiTest, DeviceOpensOnlyOnce) {
    RL_HANDLE a = nullptr, b = nullptr;
    ASSERT_EQ(RL_OpenEx(const_cast<char*>("ZQ000001"), RL_OPEN_BY_SERIAL_NUMBER, &a), RL_OK);
    EXPECT_EQ(RL_Open(0, &b), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(RL_OpenEx(const_cast<char*>("ZQ000001"), RL_OPEN_BY_SERIAL_NUMBER, &b),
              RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(RLSIM_IsOpen(0), 1);
    ASSERT_EQ(RL_Close(a), RL_OK);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
    EXPECT_EQ(RL_Close(a), RL_INVALID_HANDLE);
    ASSERT_EQ(RL_Open(0, &b), RL_OK);
    EXPECT_NE(a, b);  // handles are never given out twice
    RL_Close(b);
}

// Every call that takes a handle, with harmless arguments.
const std::vector<std::pair<const char*, std::function<RL_STATUS(RL_HANDLE)>>> kHandleCalls = {
    {"Close", [](RL_HANDLE h) { return RL_Close(h); }},
    {"SetBaudRate", [](RL_HANDLE h) { return RL_SetBaudRate(h, 19534); }},
    {"SetDataCharacteristics", [](RL_HANDLE h) { return RL_SetDataCharacteristics(h, 8, 0, 0); }},
    {"SetFlowControl", [](RL_HANDLE h) { return RL_SetFlowControl(h, RL_FLOW_RTS_CTS, 0, 0); }},
    {"SetTimeouts", [](RL_HANDLE h) { return RL_SetTimeouts(h, 500, 500); }},
    {"Purge", [](RL_HANDLE h) { return RL_Purge(h, 3); }},
    {"ResetDevice", [](RL_HANDLE h) { return RL_ResetDevice(h); }},
    {"Write",
     [](RL_HANDLE h) {
         uint32_t n;
         return RL_Write(h, "V\r", 2, &n);
     }},
    {"Read",
     [](RL_HANDLE h) {
         uint8_t b;
         uint32_t n;
         return RL_Read(h, &b, 1, &n);
     }},
    {"GetQueueStatus",
     [](RL_HANDLE h) {
         uint32_t n;
         return RL_GetQueueStatus(h, &n);
     }},
    {"GetDeviceInfo",
     [](RL_HANDLE h) {
         uint32_t t, i;
         return RL_GetDeviceInfo(h, &t, &i, nullptr, nullptr, nullptr);
     }},
    {"SetLatencyTimer", [](RL_HANDLE h) { return RL_SetLatencyTimer(h, 16); }},
    {"ReadEE",
     [](RL_HANDLE h) {
         uint16_t v;
         return RL_ReadEE(h, 0, &v);
     }},
    {"WriteEE", [](RL_HANDLE h) { return RL_WriteEE(h, 0, 0); }},
    {"EraseEE", [](RL_HANDLE h) { return RL_EraseEE(h); }},
    {"CyclePort", [](RL_HANDLE h) { return RL_CyclePort(h); }},
};

TEST_F(ApiTest, HandlesNotGivenOutOrClosedAreRefused) {
    RL_HANDLE closed = open_index(1);
    ASSERT_EQ(RL_Close(closed), RL_OK);
    int local = 0;
    const RL_HANDLE bad[] = {nullptr, closed, &local, reinterpret_cast<RL_HANDLE>(~uintptr_t{0}),
                             reinterpret_cast<RL_HANDLE>(0x1)};
    for (const auto& [name, call] : kHandleCalls)
        for (RL_HANDLE h : bad) EXPECT_EQ(call(h), RL_INVALID_HANDLE) << name << " " << h;
}

TEST_F(ApiTest, LinkCallsCheckTheirValues) {
    RL_HANDLE h = open_command_link();
    uint32_t n = 99;
    uint8_t b = 0;
    EXPECT_EQ(RL_SetBaudRate(h, 0), RL_INVALID_BAUD_RATE);
    EXPECT_EQ(RL_SetBaudRate(h, 50'000'000), RL_INVALID_BAUD_RATE);
    EXPECT_EQ(RL_SetDataCharacteristics(h, 9, 0, 0), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_SetDataCharacteristics(h, 8, 1, 0), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_SetDataCharacteristics(h, 8, 0, 5), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_SetFlowControl(h, 0x1234, 0, 0), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_Purge(h, 0), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_Purge(h, 4), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_Write(h, "V\r", 2, nullptr), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_Write(h, nullptr, 2, &n), RL_INVALID_PARAMETER);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(RL_Read(h, &b, 1, nullptr), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_Read(h, nullptr, 1, &n), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_GetQueueStatus(h, nullptr), RL_INVALID_PARAMETER);
    uint16_t v = 0;
    EXPECT_EQ(RL_ReadEE(h, 0, nullptr), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_ReadEE(h, 256, &v), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_ReadEE(h, 0xFFFFFFFF, &v), RL_INVALID_PARAMETER);
    // The settings refused left the link as it was.
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{3});
    RL_Close(h);
}

TEST_F(ApiTest, CountsOfZeroMoveNothing) {
    RL_HANDLE h = open_command_link();
    uint32_t n = 99;
    EXPECT_EQ(RL_Write(h, nullptr, 0, &n), RL_OK);
    EXPECT_EQ(n, 0u);
    const uint64_t t0 = RLSIM_NowMicros();
    n = 99;
    EXPECT_EQ(RL_Read(h, nullptr, 0, &n), RL_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(RLSIM_NowMicros(), t0);  // and waits for nothing
    RL_Close(h);
}

TEST_F(ApiTest, TextsNeverPassSixtyFourBytes) {
    const std::string long63(63, 'D');
    const std::string world = "chip d\n kind dual\n serial \"" + std::string(63, 'S') +
                              "\"\n description \"" + long63 + "\"\n";
    load(world.c_str());
    for (uint32_t what : {RL_LIST_DESCRIPTION, RL_LIST_SERIAL_NUMBER}) {
        char buf[80];
        std::memset(buf, 0x55, sizeof buf);
        ASSERT_EQ(RL_ListDevices(as_index(1), buf, RL_LIST_BY_INDEX | what), RL_OK);
        EXPECT_EQ(std::strlen(buf), 63u);
        for (size_t i = 64; i < sizeof buf; ++i) ASSERT_EQ(buf[i], 0x55) << i;
    }
    char description[80], serial[80];
    std::memset(description, 0x55, sizeof description);
    std::memset(serial, 0x55, sizeof serial);
    RL_HANDLE h = open_index(1);
    ASSERT_EQ(RL_GetDeviceInfo(h, nullptr, nullptr, serial, description, nullptr), RL_OK);
    EXPECT_EQ(std::string(description), long63.substr(0, 61) + " B");
    EXPECT_EQ(std::strlen(serial), 63u);
    EXPECT_EQ(description[64], 0x55);
    EXPECT_EQ(serial[64], 0x55);
    RL_Close(h);
}

TEST_F(ApiTest, ControlCallsRefuseWhatDoesNotExist) {
    uint32_t v = 0;
    uint16_t w = 0;
    char buf[8] = "x";
    EXPECT_EQ(RLSIM_InjectFault(99, "no_reply", 1, 0), -1);
    EXPECT_EQ(RLSIM_InjectFault(0, "no_such_fault", 1, 0), -1);
    EXPECT_EQ(RLSIM_InjectFault(0, nullptr, 1, 0), -1);
    EXPECT_EQ(RLSIM_GetRegister(0, 0x16, 0x09, -1, nullptr), -1);
    EXPECT_EQ(RLSIM_GetRegister(-1, 0x16, 0x09, -1, &v), -1);
    EXPECT_EQ(RLSIM_GetRegister(0, 0x16, 0x09, 3, &v), -1);  // the battery has no pages
    EXPECT_EQ(RLSIM_PeekEE(0, 256, &w), -1);
    EXPECT_EQ(RLSIM_PeekEE(0, 0, nullptr), -1);
    EXPECT_EQ(RLSIM_TakeWriteLog(42, buf, sizeof buf), 0u);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(RLSIM_IsOpen(42), 0);
    EXPECT_EQ(RLSIM_LoadWorldText(nullptr), -1);
    EXPECT_EQ(RLSIM_LoadWorldFile("/no/such/world.txt"), -1);
    EXPECT_NE(std::string(RLSIM_LastError()).find("/no/such/world.txt"), std::string::npos);
    EXPECT_EQ(RLSIM_LoadWorldText("chip c\n kind 9\n"), -1);
    EXPECT_EQ(std::string(RLSIM_LastError()).substr(0, 7), "line 2:");
    uint32_t count = 0;
    ASSERT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);
    EXPECT_EQ(count, 5u);  // the world stayed as it was
}

}  // namespace
}  // namespace rawlnk_test
