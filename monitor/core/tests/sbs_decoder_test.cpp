#include "sbs_decoder.h"

#include <gtest/gtest.h>

#include "event_text.h"

namespace velmora::monitor {
namespace {

using testing::Assembler;
using testing::prefix;

using testing::Golden;

class SbsGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(SbsGolden, DecodesTheTransaction) {
    EXPECT_TRUE(testing::decodes_to_golden_line(DecodeMode::SBS, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SbsGolden,
    ::testing::Values(
        Golden{"battery voltage read", "S 16a 09a R 17a 34a 30n P",
               "[S][SMBBatt](Wr)[A][Voltage][A][s][SMBBatt](Rd)[A][12340mV][N][P]"},
        Golden{"charging current written to the charger", "S 12a 14a D0a 07a P",
               "[S][SMBChrgr](Wr)[A][ChargingCurrent][A][2000mA][A][P]"},
        Golden{"remaining time alarm written: the ack stays inside", "S 16a 02a 0Aa 00a P",
               "[S][SMBBatt][A][RemainingTimeAlarm][A][[A]10min][A][P]"},
        Golden{"battery charging current written", "S 16a 14a D0a 07a P",
               "[S][SMBBatt][A][ChargingCurrent][A][[A]2000mA][A][P]"},
        Golden{"battery status read", "S 16a 16a R 17a C0a 00n P",
               "[S][SMBBatt](Wr)[A][BatteryStatus][A][s][SMBBatt](Rd)[A]"
               "[(INITIALIZED)(DISCHARGING)][N][P]"},
        Golden{
            "error code bits once each", "S 16a 16a R 17a 05a 00n P",
            "[S][SMBBatt](Wr)[A][BatteryStatus][A][s][SMBBatt](Rd)[A][(ErrCode)(ErrCode)][N][P]"},
        Golden{"status high byte", "S 16a 16a R 17a 00a 01n P",
               "[S][SMBBatt](Wr)[A][BatteryStatus][A][s][SMBBatt](Rd)[A][(REMAINING_TIME_ALARM)][N]"
               "[P]"},
        Golden{"battery mode: low byte bits first", "S 16a 03a R 17a 81a 03n P",
               "[S][SMBBatt](Wr)[A][Battery_Mode][A][s][SMBBatt](Rd)[A]"
               "[(CONDITION_FLAG)(INTERNAL_CHARGE_CONTROLLER)(PRIMARY_BATTERY)"
               "(CHARGE_CONTROLLER_ENABLED)][N][P]"},
        Golden{"battery mode with no bit set", "S 16a 03a R 17a 00a 00n P",
               "[S][SMBBatt](Wr)[A][Battery_Mode][A][s][SMBBatt](Rd)[A][][N][P]"},
        Golden{"charger status: no brackets, the ack stays", "S 14a 13a R 15a 01a 80n P",
               "[S][SMBChrgrSel](Wr)[A][ChargerStatus][A][s]15[A][A](CHARGE_INHIBITED)(AC_PRESENT)["
               "N][P]"},
        Golden{"charger status with no bit set", "S 14a 13a R 15a 00a 00n P",
               "[S][SMBChrgrSel](Wr)[A][ChargerStatus][A][s]15[A][A][N][P]"},
        Golden{"signed current", "S 16a 0Aa R 17a FFa FFn P",
               "[S][SMBBatt](Wr)[A][Current][A][s][SMBBatt](Rd)[A][-1mA][N][P]"},
        Golden{"unsigned voltage", "S 16a 09a R 17a FFa FFn P",
               "[S][SMBBatt](Wr)[A][Voltage][A][s][SMBBatt](Rd)[A][65535mV][N][P]"},
        Golden{"absolute zero", "S 16a 08a R 17a 00a 00n P",
               "[S][SMBBatt](Wr)[A][Temperature][A][s][SMBBatt](Rd)[A][-273.15degC][N][P]"},
        Golden{"room temperature", "S 16a 08a R 17a A6a 0Bn P",
               "[S][SMBBatt](Wr)[A][Temperature][A][s][SMBBatt](Rd)[A][25.05degC][N][P]"},
        Golden{"run time closes without a unit", "S 16a 11a R 17a 64a 00n P",
               "[S][SMBBatt](Wr)[A][Run_Time_To_Empty][A][s][SMBBatt](Rd)[A][100][N][P]"},
        Golden{"misspelt time to full", "S 16a 13a R 17a 64a 00n P",
               "[S][SMBBatt](Wr)[A][Averate_Time_To_Full][A][s][SMBBatt](Rd)[A][100][N][P]"},
        Golden{"selector charging current keeps its unit", "S 14a 14a R 15a D0a 07n P",
               "[S][SMBChrgrSel](Wr)[A][ChargingCurrent][A][s]15[A][2000mA][N][P]"},
        Golden{"selector code 11", "S 14a 11a R 15a 34a 12n P",
               "[S][SMBChrgrSel](Wr)[A][ChargerSpecInfo][A][s]15[A]34[A]12[N][P]"},
        Golden{"alarm warning bit 15", "S 12a 16a 00a 80a P",
               "[S][SMBChrgr](Wr)[A][AlarmWarning][A][(OVER_CHARGED_ALARM)][A][P]"},
        Golden{"alarm warning bit 5", "S 12a 16a 20a 00a P",
               "[S][SMBChrgr](Wr)[A][AlarmWarning][A][(FULLY_CHARGED)][A][P]"},
        Golden{"alarm warning: high byte first, bits 3-0 untested", "S 12a 16a 1Fa 10a P",
               "[S][SMBChrgr](Wr)[A][AlarmWarning][A][(OVER_TEMP_ALARM)(FULLY_DISCHARGED)][A][P]"},
        Golden{"selector state written without brackets", "S 14a 01a 34a 12a P",
               "[S][SMBChrgrSel](Wr)[A]SelectorState[A]34[A]12[A][P]"},
        Golden{"selector state is the selector's only", "S 12a 01a 34a 12a P",
               "[S][SMBChrgr](Wr)[A]01[A]34[A]12[A][P]"},
        Golden{"battery mode written keeps its digits", "S 16a 03a 34a 12a P",
               "[S][SMBBatt][A][Battery_Mode][A]34[A]12[A][P]"},
        Golden{"unknown command written to the battery", "S 16a 20a 34a 12a P",
               "[S][SMBBatt][A]20[A]34[A]12[A][P]"},
        Golden{"host address written: no command", "S 10a 12a 34a 12a P",
               "[S][Host](Wr)[A]12[A]34[A]12[A][P]"},
        Golden{"send byte to the battery", "S 16a 09a P", "[S][SMBBatt](Wr)[A]09[A][P]"},
        Golden{"send byte to the selector is not named", "S 14a 09a P", "[S]14[A]09[A][P]"},
        Golden{"quick command", "S 10a P", "[S][Host](Wr)[A][P]"},
        Golden{"write byte", "S 12a 03a 55a P", "[S][SMBChrgr](Wr)[A]03[A]55[A][P]"},
        Golden{"read byte names the write address only", "S 16a 09a R 17a 55n P",
               "[S][SMBBatt](Wr)[A]09[A][s]17[A]55[N][P]"},
        Golden{"read word from the charger names both addresses", "S 12a 15a R 13a 34a 30n P",
               "[S][SMBChrgr](Wr)[A]15[A][s][SMBChrgr](Rd)[A]34[A]30[N][P]"},
        Golden{"read address named whatever the first address", "S 20a 15a R 11a 34a 30n P",
               "[S]20[A]15[A][s][Host](Rd)[A]34[A]30[N][P]"},
        Golden{"read address 15 stays", "S 14a 01a R 15a 34a 30n P",
               "[S][SMBChrgrSel](Wr)[A][SelectorState][A][s]15[A]34[A]30[N][P]"},
        Golden{"12 events unchanged", "S 16a 09a R 17a P", "[S]16[A]09[A][s]17[A][P]"},
        Golden{"block read unchanged", "S 16a 20a R 17a 02a 41a 42n P",
               "[S]16[A]20[A][s]17[A]02[A]41[A]42[N][P]"}));

TEST(SbsDecoder, TemperatureTakesTheSeparatorItIsHandedNotTheCLibrarys) {
    Assembler a(DecodeMode::SBS);
    a.dec.decimal_separator = ",";  // the C library's locale here says "."
    const auto lines = a.run("S 16a 08a R 17a A6a 0Bn P");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[25,05degC]"), std::string::npos) << lines[0];
}

TEST(SbsDecoder, NoFlagTextOfOneReadReachesTheNext) {
    Assembler a(DecodeMode::SBS);
    const auto lines = a.run(
        "S 16a 16a R 17a 00a 01n P "
        "S 14a 13a R 15a 00a 00n P "
        "S 16a 03a R 17a 00a 00n P");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("[(REMAINING_TIME_ALARM)]"), std::string::npos);
    EXPECT_EQ(lines[1], prefix(2) + "[S][SMBChrgrSel](Wr)[A][ChargerStatus][A][s]15[A][A][N][P]");
    EXPECT_EQ(lines[2],
              prefix(3) + "[S][SMBBatt](Wr)[A][Battery_Mode][A][s][SMBBatt](Rd)[A][][N][P]");
}

TEST(SbsDecoder, StrayCharactersCountAsZeroDigitsAndStayWhereNotRewritten) {
    // The high byte's first nibble overflows ("2" is worth 2), so its stray last character
    // stands as digit 15; a stray character stands in place of the last acknowledge.
    Assembler a(DecodeMode::SBS);
    a.dec.feed(testing::events("S 16a 09a R 17a 34a") +
               "200x0000"
               "x"
               "P");
    ASSERT_EQ(a.sink.shown.size(), 1u);
    EXPECT_EQ(a.sink.shown[0],
              prefix(1) + "[S][SMBBatt](Wr)[A][Voltage][A][s][SMBBatt](Rd)[A][52mV]x[P]");
}

}  // namespace
}  // namespace velmora::monitor
