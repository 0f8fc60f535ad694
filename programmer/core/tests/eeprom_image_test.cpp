#include "eeprom_image.h"

#include <gtest/gtest.h>

#include "eeprom_bits.h"
#include "test_support.h"

namespace pelmo {
namespace {

using testing::ProgrammerTest;
using testing::RecordWithStrings;

class EepromBuild : public ProgrammerTest {
  protected:
    ProgrammingRecord& KeldRecord(const std::string& fixed_serial = "") {
        auto& r = RecordWithStrings("KELD", "USB <-> Serial Cable", "RL", fixed_serial);
        r.VendorId = 0x4B1D;
        r.ProductId = 0xE001;
        r.MaxPower = 100;
        return r;
    }
    const EepromWords& image() { return state().EepromImage; }
};

TEST_F(EepromBuild, SecondGenerationStringsAndPointers) {
    state().Kinds.KindT2 = true;
    state().EepromSizeText = "93C46";
    auto& r = KeldRecord();
    r.IsT2 = 1;
    const std::string serial = BuildEepromImage(r);
    // 2026-12-09 04:28:05 UTC packs to 722618117
    EXPECT_EQ(serial, "RLBY87PH");
    EXPECT_EQ(image()[10], 0x030A);
    EXPECT_EQ(image()[7], 0x0A94);
    EXPECT_EQ(image()[15], 0x032A);
    EXPECT_EQ(image()[8], 0x2A9E);
    EXPECT_EQ(image()[36], 0x0312);
    EXPECT_EQ(image()[9], 0x12C8);
    EXPECT_EQ(image()[45], 0x0000);
    EXPECT_EQ(image()[46], 0x0001);
    EXPECT_EQ(image()[11], 'K');
    EXPECT_EQ(image()[37], 'R');
    EXPECT_EQ(image()[3], 0x0400);
    EXPECT_EQ(image()[4], 0x3280);
    EXPECT_EQ(image()[63], ImageChecksum(image(), 64));
}

TEST_F(EepromBuild, PlugAndPlayLeavesItsWordZero) {
    auto& r = KeldRecord("12345678");
    r.PlugAndPlay = 1;
    BuildEepromImage(r);
    EXPECT_EQ(image()[46], 0x0000);
}

TEST_F(EepromBuild, DualOn93C56MovesStringsToUpperHalf) {
    state().Kinds.KindDual = true;
    state().EepromSizeText = "93C56";
    auto& r = KeldRecord("12345678");
    r.IsDual = 1;
    BuildEepromImage(r);
    EXPECT_EQ(image()[10], 0x0056);
    EXPECT_EQ(image()[7], 0x0A96);  // byte 0x16 with bit 7 set: byte 0x96, word 75
    EXPECT_EQ(image()[75], 0x030A);
    EXPECT_EQ(image()[76], 'K');
    for (int w = 11; w < 64; ++w) EXPECT_EQ(image()[w], 0) << w;
    EXPECT_EQ(image()[3], 0x0500);
    EXPECT_EQ(image()[127], ImageChecksum(image(), 128));
}

TEST_F(EepromBuild, TypeWordBySize) {
    struct Case {
        KindFlags kinds;
        const char* size;
        int type_word;
        uint16_t type;
        int checksum_word;
    };
    const Case cases[] = {
        {{.KindDual = true}, "93C46", 10, 0x0046, 63},
        {{.KindDual = true}, "93C66", 10, 0x0066, 127},
        {{.KindDual = true}, "Unknown", 10, 0x0066, 127},
        {{.Kind5D = true}, "93C46", 12, 0x0046, 63},
        {{.Kind5D = true}, "93C56", 12, 0x0056, 127},
        {{.Kind5Q = true}, "93C66", 12, 0x0066, 127},
    };
    for (const auto& c : cases) {
        state().Kinds = c.kinds;
        state().EepromSizeText = c.size;
        BuildEepromImage(KeldRecord("12345678"));
        EXPECT_EQ(image()[c.type_word], c.type) << c.size;
        EXPECT_EQ(image()[c.checksum_word], ImageChecksum(image(), c.checksum_word + 1)) << c.size;
    }
}

TEST_F(EepromBuild, FixedSerialReadsNoClock) {
    struct CountingClock : platform::ui::FakeClock {
        int reads = 0;
        platform::ui::UtcTime utc_now() override {
            ++reads;
            return utc;
        }
    } clock;
    platform::ui::install(&clock);
    const std::string serial = BuildEepromImage(KeldRecord("00000001"));
    platform::ui::install(&doubles.clock);
    EXPECT_EQ(serial, "00000001");
    EXPECT_EQ(clock.reads, 0);
    EXPECT_EQ(image()[36], 0x0312);
}

TEST_F(EepromBuild, FirstGenerationRepeatsThePowerWord) {
    auto& r = KeldRecord("1");
    r.SelfPowered = 1;
    r.RemoteWakeup = 1;
    BuildEepromImage(r);
    EXPECT_EQ(image()[4], 0x32E0);
    EXPECT_EQ(image()[6], image()[4]);
    EXPECT_EQ(image()[3], 0x0200);
    EXPECT_EQ(image()[0], 0);
    EXPECT_EQ(image()[5], 0);
}

TEST_F(EepromBuild, FourthGenerationPinsAndWords) {
    state().Kinds.KindT4 = true;
    auto& r = KeldRecord("1");
    r.IsT4 = 1;
    r.C0Signal = 1;
    r.C1Signal = 2;
    r.C2Signal = 3;
    r.C3Signal = 4;
    r.C4Signal = 0x15;
    r.InEndpointSize = 64;
    r.T4LoadRawlinkDriver = 1;
    r.InvertRI = 1;
    r.SerNumEnable = 1;
    BuildEepromImage(r);
    EXPECT_EQ(image()[10], 0x4321);
    EXPECT_EQ(image()[11], 0x0005);
    EXPECT_EQ(image()[12], 0x030A);  // strings from byte 0x18
    EXPECT_EQ(image()[0], 0x4008);
    EXPECT_EQ(image()[5], 0x8008);
    EXPECT_EQ(image()[3], 0x0000);
    EXPECT_EQ(image()[6], 0x0000);
}

TEST_F(EepromBuild, PowerWord) {
    ProgrammingRecord r;
    r.MaxPower = 100;
    EXPECT_EQ(PowerWord(r), 0x3280);
    r.MaxPower = 501;
    r.SelfPowered = 1;
    EXPECT_EQ(PowerWord(r), 0xFAC0);
}

TEST_F(EepromBuild, ChipAndConfigFlagsPerKind) {
    ProgrammingRecord r;
    r.AIs245Fifo = r.AIsCpuFifo = 1;  // first set wins
    r.BIsOptoIsolate = r.BIsVcp = r.BHighCurrent = 1;
    r.IsoInB = r.IsoOutA = r.PullDownEnable = 1;
    r.IFAIsFastSer7 = r.SuspendOnD7Low = 1;
    r.CIsVCP8 = r.DRIisTXDEN = 1;
    struct Case {
        KindFlags kinds;
        uint16_t chip;
        uint16_t config;
    };
    const Case cases[] = {
        {{}, 0x0000, 0x0000},
        {{.KindT2 = true}, 0x0000, 0x0004},
        {{.KindDual = true}, 0x1C01, 0x0026},
        {{.Kind5D = true}, 0x8004, 0x0004},
        {{.Kind5Q = true}, 0x0080, 0x8004},
    };
    for (const auto& c : cases) {
        state().Kinds = c.kinds;
        PackChipFlags(r);
        PackConfigFlags(r);
        EXPECT_EQ(state().ChipFlagsWord, c.chip);
        EXPECT_EQ(state().ConfigFlagsWord, c.config);
    }
}

TEST_F(EepromBuild, ChecksumOfZerosForBothSizes) {
    EepromWords zeros{};
    EXPECT_EQ(ImageChecksum(zeros, 64), 0x5555);
    EXPECT_EQ(ImageChecksum(zeros, 128), 0x5555);
    StoreChecksum128();
    EXPECT_EQ(state().EepromImage[127], 0x5555);
    state().ReadBackImage[63] = 0x5555;
    EXPECT_TRUE(VerifyChecksum64());
    state().ReadBackImage[1] = 1;
    EXPECT_FALSE(VerifyChecksum64());
}

TEST(ClockSerial, Base36SixDigits) {
    EXPECT_EQ(ToBase36(0), "000000");
    EXPECT_EQ(ToBase36(35), "00000Z");
    EXPECT_EQ(ToBase36(36), "000010");
    EXPECT_EQ(ToBase36(2176782335u), "ZZZZZZ");
    EXPECT_EQ(ToBase36(722618117u), "BY87PH");
}

TEST(ClockSerial, PacksEachFieldInItsBits) {
    EXPECT_EQ(PackUtcTime({2026, 12, 9, 4, 28, 5}), 722618117u);
    EXPECT_EQ(PackUtcTime({0, 0, 0, 0, 0, 1}), 1u);
    EXPECT_EQ(PackUtcTime({0, 0, 0, 0, 1, 0}), 64u);
    EXPECT_EQ(PackUtcTime({31, 15, 31, 31, 63, 63}), 0x7FFFFFFFu);
}

TEST_F(EepromBuild, StringsMustEndBeforeTheChecksumWord) {
    struct Case {
        KindFlags kinds;
        size_t fitting;  // longest total of the three texts that fits
    };
    const Case cases[] = {
        {{}, 48},
        {{.KindT2 = true}, 48},
        {{.KindDual = true}, 47},
        {{.KindT4 = true}, 46},
        {{.Kind5D = true}, 45},
        {{.Kind5Q = true}, 45},
    };
    for (const auto& c : cases) {
        state().Kinds = c.kinds;
        const std::string desc(c.fitting - 12, 'd');
        auto& fits = RecordWithStrings("KELD", desc, "", "12345678");
        EXPECT_TRUE(StringsFitImage(fits)) << c.fitting;
        auto& too_long = RecordWithStrings("KELD", desc + "d", "", "12345678");
        EXPECT_FALSE(StringsFitImage(too_long)) << c.fitting;
        // a clock serial counts as the prefix and six characters
        auto& clock = RecordWithStrings("KELD", desc, "RL", "");
        EXPECT_TRUE(StringsFitImage(clock));
        auto& clock_long = RecordWithStrings("KELD", desc, "RLX", "");
        EXPECT_FALSE(StringsFitImage(clock_long));
    }
}

TEST_F(EepromBuild, OverlongStringsNeverWriteOutsideTheImage) {
    state().Kinds.Kind5Q = true;
    state().EepromSizeText = "93C66";
    auto& r =
        RecordWithStrings(std::string(63, 'm'), std::string(63, 'd'), std::string(63, 'p'), "");
    const std::string serial = BuildEepromImage(r);
    EXPECT_EQ(serial.size(), 69u);
    EXPECT_EQ(state().EepromImage[12], 0x0066);
}

}  // namespace
}  // namespace pelmo
