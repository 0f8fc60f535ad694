#include "formats/result_view.h"

#include <gtest/gtest.h>

namespace f = velmora::formats;
using f::BusMode;

namespace {

struct DecodeCase {
    BusMode mode;
    const char* main_address;
    const char* command;
    uint8_t msb, lsb;
    const char* value;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.main_address << " " << c.command;
}

std::string decode(const DecodeCase& c, std::string_view format = f::kSelectFormat,
                   std::string_view xtext = "-13") {
    auto v = f::decode_word_value({c.mode, c.main_address, c.command, format, xtext}, c.msb, c.lsb);
    return v ? *v : "<unchanged>";
}

}  // namespace

class SmartBatteryDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(SmartBatteryDecode, ByMainAddressAndExactCommand) {
    EXPECT_EQ(decode(GetParam()), GetParam().value)
        << GetParam().main_address << " / '" << GetParam().command << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, SmartBatteryDecode,
    testing::Values(DecodeCase{BusMode::SBS, "16", "0D", 0xFF, 0xFF, "65535"},
                    DecodeCase{BusMode::SBS, "16", "0a", 0xFF, 0xFF, "-1"},
                    DecodeCase{BusMode::SBS, "16", "0B", 0xFF, 0xFF, "65535"},
                    DecodeCase{BusMode::SBS, "16", "14", 0xFF, 0xFF, "-1"},
                    DecodeCase{BusMode::SBS, "16", "09", 0x30, 0x34, "12340"},
                    DecodeCase{BusMode::SBS, "16", "1c", 0x00, 0x07, "7"},
                    DecodeCase{BusMode::SBS, "16", "08", 0x0B, 0xA6, "25.05"},
                    DecodeCase{BusMode::SBS, "16", "8", 0x0B, 0xA6, "25.05"},
                    DecodeCase{BusMode::SBS, "16", "08", 0x00, 0x00, "-273.15"},
                    DecodeCase{BusMode::SBS, "16", "0x08", 0x0B, 0xA6, ""},
                    DecodeCase{BusMode::SBS, "16", " 08", 0x0B, 0xA6, ""},
                    DecodeCase{BusMode::SBS, "16", "16", 0x00, 0x01, ""},
                    DecodeCase{BusMode::SBS, "16", "0G", 0x00, 0x01, ""},
                    DecodeCase{BusMode::SBS, "20", "0D", 0xFF, 0xFF, ""},
                    DecodeCase{BusMode::SBS, "016", "0D", 0xFF, 0xFF, ""},
                    DecodeCase{BusMode::SBS, "12", "15", 0x3A, 0x98, "15000"},
                    DecodeCase{BusMode::SBS, "12", "14", 0x80, 0x00, "-32768"},
                    DecodeCase{BusMode::SBS, "14", "14", 0x7F, 0xFF, "32767"},
                    DecodeCase{BusMode::SBS, "12", "16", 0x3A, 0x98, ""},
                    DecodeCase{BusMode::SBS, "12", "0D", 0x3A, 0x98, ""}));

TEST(PmbusDecode, ByThePanelsOwnFormatAndExponent) {
    DecodeCase c{BusMode::PMBus, "B8", "8B", 0x60, 0x00, ""};
    EXPECT_EQ(decode(c, f::kExpManual, "-13"), "3");
    EXPECT_EQ(decode(c, f::kExpManual, "-12.5"), "6");    // -12.5 rounds to the even -12
    EXPECT_EQ(decode(c, f::kExpManual, "abc"), "24576");  // no number: X = 0
    EXPECT_EQ(decode(c, f::kExpManual, "99999"), "");     // beyond 16 bits: undecodable
    EXPECT_EQ(decode(c, f::kSelectFormat), "");
    EXPECT_EQ(decode(c, f::kExpAuto), "");
    c.msb = 0xE9;
    c.lsb = 0xF4;
    EXPECT_EQ(decode(c, f::kExp5bMan11b), "62.5");
    c.msb = 0x80;
    c.lsb = 0x01;
    EXPECT_EQ(decode(c, f::kExp5bMan11b), "0.0000152587890625");
}

TEST(PmbusDecode, I2cLeavesTheValueBox) {
    EXPECT_EQ(decode({BusMode::I2C, "16", "0D", 0xFF, 0xFF, ""}), "<unchanged>");
}

namespace {

f::ResultView view(const char* letter, bool error, uint8_t msb, uint8_t lsb,
                   BusMode mode = BusMode::SBS) {
    return f::result_view({letter, error, msb, lsb, "", ""},
                          {mode, "16", "0D", f::kSelectFormat, "-13"});
}

}  // namespace

TEST(ResultView, WordReadShowsBytesAndValue) {
    auto v = view("4", false, 0xFF, 0xFF);
    EXPECT_TRUE(v.show_bytes);
    EXPECT_EQ(v.ms_byte, "FF");
    EXPECT_EQ(v.ls_byte, "FF");
    EXPECT_EQ(v.value, "65535");
    EXPECT_FALSE(v.stop_repeat_all);
    EXPECT_EQ(view("Q", false, 0x01, 0x02).value, "258");
}

TEST(ResultView, FailedWordReadShowsErrEverywhereAndStopsRepeats) {
    auto v = view("4", true, 0x12, 0x34);
    EXPECT_EQ(v.ms_byte, "Err");
    EXPECT_EQ(v.ls_byte, "Err");
    EXPECT_EQ(v.value, "Err");
    EXPECT_TRUE(v.stop_repeat_all);
    auto i2c = view("4", true, 0x12, 0x34, BusMode::I2C);
    EXPECT_EQ(i2c.ls_byte, "Err");
    EXPECT_FALSE(i2c.value);  // no value worked out in I2C mode
}

TEST(ResultView, ByteReadsShowZeroHighByte) {
    for (const char* letter : {"2", "D", "O"}) {
        auto v = view(letter, false, 0x77, 0x5A);
        EXPECT_EQ(v.ms_byte, "00") << letter;
        EXPECT_EQ(v.ls_byte, "5A") << letter;
        EXPECT_FALSE(v.value) << letter;
    }
    EXPECT_EQ(view("O", true, 0, 0x5A).ls_byte, "Err");
}

TEST(ResultView, WritesShowOnlyErrors) {
    for (const char* letter : {"3", "C", "P", "R"}) {
        EXPECT_FALSE(view(letter, false, 1, 2).show_bytes) << letter;
        auto v = view(letter, true, 1, 2);
        EXPECT_EQ(v.ls_byte, "Err") << letter;
        EXPECT_TRUE(v.stop_repeat_all) << letter;
        EXPECT_FALSE(v.value) << letter;
    }
}

TEST(ResultView, OtherLettersShowNoBytesBlocksGoToTheirBoxes) {
    for (const char* letter : {"0", "1", "F", "G", "T", "U", "S", "", "4 "}) {
        auto v = view(letter, true, 1, 2);
        EXPECT_FALSE(v.show_bytes) << letter;
        EXPECT_FALSE(v.stop_repeat_all) << letter;
    }
    EXPECT_EQ(view("G", true, 1, 2).block, f::BlockBoxes::Read);
    EXPECT_EQ(view("U", false, 1, 2).block, f::BlockBoxes::WriteRead);
    EXPECT_EQ(view("4", false, 1, 2).block, f::BlockBoxes::None);
}

TEST(AllPanelButtons, ByPanelCountAndMode) {
    auto none = f::all_panel_buttons(0, BusMode::PMBus);
    EXPECT_FALSE(none.send_all || none.repeat_all || none.group_set);
    auto sbs = f::all_panel_buttons(1, BusMode::SBS);
    EXPECT_TRUE(sbs.send_all && sbs.repeat_all);
    EXPECT_FALSE(sbs.group_set);
    EXPECT_TRUE(f::all_panel_buttons(8, BusMode::PMBus).group_set);
    EXPECT_FALSE(f::all_panel_buttons(3, BusMode::I2C).group_set);
}
