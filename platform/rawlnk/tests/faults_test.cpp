// Faults injected per device act on the calls they name, for as many calls as asked.
#include <gtest/gtest.h>

#include <cstring>

#include "sim_fixture.h"

namespace rawlnk_test {
namespace {

class FaultTest : public SimTest {};

void* as_index(uintptr_t i) {
    return reinterpret_cast<void*>(i);
}

const Bytes kVoltage = {'4', 0x16, 0x09, CR};
const Bytes kVoltageReply = {0x34, 0x30};

TEST_F(FaultTest, NoReplyForTheCountedFrames) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "no_reply", 2, 0), 0);
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, kVoltage), Bytes{});
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{});
    EXPECT_EQ(transact(h, kVoltage), kVoltageReply);
    RL_Close(h);
}

TEST_F(FaultTest, ShortReplyLosesItsLastByte) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "short_reply", 1, 0), 0);
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, kVoltage), Bytes{0x34});
    EXPECT_EQ(transact(h, {'G', 0x16, 0x22, CR}), (Bytes{4, 'L', 'I', 'O', 'N'}));
    RL_Close(h);
}

TEST_F(FaultTest, ReadStatusFourComesWithItsByte) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "read_status_4", 1, 0), 0);
    RL_HANDLE h = open_command_link();
    write_bytes(h, kVoltage);
    uint8_t b = 0;
    uint32_t n = 0;
    EXPECT_EQ(RL_Read(h, &b, 1, &n), RL_IO_ERROR);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(b, 0x34);
    EXPECT_EQ(RL_Read(h, &b, 1, &n), RL_OK);
    EXPECT_EQ(b, 0x30);
    RL_Close(h);
}

TEST_F(FaultTest, OtherReadStatusReturnsNoByte) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "read_status", 1, RL_DEVICE_NOT_OPENED), 0);
    RL_HANDLE h = open_command_link();
    write_bytes(h, kVoltage);
    uint8_t b = 0;
    uint32_t n = 9;
    EXPECT_EQ(RL_Read(h, &b, 1, &n), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(read_reply(h), kVoltageReply);  // the bytes stayed in the queue
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "read_status", 1, 0), 0);
    EXPECT_EQ(RL_Read(h, &b, 1, &n), RL_OTHER_ERROR);
    RL_Close(h);
}

TEST_F(FaultTest, FailedWriteReachesNobody) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "write_fail", 1, 0), 0);
    RL_HANDLE h = open_command_link();
    uint32_t n = 9;
    EXPECT_EQ(RL_Write(h, kVoltage.data(), 4, &n), RL_IO_ERROR);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(read_reply(h), Bytes{});
    EXPECT_EQ(take_log(kBoardIndex), "");
    EXPECT_EQ(transact(h, kVoltage), kVoltageReply);
    RL_Close(h);
}

TEST_F(FaultTest, OpenFailsOnce) {
    ASSERT_EQ(RLSIM_InjectFault(2, "open_fail", 1, 0), 0);
    RL_HANDLE h = nullptr;
    EXPECT_EQ(RL_Open(2, &h), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(RL_Open(2, &h), RL_OK);
    RL_Close(h);
}

TEST_F(FaultTest, RemovedDeviceFailsEveryLaterCall) {
    RL_HANDLE h = open_command_link();
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "removed", -1, 0), 0);
    uint32_t n = 0;
    uint8_t b = 0;
    uint16_t w = 0;
    EXPECT_EQ(RL_Write(h, kVoltage.data(), 4, &n), RL_IO_ERROR);
    EXPECT_EQ(RL_Read(h, &b, 1, &n), RL_IO_ERROR);
    EXPECT_EQ(RL_GetQueueStatus(h, &n), RL_IO_ERROR);
    EXPECT_EQ(RL_SetBaudRate(h, 19534), RL_IO_ERROR);
    EXPECT_EQ(RL_ReadEE(h, 0, &w), RL_IO_ERROR);
    EXPECT_EQ(RL_GetDeviceInfo(h, nullptr, nullptr, nullptr, nullptr, nullptr), RL_IO_ERROR);
    char buf[64];
    EXPECT_EQ(RL_ListDevices(nullptr, buf, RL_LIST_BY_INDEX | RL_LIST_DESCRIPTION),
              RL_DEVICE_NOT_FOUND);
    RL_HANDLE other = nullptr;
    EXPECT_EQ(RL_OpenEx(const_cast<char*>("ZQ000001"), RL_OPEN_BY_SERIAL_NUMBER, &other),
              RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_Close(h), RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(RL_Close(h), RL_INVALID_HANDLE);  // the handle is gone all the same
    EXPECT_EQ(RL_Open(kBoardIndex, &other), RL_DEVICE_NOT_FOUND);
    RLSIM_ClearFaults();
    EXPECT_EQ(RL_Open(kBoardIndex, &other), RL_OK);
    RL_Close(other);
}

struct EeFaultCase {
    const char* fault;
    uint32_t value;
    RL_STATUS expected;
};

class EeFaultTest : public SimTest, public ::testing::WithParamInterface<EeFaultCase> {};

TEST_P(EeFaultTest, EepromCallFailsWithItsStatus) {
    const EeFaultCase& c = GetParam();
    ASSERT_EQ(RLSIM_InjectFault(1, c.fault, 1, c.value), 0);
    RL_HANDLE h = open_index(1);
    uint16_t w = 0;
    const std::string f = c.fault;
    RL_STATUS s = RL_OK;
    if (f == "ee_read_fail") s = RL_ReadEE(h, 0, &w);
    if (f == "ee_write_fail") s = RL_WriteEE(h, 0, 0x1234);
    if (f == "ee_erase_fail") s = RL_EraseEE(h);
    if (f == "latency_fail") s = RL_SetLatencyTimer(h, 0x77);
    if (f == "cycle_fail") s = RL_CyclePort(h);
    EXPECT_EQ(s, c.expected);
    ASSERT_EQ(RLSIM_PeekEE(1, 0, &w), 0);
    EXPECT_EQ(w, 0xFFFF);  // a failed write wrote nothing
    // Only one call was asked to fail.
    EXPECT_EQ(RL_ReadEE(h, 0, &w), RL_OK);
    EXPECT_EQ(RL_WriteEE(h, 1, 1), RL_OK);
    EXPECT_EQ(RL_SetLatencyTimer(h, 16), RL_OK);
    EXPECT_EQ(RL_CyclePort(h), RL_OK);
    RL_Close(h);
}

INSTANTIATE_TEST_SUITE_P(Calls, EeFaultTest,
                         ::testing::Values(EeFaultCase{"ee_read_fail", 0, RL_EEPROM_READ_FAILED},
                                           EeFaultCase{"ee_read_fail", RL_IO_ERROR, RL_IO_ERROR},
                                           EeFaultCase{"ee_write_fail", 0, RL_EEPROM_WRITE_FAILED},
                                           EeFaultCase{"ee_erase_fail", 0, RL_EEPROM_ERASE_FAILED},
                                           EeFaultCase{"latency_fail", 0, RL_IO_ERROR},
                                           EeFaultCase{"cycle_fail", RL_OTHER_ERROR,
                                                       RL_OTHER_ERROR}));

TEST_F(FaultTest, ListFailMakesTheDeviceCountFailWhicheverDeviceHoldsIt) {
    ASSERT_EQ(RLSIM_InjectFault(2, "list_fail", 1, 0), 0);
    uint32_t count = 99;
    EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_IO_ERROR);
    EXPECT_EQ(count, 99u);  // left as it was
    char buf[64];
    EXPECT_EQ(RL_ListDevices(as_index(2), buf, RL_LIST_BY_INDEX | RL_LIST_DESCRIPTION), RL_OK);
    EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);  // once only
    EXPECT_EQ(count, 5u);

    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "list_fail", -1, RL_OTHER_ERROR), 0);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OTHER_ERROR);
    EXPECT_EQ(RL_ListDevices(nullptr, nullptr, RL_LIST_NUMBER_ONLY), RL_INVALID_PARAMETER);
    RLSIM_ClearFaults();
    EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);
}

TEST_F(FaultTest, InfoFailFillsNothingAndActsOnItsDeviceOnly) {
    ASSERT_EQ(RLSIM_InjectFault(1, "info_fail", 1, 0), 0);
    RL_HANDLE chip = open_index(1);
    RL_HANDLE board = open_index(kBoardIndex);
    uint32_t type = 99, id = 99;
    char serial[64] = "untouched", description[64] = "untouched";
    EXPECT_EQ(RL_GetDeviceInfo(board, &type, &id, serial, description, nullptr), RL_OK);
    EXPECT_EQ(RL_GetDeviceInfo(chip, &type, &id, serial, description, nullptr), RL_IO_ERROR);
    type = id = 99;
    std::strcpy(serial, "untouched");
    std::strcpy(description, "untouched");
    EXPECT_EQ(RL_GetDeviceInfo(chip, &type, &id, serial, description, nullptr), RL_OK);
    EXPECT_EQ(type, uint32_t{RL_DEVICE_GEN2});
    EXPECT_STREQ(description, "Tessel-2U");

    ASSERT_EQ(RLSIM_InjectFault(1, "info_fail", 1, RL_DEVICE_NOT_FOUND), 0);
    type = id = 99;
    std::strcpy(serial, "untouched");
    std::strcpy(description, "untouched");
    EXPECT_EQ(RL_GetDeviceInfo(chip, &type, &id, serial, description, nullptr),
              RL_DEVICE_NOT_FOUND);
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(id, 99u);
    EXPECT_STREQ(serial, "untouched");
    EXPECT_STREQ(description, "untouched");
    RL_Close(chip);
    RL_Close(board);
}

TEST_F(FaultTest, UntilClearedAndClearing) {
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "no_reply", -1, 0), 0);
    RL_HANDLE h = open_command_link();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(transact(h, kVoltage), Bytes{});
    RLSIM_ClearFaults();
    EXPECT_EQ(transact(h, kVoltage), kVoltageReply);
    ASSERT_EQ(RLSIM_InjectFault(kBoardIndex, "no_reply", 0, 0), 0);  // zero calls: nothing
    EXPECT_EQ(transact(h, kVoltage), kVoltageReply);
    RL_Close(h);
}

TEST_F(FaultTest, WorldTextNamesFaultsByChipAndChannel) {
    load(R"(board b
  serial B1
  device 0x16 battery
chip d
  kind dual
  serial D1
fault b no_reply count 1
fault d:B open_fail
fault 1 ee_read_fail value 4
fault d info_fail count 1
fault b list_fail count 1
)");
    uint32_t count = 0;
    EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_IO_ERROR);
    EXPECT_EQ(RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);
    RL_HANDLE h = open_command_link();
    EXPECT_EQ(transact(h, kVoltage), Bytes{});
    EXPECT_EQ(transact(h, kVoltage), kVoltageReply);
    RL_Close(h);
    RL_HANDLE b = nullptr;
    EXPECT_EQ(RL_Open(2, &b), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(RL_Open(2, &b), RL_DEVICE_NOT_OPENED);  // no count: until cleared
    h = open_index(1);
    uint16_t w = 0;
    EXPECT_EQ(RL_ReadEE(h, 0, &w), RL_IO_ERROR);
    uint32_t type = 0;
    EXPECT_EQ(RL_GetDeviceInfo(h, &type, nullptr, nullptr, nullptr, nullptr), RL_IO_ERROR);
    RL_Close(h);
}

}  // namespace
}  // namespace rawlnk_test
