// Hex text helpers, the invalid-entry stop, and the program folder.
#include <gtest/gtest.h>

#include "mod_Miscellaneous_Subroutines.h"
#include "recording_console.h"
#include "ui/doubles.h"

namespace velmora {
namespace {

struct HexCase {
    const char* text;
    int16_t value;
    bool valid;
};

void PrintTo(const HexCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class HexToByte : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToByte, GivesValueAndValidity) {
    const HexCase& c = GetParam();
    shared().HexValid = c.valid ? False : True;  // the call must set it either way
    EXPECT_EQ(Hex_To_Byte(c.text), c.value);
    EXPECT_EQ(shared().HexValid, c.valid ? True : False);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexToByte,
                         ::testing::Values(HexCase{"7", 7, true}, HexCase{"0a", 10, true},
                                           HexCase{"0A", 10, true}, HexCase{"ff", 255, true},
                                           HexCase{"Ff", 255, true}, HexCase{"00", 0, true},
                                           HexCase{"a", 10, true}, HexCase{"", 0, false},
                                           HexCase{"100", 0, false}, HexCase{"g1", 0, false},
                                           HexCase{"1g", 0, false}, HexCase{" 1", 0, false},
                                           HexCase{"1 ", 0, false}, HexCase{"0x", 0, false},
                                           HexCase{"-1", 0, false}, HexCase{"\xC3\xA9", 0, false}));

TEST(ByteToHex, TwoUpperCaseDigits) {
    EXPECT_EQ(Byte_To_Hex(10), "0A");
    EXPECT_EQ(Byte_To_Hex(255), "FF");
    EXPECT_EQ(Byte_To_Hex(0), "00");
    EXPECT_EQ(Byte_To_Hex(0x3C), "3C");
}

TEST(ByteToHex, RoundTripsThroughHexToByte) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(Hex_To_Byte(Byte_To_Hex(static_cast<uint8_t>(v))), v);
        ASSERT_EQ(shared().HexValid, True);
    }
}

TEST(HexDigitValue, UpperCaseOnly) {
    EXPECT_EQ(Hex_Digit_Value("0"), 0);
    EXPECT_EQ(Hex_Digit_Value("9"), 9);
    EXPECT_EQ(Hex_Digit_Value("A"), 10);
    EXPECT_EQ(Hex_Digit_Value("F"), 15);
    EXPECT_EQ(Hex_Digit_Value("a"), 0);
    EXPECT_EQ(Hex_Digit_Value("G"), 0);
    EXPECT_EQ(Hex_Digit_Value(""), 0);
    EXPECT_EQ(Hex_Digit_Value("1F"), 0);
}

TEST(Hex4, LowBytePairFirst) {
    EXPECT_EQ(Hex4_To_Int("F", "F", "7", "F"), 32767);
    EXPECT_EQ(Hex4_To_Int("0", "0", "8", "0"), -32768);
    EXPECT_EQ(Hex4_To_Word("0", "0", "8", "0"), 32768);
    EXPECT_EQ(Hex4_To_Int("F", "F", "F", "F"), -1);
    EXPECT_EQ(Hex4_To_Word("F", "F", "F", "F"), 65535);
    EXPECT_EQ(Hex4_To_Word("3", "4", "1", "2"), 0x1234);
}

class EntryCheck : public ::testing::Test {
  protected:
    platform::ui::ScopedDoubles doubles;
    testing::ScopedConsole console;
    void SetUp() override { shared().PanelCount = 3; }
    void TearDown() override { shared().PanelCount = 0; }
};

TEST_F(EntryCheck, AfterValidConversionDoesNothing) {
    Hex_To_Byte("16");
    EXPECT_EQ(Check_Entries(), 0);
    EXPECT_TRUE(doubles.ui.messages.empty());
    EXPECT_EQ(console.console.repeat_all_stops, 0);
    EXPECT_TRUE(console.console.unticked.empty());
}

TEST_F(EntryCheck, AfterInvalidConversionShowsMessageAndStopsRepetition) {
    Hex_To_Byte("zz");
    EXPECT_EQ(Check_Entries(), 1);
    ASSERT_EQ(doubles.ui.messages.size(), 1u);
    EXPECT_EQ(doubles.ui.messages[0].text, "One of the Addr, Cmd, Data entries are not valid");
    EXPECT_EQ(doubles.ui.messages[0].buttons, platform::ui::Buttons::Ok);
    EXPECT_EQ(doubles.ui.messages[0].title, "");  // the refusals have no title of their own
    EXPECT_EQ(console.console.repeat_all_stops, 1);
    EXPECT_EQ(console.console.unticked, (std::vector<int>{1, 2, 3}));
}

TEST_F(EntryCheck, ClearNonstopTouchesOnlyOpenPanels) {
    shared().PanelCount = 0;
    Clear_Nonstop();
    EXPECT_TRUE(console.console.unticked.empty());
    shared().PanelCount = 8;
    Clear_Nonstop();
    EXPECT_EQ(console.console.unticked.size(), 8u);
    console.console.unticked.clear();
    shared().PanelCount = 40;  // never beyond the last panel
    Clear_Nonstop();
    EXPECT_EQ(console.console.unticked.back(), 8);
}

TEST(AppFolder, FolderWithoutTrailingSeparator) {
    EXPECT_EQ(folder_of_program("/opt/qx/bin/velmora"), "/opt/qx/bin");
    EXPECT_EQ(folder_of_program("/velmora"), "");
    EXPECT_EQ(folder_of_program("velmora"), "");
}

TEST(AppFolder, IsTheFolderOfThisProgram) {
    std::string folder = App_Folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(folder.substr(folder.rfind('/')), "/bin");
}

}  // namespace
}  // namespace velmora
