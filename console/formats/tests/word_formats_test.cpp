#include "formats/word_formats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace f = velmora::formats;

namespace {

// Bit texts of a word, high byte first, as the timer passes them.
double linear11(uint16_t w) {
    return f::Linear11_To_Real(f::Byte_To_Bin(w >> 8), f::Byte_To_Bin(w & 0xFF));
}

f::EncodedWord ok_word(uint16_t w) {
    return {f::EncodeStatus::Ok, w};
}
const f::EncodedWord kOverflow{f::EncodeStatus::Overflow, 0};

}  // namespace

namespace velmora::formats {
void PrintTo(const EncodedWord& e, std::ostream* os) {
    *os << (e.status == EncodeStatus::Ok ? "ok 0x" : "refused 0x") << std::hex << e.word;
}
}  // namespace velmora::formats

TEST(ByteToBin, MostSignificantFirst) {
    EXPECT_EQ(f::Byte_To_Bin(0xA5), "10100101");
    EXPECT_EQ(f::Byte_To_Bin(0), "00000000");
    EXPECT_EQ(f::Byte_To_Bin(0xFF), "11111111");
    EXPECT_EQ(f::Byte_To_Bin(1), "00000001");
}

TEST(Linear16ToReal, WordTimesTwoToX) {
    EXPECT_EQ(f::Linear16_To_Real(-13, "01100000", "00000000"), 3);
    EXPECT_EQ(f::Linear16_To_Real(0, "11111111", "11111111"), 65535);
    EXPECT_EQ(f::Linear16_To_Real(15, "11111111", "11111111"), 65535.0 * 32768);
    EXPECT_EQ(f::Linear16_To_Real(-15, "00000000", "00000001"), std::ldexp(1.0, -15));
}

TEST(Linear16ToReal, MalformedBitTextsReadOnlyWhatIsThere) {
    EXPECT_EQ(f::Linear16_To_Real(0, "", "101"), 5);
    EXPECT_EQ(f::Linear16_To_Real(0, "1111111111", "00000000"), 65280);  // bits above 15 ignored
    EXPECT_EQ(f::Linear16_To_Real(0, "x1", "2"), 2);  // joined "x12": only the "1" is a bit
}

TEST(Linear11ToReal, ExponentAndMantissa) {
    EXPECT_EQ(linear11(0xE9F4), 62.5);  // E = -3 (11101), M = 500
    EXPECT_EQ(linear11(0x1805), 40);    // E = 3, M = 5
    EXPECT_EQ(linear11(0x07FF), 2047);  // E = 0 gives M itself
    EXPECT_EQ(linear11(0x8001), std::ldexp(1.0, -16));
    EXPECT_EQ(linear11(0x7FFF), 2047.0 * 32768);
    EXPECT_EQ(linear11(0xFC00), 512);  // mantissa unsigned: bit 10 is not a sign
}

TEST(WordToRwBytes, PlainNegativeAndLargeValues) {
    auto check = [](int32_t v, const char* ls, const char* ms) {
        f::RwBytes b = f::Word_To_RW_Bytes(16, v);
        EXPECT_EQ(b.ls_byte, ls) << v;
        EXPECT_EQ(b.ms_byte, ms) << v;
    };
    check(0x6000, "00", "60");
    check(12600, "38", "31");
    check(65535, "FF", "FF");
    check(0, "00", "00");
    check(-1, "00", "00");
    check(-2147483647 - 1, "00", "00");
    check(65536, "00", "80");  // bit 15 plus 65536 mod 32768
    check(70000, "70", "91");  // 0x8000 | (70000 mod 32768 = 0x1170)
    check(2147483647, "FF", "FF");
}

TEST(BitsByWeight, ElevenBitMantissaRule) {
    EXPECT_EQ(f::bits_by_weight(11, 2047), 0x7FFu);
    EXPECT_EQ(f::bits_by_weight(11, 2048), 0x400u);  // bit 10 plus 2048 mod 1024
    EXPECT_EQ(f::bits_by_weight(11, 3000), 0x400u | (3000 % 1024));
    EXPECT_EQ(f::bits_by_weight(11, -5), 0u);
    EXPECT_EQ(f::bits_by_weight(40, 5), 5u);  // count held to 31
    EXPECT_EQ(f::bits_by_weight(-3, 5), 0u);
}

struct EncodeCase {
    double value;
    f::EncodedWord expected;
};
void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << c.value;
}

class Exp5bMan11b : public testing::TestWithParam<EncodeCase> {};

TEST_P(Exp5bMan11b, Encodes) {
    EXPECT_EQ(f::encode_exp5b_man11b(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Exp5bMan11b,
    testing::Values(EncodeCase{1, ok_word(0xF802)},     // exponent -1, mantissa 2
                    EncodeCase{2000, ok_word(0x207D)},  // exponent 4, mantissa 125
                    EncodeCase{0, ok_word(0)}, EncodeCase{-5, ok_word(0)},
                    EncodeCase{3000, kOverflow}, EncodeCase{62.5, ok_word(0xF87D)},
                    EncodeCase{40, ok_word(0x1805)}));

// Boundaries of the integer error rule and of its 32-bit roundings.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, Exp5bMan11b,
    testing::Values(EncodeCase{2147.4836474, ok_word(0x0C32)},  // a fits: exponent 1, mantissa 1074
                    EncodeCase{2147.4836475, kOverflow},        // v x 10^6 rounds to 2^31
                    EncodeCase{67108863, kOverflow},            // candidate 15, a overflows
                    EncodeCase{67108864, kOverflow},  // 2^26: no candidate, no 11-bit mantissa
                    EncodeCase{1e300, kOverflow},
                    EncodeCase{-3e9, kOverflow},          // mantissa itself beyond 32 bits
                    EncodeCase{1024.5, ok_word(0x0400)},  // half-way mantissa to even 1024
                    EncodeCase{1025.5, ok_word(0x0402)},  // half-way mantissa to even 1026
                    EncodeCase{2047.5, ok_word(0x0C00)},  // rounds to 2048: next exponent, 1024
                    EncodeCase{1023.9, ok_word(0x0400)},  // 2047.8 at 2^-1 carries to 2^0 x 1024
                    EncodeCase{std::ldexp(1.0, -15), ok_word(0)},  // 1 at 2^-15 is not above 1
                    EncodeCase{0.00004, ok_word(0x8801)},          // smallest candidate -15
                    EncodeCase{2.5, ok_word(0xF805)}));  // exact fit at -1 beats finer ones

TEST(Exp5bMan11b, RoundTripsThroughTheDecoderWithinHalfAStep) {
    for (double v : {0.001, 0.37, 1.1, 3.3, 12.34, 99.99, 511.3, 1000.0, 2000.5, 2147.0}) {
        f::EncodedWord e = f::encode_exp5b_man11b(v);
        ASSERT_EQ(e.status, f::EncodeStatus::Ok) << v;
        int exponent = (e.word >> 11) >= 16 ? (e.word >> 11) - 32 : (e.word >> 11);
        EXPECT_NEAR(linear11(e.word), v, std::ldexp(0.5, exponent) + 1e-12) << v;
    }
}

TEST(TwoHexDigits, UpperCase) {
    EXPECT_EQ(f::two_hex_digits(10), "0A");
    EXPECT_EQ(f::two_hex_digits(0xFF), "FF");
    EXPECT_EQ(f::two_hex_digits(0), "00");
}
