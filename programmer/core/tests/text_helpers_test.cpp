#include "text_helpers.h"

#include <gtest/gtest.h>

#include "device_operations.h"

namespace pelmo {
namespace {

TEST(TextHelpers, HexIsFullWidthUpperCase) {
    EXPECT_EQ(WordToHex(0x4B1D), "4B1D");
    EXPECT_EQ(WordToHex(0x000A), "000A");
    EXPECT_EQ(ByteToHex(0x0F), "0F");
}

TEST(TextHelpers, DigitReadersTakeAnythingElseAsZero) {
    EXPECT_EQ(HexTextToInt("4B1D"), 0x4B1D);
    EXPECT_EQ(HexTextToInt("4b1d"), 0x4B1D);
    EXPECT_EQ(HexTextToInt(""), 0);
    EXPECT_EQ(HexTextToInt("G1"), 0x01);
    EXPECT_EQ(DecTextToInt("100"), 100);
    EXPECT_EQ(DecTextToInt("1a0"), 100);
    EXPECT_EQ(DecTextToInt(""), 0);
}

TEST(TextHelpers, BufferKeepsItsTerminatingZero) {
    StringBuffer b;
    b.fill('x');
    SetBufferText(b, std::string(100, 'A'));
    EXPECT_EQ(BufferText(b), std::string(63, 'A'));
    EXPECT_EQ(b[63], '\0');
    SetBufferText(b, "KELD");
    EXPECT_EQ(BufferText(b), "KELD");
}

TEST(HexDump, LineShowsAddressBytesLowFirstAndCharacters) {
    EepromWords image{};
    image[1] = 0x4B1D;
    image[2] = 0x4144;  // "AD"
    image[8] = 0xFFFF;
    const auto lines = HexDumpLines(image, 64);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0],
              "0000 : 00 00 1D 4B 44 41 00 00 00 00 00 00 00 00 00 00   .. K. AD .. .. .. .. ..");
    EXPECT_EQ(lines[1].substr(0, 10), "0010 : FF ");
    EXPECT_EQ(HexDumpLines(image, 128).size(), 16u);
    EXPECT_EQ(HexDumpLines(image, 80).size(), 10u);
}

TEST(HexDump, WordsFollowTheKind) {
    EXPECT_EQ(HexDumpWords({}), 64);
    EXPECT_EQ(HexDumpWords({.KindT2 = true}), 64);
    EXPECT_EQ(HexDumpWords({.KindDual = true}), 128);
    EXPECT_EQ(HexDumpWords({.KindT4 = true}), 80);
    EXPECT_EQ(HexDumpWords({.Kind5D = true}), 128);
    EXPECT_EQ(HexDumpWords({.Kind5Q = true}), 128);
}

}  // namespace
}  // namespace pelmo
