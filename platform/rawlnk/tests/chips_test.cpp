// Bridge chips as the programmer meets them: enumeration, type codes, EEPROM access with
// the parts' address wrap-around, erase, and the identity a programmed image gives.
#include <gtest/gtest.h>

#include <cstring>

#include "sim_fixture.h"
#include "win/tests/temp_dir.h"

namespace rawlnk_test {
namespace {

std::string list_text(int index, uint32_t what) {
    char buf[64];
    std::memset(buf, 'x', sizeof buf);
    if (RL_ListDevices(reinterpret_cast<void*>(static_cast<uintptr_t>(index)), buf,
                       RL_LIST_BY_INDEX | what) != RL_OK)
        return "<error>";
    return buf;
}

uint32_t device_count() {
    uint32_t n = 0;
    EXPECT_EQ(RL_ListDevices(&n, nullptr, RL_LIST_NUMBER_ONLY), RL_OK);
    return n;
}

class ChipTest : public SimTest {
  protected:
    uint16_t read_ee(RL_HANDLE h, uint32_t word) {
        uint16_t v = 0;
        EXPECT_EQ(RL_ReadEE(h, word, &v), RL_OK);
        return v;
    }
    // The programmer's size probe: erase, write 0x00C0 at 192, see where it shows.
    std::string probe(RL_HANDLE h) {
        EXPECT_EQ(RL_EraseEE(h), RL_OK);
        EXPECT_EQ(RL_WriteEE(h, 192, 0x00C0), RL_OK);
        if (read_ee(h, 0) == 0x00C0) return "93C46";
        if (read_ee(h, 64) == 0x00C0) return "93C56";
        if (read_ee(h, 192) == 0x00C0) return "93C66";
        return "Unknown";
    }
};

TEST_F(ChipTest, DefaultWorldListsBoardAndChipsByChannel) {
    ASSERT_EQ(device_count(), 5u);
    const char* descriptions[] = {"ZOQ ONBOARD RS232 CNTLR", "Tessel-2U", "Tessel-3D Adapter A",
                                  "Tessel-3D Adapter B", "Tessel-4U"};
    const char* serials[] = {"ZQ000001", "", "KD3A0001A", "KD3A0001B", ""};
    const uint32_t types[] = {0, 0, 4, 4, 5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list_text(i, RL_LIST_DESCRIPTION), descriptions[i]);
        EXPECT_EQ(list_text(i, RL_LIST_SERIAL_NUMBER), serials[i]);
        RL_HANDLE h = open_index(i);
        uint32_t type = 99, id = 0;
        char serial[64], description[64];
        ASSERT_EQ(RL_GetDeviceInfo(h, &type, &id, serial, description, nullptr), RL_OK);
        EXPECT_EQ(type, types[i]);
        EXPECT_STREQ(description, descriptions[i]);
        EXPECT_STREQ(serial, serials[i]);
        EXPECT_EQ(id >> 16, 0x4B1Du);
        RL_Close(h);
    }
}

TEST_F(ChipTest, QuadChipShowsAsFourDevices) {
    load(
        "chip q\n kind 7\n serial Q1\n description \"Quad\"\n eeprom 256\n image programmed\n"
        "chip h\n kind hs-dual\n eeprom 128\n");
    ASSERT_EQ(device_count(), 6u);
    EXPECT_EQ(list_text(0, RL_LIST_DESCRIPTION), "Quad A");
    EXPECT_EQ(list_text(3, RL_LIST_DESCRIPTION), "Quad D");
    EXPECT_EQ(list_text(3, RL_LIST_SERIAL_NUMBER), "Q1D");
    EXPECT_EQ(list_text(4, RL_LIST_DESCRIPTION), "Tessel-5D A");
    EXPECT_EQ(list_text(5, RL_LIST_DESCRIPTION), "Tessel-5D B");
    EXPECT_EQ(list_text(6, RL_LIST_DESCRIPTION), "<error>");
    // Every channel reaches the one EEPROM of its chip.
    RL_HANDLE a = open_index(0), d = open_index(3);
    ASSERT_EQ(RL_WriteEE(a, 200, 0x1234), RL_OK);
    EXPECT_EQ(read_ee(d, 200), 0x1234);
    RL_Close(a);
    RL_Close(d);
}

struct SizeCase {
    int words;
    const char* probe;
    uint32_t alias_of_192;
};

class WrapTest : public ChipTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(WrapTest, PartIgnoresAddressBitsAboveItsSize) {
    const std::string world =
        "chip c\n kind gen2\n eeprom " + std::to_string(GetParam().words) + "\n";
    load(world.c_str());
    RL_HANDLE h = open_index(0);
    EXPECT_EQ(probe(h), GetParam().probe);
    EXPECT_EQ(read_ee(h, GetParam().alias_of_192), 0x00C0);
    ASSERT_EQ(RL_WriteEE(h, 255, 0xBEEF), RL_OK);
    EXPECT_EQ(read_ee(h, 255 & (GetParam().words - 1)), 0xBEEF);
    uint16_t v = 0;
    EXPECT_EQ(RL_ReadEE(h, 256, &v), RL_INVALID_PARAMETER);
    EXPECT_EQ(RL_WriteEE(h, 1000, 1), RL_INVALID_PARAMETER);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    for (uint32_t w = 0; w < 256; ++w) ASSERT_EQ(read_ee(h, w), 0xFFFF) << w;
    RL_Close(h);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WrapTest,
                         ::testing::Values(SizeCase{64, "93C46", 0}, SizeCase{128, "93C56", 64},
                                           SizeCase{256, "93C66", 192}));

TEST_F(ChipTest, FourthGenerationKeepsItsUpperType) {
    RL_HANDLE h = open_index(4);
    EXPECT_EQ(read_ee(h, 0), 0xFFFF);  // blank
    const uint16_t type = read_ee(h, 64);
    EXPECT_EQ(read_ee(h, 65), static_cast<uint16_t>(~type));
    EXPECT_EQ(read_ee(h, 66) & 1, 0);  // the UART model
    ASSERT_EQ(RL_WriteEE(h, 3, 0x1111), RL_OK);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    EXPECT_EQ(read_ee(h, 3), 0xFFFF);
    EXPECT_EQ(read_ee(h, 64), type);  // the factory words survive an erase
    RL_Close(h);
    load("chip f\n kind gen4\n model fifo\n");
    h = open_index(0);
    EXPECT_EQ(read_ee(h, 66) & 1, 1);
    RL_Close(h);
}

TEST_F(ChipTest, ChipWithoutEepromSaysSo) {
    load("chip n\n kind gen1\n eeprom none\n");
    RL_HANDLE h = open_index(0);
    uint16_t v = 0;
    EXPECT_EQ(RL_ReadEE(h, 0, &v), RL_EEPROM_NOT_PRESENT);
    EXPECT_EQ(RL_WriteEE(h, 0, 0), RL_EEPROM_NOT_PRESENT);
    EXPECT_EQ(RL_EraseEE(h), RL_EEPROM_NOT_PRESENT);
    EXPECT_EQ(RLSIM_PeekEE(0, 0, &v), -1);
    RL_Close(h);
}

// Writes the image of a second-generation chip (64 words) the way the programmer builds it:
// string descriptors from byte 0x14 on, pointers with bit 7 set, checksum in word 63.
void program_gen2(RL_HANDLE h, const std::string& manufacturer, const std::string& description,
                  const std::string& serial) {
    std::vector<uint16_t> img(64, 0);
    img[1] = 0x4B1D;
    img[2] = 0xE001;
    img[3] = 0x0400;
    img[4] = 0x2D80;
    img[5] = 0x0008;
    img[6] = 0x0200;
    int start = 0x14;
    int p = 7;
    for (const std::string* t : {&manufacturer, &description, &serial}) {
        const int n = static_cast<int>(t->size());
        img[static_cast<size_t>(start / 2)] = static_cast<uint16_t>(0x0300 | (2 * n + 2));
        for (int i = 0; i < n; ++i)
            img[static_cast<size_t>(start / 2 + 1 + i)] =
                static_cast<uint8_t>((*t)[static_cast<size_t>(i)]);
        img[static_cast<size_t>(p++)] = static_cast<uint16_t>(((2 * n + 2) << 8) | start | 0x80);
        start += 2 * n + 2;
    }
    uint16_t c = 0xAAAA;
    for (int i = 0; i < 63; ++i) {
        c ^= img[static_cast<size_t>(i)];
        c = static_cast<uint16_t>((c << 1) | (c >> 15));
    }
    img[63] = c;
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    for (uint32_t i = 0; i < 64; ++i) ASSERT_EQ(RL_WriteEE(h, i, img[i]), RL_OK);
}

TEST_F(ChipTest, ProgrammedDescriptionShowsAfterAPortCycle) {
    RL_HANDLE h = open_index(1);  // the blank second-generation chip
    program_gen2(h, "ZOQ", "ZOQ ONBOARD RS232 CNTLR", "ZQ000777");
    EXPECT_EQ(list_text(1, RL_LIST_DESCRIPTION), "Tessel-2U");  // not before it enumerates
    ASSERT_EQ(RL_CyclePort(h), RL_OK);
    EXPECT_EQ(list_text(1, RL_LIST_DESCRIPTION), "ZOQ ONBOARD RS232 CNTLR");
    EXPECT_EQ(list_text(1, RL_LIST_SERIAL_NUMBER), "ZQ000777");
    ASSERT_EQ(RL_Close(h), RL_OK);
    // It is a device the console can find and open by its serial number; with no
    // controller behind it, it answers no frame.
    ASSERT_EQ(RL_OpenEx(const_cast<char*>("ZQ000777"), RL_OPEN_BY_SERIAL_NUMBER, &h), RL_OK);
    configure_link(h, 19534);
    EXPECT_EQ(transact(h, {'V', CR}), Bytes{});
    RL_Close(h);
}

TEST_F(ChipTest, ProgrammedDescriptionShowsWhenTheWorldLoadsAgain) {
    const platform::win::testing::TempDir dir;
    RLSIM_SetStateDir(dir.path().c_str());
    RLSIM_LoadDefaultWorld();
    RL_HANDLE h = open_index(1);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);  // a clean start whatever an earlier run left
    program_gen2(h, "ACME", "Bench Adapter", "BA01");
    RL_Close(h);
    RLSIM_ReloadWorld();
    EXPECT_EQ(list_text(1, RL_LIST_DESCRIPTION), "Bench Adapter");
    EXPECT_EQ(list_text(1, RL_LIST_SERIAL_NUMBER), "BA01");
    // Erased, the chip shows its factory texts again at the next enumeration.
    h = open_index(1);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    ASSERT_EQ(RL_CyclePort(h), RL_OK);
    EXPECT_EQ(list_text(1, RL_LIST_DESCRIPTION), "Tessel-2U");
    RL_Close(h);
    RLSIM_SetStateDir(nullptr);
}

TEST_F(ChipTest, BrokenChecksumGivesNoDescription) {
    RL_HANDLE h = open_index(1);
    program_gen2(h, "ZOQ", "Wrong Sum", "S1");
    uint16_t last = read_ee(h, 63);
    ASSERT_EQ(RL_WriteEE(h, 63, static_cast<uint16_t>(last ^ 1)), RL_OK);
    ASSERT_EQ(RL_CyclePort(h), RL_OK);
    EXPECT_EQ(list_text(1, RL_LIST_DESCRIPTION), "Tessel-2U");
    RL_Close(h);
}

TEST_F(ChipTest, ErasingTheBoardHidesIt) {
    RL_HANDLE h = open_index(kBoardIndex);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    ASSERT_EQ(RL_CyclePort(h), RL_OK);
    EXPECT_EQ(list_text(kBoardIndex, RL_LIST_DESCRIPTION), "Tessel-2U");
    uint16_t v = 0;
    ASSERT_EQ(RLSIM_PeekEE(kBoardIndex, 0, &v), 0);
    EXPECT_EQ(v, 0xFFFF);
    RL_Close(h);
}

TEST_F(ChipTest, LatencyTimerAcceptsAByte) {
    RL_HANDLE h = open_index(4);
    EXPECT_EQ(RL_SetLatencyTimer(h, 0x77), RL_OK);
    EXPECT_EQ(RL_SetLatencyTimer(h, 2), RL_OK);
    RL_Close(h);
}

}  // namespace
}  // namespace rawlnk_test
