#include "symbol_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::monitor {
namespace {

// The shown events of a character run, as texts joined.
std::string decode(BitState& st, std::string_view chars) {
    std::string out;
    for (char c : chars) {
        const Event e = Decode_Symbol(st, static_cast<unsigned char>(c));
        if (e != kNoEvent) append_event(out, e);
    }
    return out;
}

struct Case {
    const char* chars;
    const char* shown;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.chars;
}

class DecodeSymbol : public ::testing::TestWithParam<Case> {};

TEST_P(DecodeSymbol, ShowsTheEventsOfACharacterRun) {
    BitState st;
    EXPECT_EQ(decode(st, GetParam().chars), GetParam().shown) << GetParam().chars;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DecodeSymbol,
    ::testing::Values(Case{"S101100100P", "[S]B2[A][P]"},  // byte and ack
                      Case{"S@0@@00@0@P", "[S]B2[N][P]"},  // '@' as 1, also as ack
                      Case{"S101R00100000", "[S][s]20"},   // 'R' drops the partial byte
                      Case{"S10110010P", "[S]B2[P]"},      // marker in place of ack
                      Case{"S101100102", "[S]B22"},        // stray ack stays as it came
                      Case{"S10110010x", "[S]B2x"},
                      Case{"S11xx11xx0", "[S]CC[A]"},  // garbage is a 0 bit
                      Case{"S200000000", "[S]00[A]"},  // nibble past 15: char shows
                      Case{"S999999990", "[S]99[A]"},
                      Case{"S1111", "[S]F"},  // high nibble shown alone
                      Case{"RS", "[s][S]"}));

TEST(DecodeSymbolState, AByteCutOffIsCompletedByLaterBitsUnlessAMarkerComes) {
    BitState st;
    EXPECT_EQ(decode(st, "S1011"), "[S]B");
    EXPECT_EQ(st.BitsLeft, 4);
    EXPECT_EQ(decode(st, "00100"), "2[A]");
    EXPECT_EQ(decode(st, "101P"), "[P]");
    EXPECT_EQ(st.BitsLeft, 8);
    EXPECT_EQ(st.HighNibble, 0);
}

}  // namespace
}  // namespace velmora::monitor
