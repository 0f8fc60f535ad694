#include "formats/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace f = velmora::formats;

struct LeadingCase {
    const char* text;
    double value;
};
void PrintTo(const LeadingCase& c, std::ostream* os) {
    *os << c.text;
}

class LeadingNumber : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumber, ReadsUpToFirstMisfit) {
    EXPECT_DOUBLE_EQ(f::leading_number(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumber,
    testing::Values(LeadingCase{"", 0}, LeadingCase{"abc", 0}, LeadingCase{"-", 0},
                    LeadingCase{".", 0}, LeadingCase{"12600", 12600},
                    LeadingCase{"  -1.5e2xyz", -150}, LeadingCase{"+.5", 0.5},
                    LeadingCase{"1 2 3", 123}, LeadingCase{"- 7", -7}, LeadingCase{"1.2.3", 1.2},
                    LeadingCase{"1e", 1}, LeadingCase{"1e+", 1}, LeadingCase{"2E3", 2000},
                    LeadingCase{"1d3", 1000}, LeadingCase{"1D-2", 0.01}, LeadingCase{"5x", 5},
                    LeadingCase{"&H1F", 31}, LeadingCase{"&hff", 255}, LeadingCase{"&O17", 15},
                    LeadingCase{"&o8", 0}, LeadingCase{"&H", 0}, LeadingCase{"&X1", 0},
                    LeadingCase{"  &HFFFF", 65535}, LeadingCase{"-13", -13},
                    LeadingCase{"0x10", 0}));

TEST(LeadingNumber, HugeValuesBecomeInfinityNotFailure) {
    EXPECT_TRUE(std::isinf(f::leading_number("1e400")));
    EXPECT_EQ(f::leading_number("1e-400"), 0);
    EXPECT_EQ(f::leading_number(std::string(5000, '9') + "x"),
              std::numeric_limits<double>::infinity());
}

struct WholeCase {
    const char* text;
    bool ok;
    double value;
};
void PrintTo(const WholeCase& c, std::ostream* os) {
    *os << c.text;
}

class WholeNumber : public testing::TestWithParam<WholeCase> {};

TEST_P(WholeNumber, AcceptsOnlyACompleteNumber) {
    auto v = f::whole_number(GetParam().text);
    ASSERT_EQ(v.has_value(), GetParam().ok) << GetParam().text;
    if (v) {
        EXPECT_DOUBLE_EQ(*v, GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumber,
    testing::Values(WholeCase{"", false, 0}, WholeCase{"-", false, 0}, WholeCase{"1e", false, 0},
                    WholeCase{"abc", false, 0}, WholeCase{"1x", false, 0}, WholeCase{".", false, 0},
                    WholeCase{"&H10", false, 0}, WholeCase{"1d3", false, 0},
                    WholeCase{"1 2", false, 0}, WholeCase{"12,34", false, 0},
                    WholeCase{",123", false, 0}, WholeCase{"1,2345", false, 0},
                    WholeCase{"1,234,56", false, 0}, WholeCase{"3", true, 3},
                    WholeCase{" 3 ", true, 3}, WholeCase{"-5", true, -5},
                    WholeCase{"+2.5", true, 2.5}, WholeCase{".5", true, 0.5},
                    WholeCase{"5.", true, 5}, WholeCase{"1,234.5", true, 1234.5},
                    WholeCase{"12,345,678", true, 12345678}, WholeCase{"1E3", true, 1000},
                    WholeCase{"2.5e-1", true, 0.25}));

TEST(WholeNumber, FollowsTheUsersSeparators) {
    f::NumberFormat comma{",", "."};
    EXPECT_EQ(f::whole_number("2,5", comma), 2.5);
    EXPECT_EQ(f::whole_number("1.234,5", comma), 1234.5);
    EXPECT_FALSE(f::whole_number("2.5", comma));
    f::NumberFormat thin_space{",", "\u202F"};
    EXPECT_EQ(f::whole_number("1\u202F000,25", thin_space), 1000.25);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    for (auto [in, out] : {std::pair{0.5, 0.0},
                           {1.5, 2.0},
                           {2.5, 2.0},
                           {3.5, 4.0},
                           {-0.5, 0.0},
                           {-1.5, -2.0},
                           {-2.5, -2.0},
                           {2.4999, 2.0},
                           {2.5001, 3.0}})
        EXPECT_EQ(f::round_half_even(in), out) << in;
}

TEST(Rounding, Int32OverflowBoundaries) {
    EXPECT_EQ(f::round_to_int32(2147483647.4), 2147483647);
    EXPECT_FALSE(f::round_to_int32(2147483647.5));  // rounds to the even 2^31
    EXPECT_EQ(f::round_to_int32(2147483646.5), 2147483646);
    EXPECT_EQ(f::round_to_int32(-2147483648.5), -2147483648);
    EXPECT_FALSE(f::round_to_int32(-2147483649.5));
    EXPECT_FALSE(f::round_to_int32(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(f::round_to_int32(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Rounding, Int16OverflowBoundaries) {
    EXPECT_EQ(f::round_to_int16(32766.5), 32766);
    EXPECT_FALSE(f::round_to_int16(32767.5));
    EXPECT_EQ(f::round_to_int16(-32768.5), -32768);
    EXPECT_FALSE(f::round_to_int16(-32769));
}

struct TextCase {
    double value;
    const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.text;
}

class RealToText : public testing::TestWithParam<TextCase> {};

TEST_P(RealToText, FifteenDigitsNoTrailingZeros) {
    EXPECT_EQ(f::real_to_text(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RealToText,
    testing::Values(TextCase{2982 / 10.0 - 273.15, "25.05"}, TextCase{0 / 10.0 - 273.15, "-273.15"},
                    TextCase{0, "0"}, TextCase{-0.0, "0"}, TextCase{3, "3"}, TextCase{62.5, "62.5"},
                    TextCase{65535.0 * 32768, "2147450880"}, TextCase{1.0 / 3, "0.333333333333333"},
                    TextCase{0x1p-16, "0.0000152587890625"}, TextCase{0x1p-15, "0.000030517578125"},
                    TextCase{1e-6, "1E-06"}, TextCase{1.5e-7, "1.5E-07"},
                    TextCase{999999999999999, "999999999999999"}, TextCase{1e15, "1E+15"},
                    TextCase{-2.5e20, "-2.5E+20"}, TextCase{1e100, "1E+100"}));

TEST(RealToText, UsesTheUsersDecimalSeparatorAndReadsBack) {
    f::NumberFormat comma{",", "."};
    EXPECT_EQ(f::real_to_text(25.05, comma), "25,05");
    EXPECT_EQ(f::whole_number(f::real_to_text(0.1 + 0.2, comma), comma), 0.3);
    EXPECT_EQ(f::real_to_text(std::numeric_limits<double>::infinity()), "");
}
