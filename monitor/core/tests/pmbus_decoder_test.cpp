#include "pmbus_decoder.h"

#include <gtest/gtest.h>

#include "event_text.h"
#include "pmbus_tables.h"

namespace velmora::monitor {
namespace {

using testing::Assembler;
using testing::prefix;

using testing::Golden;

class PmbusGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(PmbusGolden, DecodesTheTransaction) {
    EXPECT_TRUE(testing::decodes_to_golden_line(DecodeMode::PMBus, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PmbusGolden,
    ::testing::Values(
        Golden{"send byte", "S B0a 03a P", "[S]B0[A][CLEAR_FAULTS][A][P]"},
        Golden{"send byte, any address", "S 22n 03a P", "[S]22[N][CLEAR_FAULTS][A][P]"},
        Golden{"send byte of an unlisted code", "S B0a 05a P", "[S]B0[A]05[A][P]"},
        Golden{"page write", "S B0a 00a 02a P", "[S]B0[A][PgNum][A][Pg2][A][P]"},
        Golden{"page 7", "S B0a 00a 07a P", "[S]B0[A][PgNum][A][Pg7][A][P]"},
        Golden{"page beyond 7", "S B0a 00a 08a P", "[S]B0[A][PgNum][A]08[A][P]"},
        Golden{"page 10", "S B0a 00a 10a P", "[S]B0[A][PgNum][A]10[A][P]"},
        Golden{"write byte", "S B0a 01a 80a P", "[S]B0[A][Operation][A]80[A][P]"},
        Golden{"read byte of code 00", "S B0a 00a R B1a 05n P",
               "[S]B0[A][Read_Byte][A][s]B1[A]05[N][P]"},
        Golden{"status byte 0x41", "S B8a 78a R B9a 41n P",
               "[S]B8[A][Status_Byte][A][s]B9[A][(Off_err)(None_of_the_above_err)][N][P]"},
        Golden{"status byte 0", "S B8a 78a R B9a 00n P",
               "[S]B8[A][Status_Byte][A][s]B9[A][][N][P]"},
        Golden{"status vout: the blank is the system's own", "S B8a 7Aa R B9a 81n P",
               "[S]B8[A][Status_Vout][A][s]B9[A][(VOUT_Overvoltage "
               "Fault)(VOUT_Tracking_Error)][N][P]"},
        Golden{"register 80 short in a read byte", "S B8a 80a R B9a 01n P",
               "[S]B8[A][Status_Mfr_Spcf][A][s]B9[A][(Mfr_Defined)][N][P]"},
        Golden{"register 80 long as a send byte", "S B8a 80a P",
               "[S]B8[A][Status_Mfr_Specific][A][P]"},
        Golden{"read byte of a word code keeps its digits", "S B8a 8Ba R B9a 05n P",
               "[S]B8[A]8B[A][s]B9[A]05[N][P]"},
        Golden{"status word bit 15", "S B8a 79a R B9a 00a 80n P",
               "[S]B8[A][Status_Word][A][s]B9[A][(Vout_err)][N][P]"},
        Golden{"status word: low byte first", "S B8a 79a R B9a 01a 02n P",
               "[S]B8[A][Status_Word][A][s]B9[A][(None_of_the_above_err)(Other_err)][N][P]"},
        Golden{"status word 0", "S B8a 79a R B9a 00a 00n P",
               "[S]B8[A][Status_Word][A][s]B9[A][][N][P]"},
        Golden{"status word written keeps its data", "S B8a 79a 34a 12a P",
               "[S]B8[A][Status_Word][A]34[A]12[A][P]"},
        Golden{"read word", "S B8a 8Ba R B9a 34a 12n P",
               "[S]B8[A][Read_Vout][A][s]B9[A]34[A]12[N][P]"},
        Golden{"read word of a limit known to reads only", "S B8a A0a R B9a 34a 12n P",
               "[S]B8[A][Mfr_Vin_Min][A][s]B9[A]34[A]12[N][P]"},
        Golden{"write word of a read-only limit", "S B8a A0a 34a 12a P",
               "[S]B8[A]A0[A]34[A]12[A][P]"},
        Golden{"quick command unchanged", "S B0a P", "[S]B0[A][P]"},
        Golden{"12 events unchanged", "S B0a 03a R B1a P", "[S]B0[A]03[A][s]B1[A][P]"}));

TEST(PmbusTables, HoldEveryCodeOfEachShape) {
    EXPECT_EQ(pmbus::kCommandNames.size(), 119u);
    EXPECT_EQ(pmbus::kWriteByteCodes.size(), 35u);
    EXPECT_EQ(pmbus::kWordCodes.size(), 68u);
    EXPECT_EQ(pmbus::kWordCodes.size() + pmbus::kReadWordOnlyCodes.size(), 78u);
    EXPECT_EQ(pmbus::kReadByteCodes.size(), 31u);
}

TEST(PmbusDecoder, NoStatusTextOfOneReadReachesTheNext) {
    Assembler a(DecodeMode::PMBus);
    const auto lines = a.run("S B8a 7Ea R B9a FFn P S B8a 79a R B9a 00a 00n P");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], prefix(2) + "[S]B8[A][Status_Word][A][s]B9[A][][N][P]");
}

}  // namespace
}  // namespace velmora::monitor
