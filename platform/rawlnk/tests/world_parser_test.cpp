// World texts: what a sound text builds and where a broken one fails.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "eeprom.h"
#include "world.h"

namespace rawlnk {
namespace {

World parse_ok(const std::string& text) {
    World w;
    std::string error;
    EXPECT_TRUE(parse_world(text, "", w, error)) << error;
    return w;
}

TEST(WorldParser, DefaultWorldHasTheBoardAndThreeChips) {
    const World w = parse_ok(std::string(default_world_text()));
    ASSERT_EQ(w.chips.size(), 4u);
    EXPECT_EQ(w.device_count(), 5);
    const ChipSpec& board = w.chips[0];
    EXPECT_TRUE(board.board);
    EXPECT_EQ(board.firmware, 3);
    EXPECT_EQ(board.bus.size(), 4u);
    const auto id = read_identity(board.kind, board.image);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->description, "ZOQ ONBOARD RS232 CNTLR");
    EXPECT_EQ(id->serial, "ZQ000001");
    EXPECT_FALSE(read_identity(w.chips[1].kind, w.chips[1].image));  // blank
    EXPECT_EQ(w.chips[2].ee_words, 128);
    EXPECT_EQ(w.chips[2].first_device, 2);
    EXPECT_EQ(w.chips[3].first_device, 4);
    EXPECT_EQ(w.chips[3].image[65], static_cast<uint16_t>(~w.chips[3].image[64]));
}

TEST(WorldParser, FullTextBuildsEveryPart) {
    const World w = parse_ok(R"(# comment line
board b1            # trailing comment
  serial "QX 01"
  firmware 0x02
  device 0x16 battery
  device 0xB8 pmbus pages 2
  device 0x40 plain
  reg 0x16 0x09 word 11000
  reg 0x16 0x0A word -200
  reg 0xB8 0x21 page 1 word 0x1234
  reg 0xB8 0x8B word 7
  reg 0x40 0xFE01 byte 5
  reg 0x40 0x20 block "A\"B"
  reg 0x40 0x21 block 1 2 3
  traffic poll period 250
chip c1
  kind hs-quad
  vid 0x1234
  pid 0x5678
  eeprom 256
  words 3: 0001 ABCD
fault c1:C write_fail count 3 value 10
)");
    ASSERT_EQ(w.chips.size(), 2u);
    const ChipSpec& b = w.chips[0];
    EXPECT_EQ(b.serial, "");  // programmed: the image holds the serial, the factory has none
    EXPECT_EQ(read_identity(b.kind, b.image)->serial, "QX 01");
    EXPECT_EQ(b.firmware, 2);
    EXPECT_EQ(b.traffic.period_ms, 250u);
    const auto& bat = b.bus[0].regs;
    EXPECT_EQ(bat.at({kNotPaged, 0x09}), (std::vector<uint8_t>{0xF8, 0x2A}));
    EXPECT_EQ(bat.at({kNotPaged, 0x0A}), (std::vector<uint8_t>{0x38, 0xFF}));
    const auto& pm = b.bus[1].regs;
    EXPECT_EQ(pm.at({1, 0x21}), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(pm.at({0, 0x8B}), (std::vector<uint8_t>{7, 0}));  // every page
    EXPECT_EQ(pm.at({1, 0x8B}), (std::vector<uint8_t>{7, 0}));
    const auto& plain = b.bus[2].regs;
    EXPECT_EQ(plain.at({kNotPaged, kExtendedCode | 0xFE01}), std::vector<uint8_t>{5});
    EXPECT_EQ(plain.at({kNotPaged, 0x20}), (std::vector<uint8_t>{'A', '"', 'B'}));
    EXPECT_EQ(plain.at({kNotPaged, 0x21}), (std::vector<uint8_t>{1, 2, 3}));
    const ChipSpec& c = w.chips[1];
    EXPECT_EQ(c.kind, 7);
    EXPECT_EQ(c.image.size(), 256u);
    EXPECT_EQ(c.image[3], 0x0001);
    EXPECT_EQ(c.image[4], 0xABCD);
    EXPECT_EQ(c.image[5], 0xFFFF);
    ASSERT_EQ(w.faults.size(), 1u);
    EXPECT_EQ(w.faults[0].device, 3);  // board, then quad channels A, B, C
    EXPECT_EQ(w.faults[0].count, 3);
    EXPECT_EQ(w.faults[0].value, 10u);
}

struct BadCase {
    const char* name;
    const char* text;
    const char* error;  // the whole message begins with it
};

const BadCase kBadCases[] = {
    {"KeywordOutsideBlock", "serial X\n", "line 1: \"serial\" outside a board or chip block"},
    {"UnknownKeyword", "chip c\n\n colour red\n", "line 3: unknown keyword \"colour\""},
    {"BoardKeywordInChip", "chip c\n firmware 3\n", "line 2: \"firmware\" belongs to a board"},
    {"BadName", "chip c/1\n", "line 1: a name is letters"},
    {"NameTwice", "chip c\nboard c\n", "line 2: \"c\" is named twice"},
    {"UnknownKind", "chip c\n kind 3\n",
     "line 2: unknown kind \"3\" (gen1 or 1, gen2 or 0, dual or 4, gen4 or 5, hs-dual or 6, "
     "hs-quad or 7)"},
    {"BoardWithoutSerial", "chip c\nboard b\n device 0x16 battery\n",
     "line 2: board \"b\" needs a serial line"},
    {"KindMissingValue", "chip c\n kind\n", "line 2: \"kind\" needs more values"},
    {"TooManyValues", "chip c\n serial a b\n", "line 2: too many values after \"serial\""},
    {"UnterminatedQuote", "chip c\n description \"abc\n", "line 2: unterminated quote"},
    {"TextTooLong",
     "chip c\n serial 0123456789012345678901234567890123456789012345678901234567890123\n",
     "line 2: text longer than 63"},
    {"EepromSize", "chip c\n eeprom 100\n", "line 2: eeprom size is 64, 128 or 256"},
    {"EepromNotANumber", "chip c\n eeprom big\n", "line 2: eeprom size must be a number"},
    {"Gen4Small", "chip c\n kind gen4\n eeprom 64\n", "line 1: a fourth-generation chip"},
    {"WordBeyondEeprom", "chip c\n eeprom 64\n\n words 63: 0000 1111\n",
     "line 4: word 64 is beyond"},
    {"WordNotHex", "chip c\n words 0: 12G4\n", "line 2: \"12G4\" is not a hexadecimal word"},
    {"WordsWithoutStart", "chip c\n words 0000\n", "line 2: words begin with the word number"},
    {"StringsDoNotFit",
     "chip c\n description \"012345678901234567890123456789\"\n serial "
     "\"012345678901234567890123456789\"\n image programmed manufacturer \"0123456789\"\n",
     "line 1: \"c\": the strings do not fit"},
    {"ModelOnGen2", "chip c\n model fifo\n", "line 2: model belongs to a fourth-generation chip"},
    {"FirmwareRange", "board b\n firmware 256\n",
     "line 2: firmware must be a number from 0 to 255"},
    {"DevicePreset", "board b\n device 0x16 toaster\n", "line 2: device kind is"},
    {"DeviceTwice", "board b\n device 0x16 battery\n device 0x17 plain\n",
     "line 3: a device at this address"},
    {"RegWithoutDevice", "board b\n reg 0x16 0x09 word 1\n", "line 2: no device at address 0x16"},
    {"RegPageOnUnpaged", "board b\n device 0x16 battery\n reg 0x16 9 page 0 word 1\n",
     "line 3: the device at 0x16 has no pages"},
    {"RegPageRange", "board b\n device 0xB8 pmbus\n reg 0xB8 0x21 page 8 word 1\n",
     "line 3: page must be a number from 0 to 7"},
    {"RegWidth", "board b\n device 0x16 battery\n reg 0x16 9 long 1\n",
     "line 3: width is byte, word or block"},
    {"RegWordRange", "board b\n device 0x16 battery\n reg 0x16 9 word 70000\n",
     "line 3: word must be a number"},
    {"TrafficMode", "board b\n traffic loud\n", "line 2: traffic is poll, replay or none"},
    {"TrafficRate", "board b\n traffic replay events S0P rate 200000\n",
     "line 2: rate must be a number from 1 to 120000"},
    {"TrafficEmpty", "board b\n traffic replay events \"  \"\n",
     "line 2: the replayed events are empty"},
    {"TrafficFileMissing", "board b\n traffic replay file /no/such/file\n",
     "line 2: cannot read \"/no/such/file\": not found"},
    {"TrafficFileEndless", "board b\n traffic replay file /dev/zero\n",
     "line 2: cannot read \"/dev/zero\": not a regular file"},
    {"FaultName", "chip c\nfault c jam\n", "line 2: unknown fault \"jam\""},
    {"FaultTarget", "chip c\nfault d no_reply\n", "line 2: no chip or board named \"d\""},
    {"FaultChannel", "chip c\nfault c:B no_reply\n", "line 2: \"c\" has no channel \"B\""},
    {"FaultIndex", "chip c\nfault 1 no_reply\n", "line 2: no device 1"},
    {"FaultCountValue", "chip c\nfault c no_reply count\n", "line 2: \"count\" needs a value"},
};

class BadWorld : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadWorld, FailsWithItsLineNumber) {
    World w;
    w.chips.resize(1);
    std::string error;
    EXPECT_FALSE(parse_world(GetParam().text, "", w, error));
    EXPECT_EQ(error.substr(0, std::string(GetParam().error).size()), GetParam().error) << error;
    EXPECT_EQ(w.chips.size(), 1u);  // untouched on failure
}

INSTANTIATE_TEST_SUITE_P(Texts, BadWorld, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorldParser, OddBytesNeverCrash) {
    std::string text = "board b\n device 0x16 battery\n";
    for (int i = 0; i < 2000; ++i) {
        text.push_back(static_cast<char>((i * 7919) % 256));
        World w;
        std::string error;
        parse_world(text, "", w, error);
    }
    SUCCEED();
}

TEST(WorldParser, TooManyDevices) {
    std::string text;
    for (int i = 0; i < 33; ++i) text += "chip q" + std::to_string(i) + "\n kind hs-quad\n";
    World w;
    std::string error;
    EXPECT_FALSE(parse_world(text, "", w, error));
    EXPECT_NE(error.find("more than 128 devices"), std::string::npos) << error;
}

}  // namespace
}  // namespace rawlnk

namespace rawlnk {
namespace {

// The example of the format's documentation is a world that loads.
TEST(WorldParser, DocumentedExampleLoads) {
    std::ifstream doc(RAWLNK_WORLD_DOC);
    const std::string text((std::istreambuf_iterator<char>(doc)), std::istreambuf_iterator<char>());
    const size_t start = text.find("```\n# A board");
    ASSERT_NE(start, std::string::npos);
    const size_t end = text.find("```", start + 3);
    const std::string example = text.substr(start + 4, end - start - 4);
    World w;
    std::string error;
    ASSERT_TRUE(parse_world(example, "/nowhere", w, error)) << error;  // needs no other file
    EXPECT_EQ(w.device_count(), 3);
    EXPECT_EQ(w.chips[0].traffic.events, "S000101100000010010R00010111000@@0000000@0@0@01P");
    EXPECT_EQ(w.chips[0].traffic.rate, 60000u);
    EXPECT_EQ(w.faults[0].device, 2);
}

}  // namespace
}  // namespace rawlnk
