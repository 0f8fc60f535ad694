#include "formats/value_entry.h"

#include <gtest/gtest.h>

namespace f = velmora::formats;
using f::BusMode;

namespace {

struct Entry {
    std::string protocol = "Write Word";
    std::string value;
    std::string command = "21";
    std::string format = std::string(f::kSelectFormat);
    std::string xtext = "-13";
};

f::ValueEntryOutcome run(BusMode mode, const Entry& e) {
    return f::value_entry_outcome(mode, {e.protocol, e.value, e.command, e.format, e.xtext});
}

Entry pmbus(std::string_view format, std::string value, std::string xtext = "-13") {
    Entry e;
    e.format = std::string(format);
    e.value = std::move(value);
    e.xtext = std::move(xtext);
    return e;
}

Entry battery(std::string command, std::string value) {
    Entry e;
    e.command = std::move(command);
    e.value = std::move(value);
    return e;
}

void expect_bytes(const f::ValueEntryOutcome& out, const char* ls, const char* ms,
                  const char* message = "") {
    EXPECT_TRUE(out.write_bytes);
    EXPECT_EQ(out.bytes.ls_byte, ls);
    EXPECT_EQ(out.bytes.ms_byte, ms);
    EXPECT_EQ(out.message, message);
}

const char* kOverflow = "Number overflow, please clear and reenter";

}  // namespace

TEST(ValueEntry, ManualExponentEncodesWordOverTwoToX) {
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "3")), "00", "60");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "2.5", "0")), "02",
                 "00");  // half to even
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "3.5", "0")), "04", "00");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "-1", "0")), "00", "00");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "65535", "0.4")), "FF", "FF");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "1", "&HF")), "00", "00");  // 1/32768
}

TEST(ValueEntry, ManualExponentOverflows) {
    // Beyond the word: refused instead of wrapping into bit 15 plus a remainder.
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "65535.5", "0")), "00", "00", kOverflow);
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "8", "-13")), "00", "00", kOverflow);
    // W beyond 32 bits.
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "65536", "-15")), "00", "00", kOverflow);
    // X beyond 16 bits (the exponent box normally prevents it).
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "1", "40000")), "00", "00", kOverflow);
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExpManual, "0", "-32768")), "00", "00", kOverflow);
}

TEST(ValueEntry, Exp5bMan11bExamples) {
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "1")), "02", "F8");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "2000")), "7D", "20");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "0")), "00", "00");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "-5")), "00", "00");
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "3000")), "00", "00", kOverflow);
    expect_bytes(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, "2147.4836475")), "00", "00",
                 kOverflow);
}

TEST(ValueEntry, TextThatIsNoNumberGivesZeroBytesSilently) {
    for (auto format : {f::kExp5bMan11b, f::kExpManual})
        for (const char* text : {"abc", "-", "1e", "1,5"})
            expect_bytes(run(BusMode::PMBus, pmbus(format, text)), "00", "00");
    expect_bytes(run(BusMode::SBS, battery("14", "abc")), "00", "00");  // reads as 0
}

TEST(ValueEntry, OtherFormatsAndModesConvertNothing) {
    for (auto format : {f::kSelectFormat, f::kExpAuto, std::string_view("exp5b man11b")}) {
        auto out = run(BusMode::PMBus, pmbus(format, "3"));
        EXPECT_FALSE(out.write_bytes) << format;
        EXPECT_EQ(out.message, "");
    }
    EXPECT_FALSE(run(BusMode::I2C, pmbus(f::kExp5bMan11b, "3")).write_bytes);
}

TEST(ValueEntry, SmartBatteryIntegersOnlyForCommands15And14) {
    expect_bytes(run(BusMode::SBS, battery("15", "12600")), "38", "31");
    expect_bytes(run(BusMode::SBS, battery("14", " 2.5mA")), "02", "00");
    expect_bytes(run(BusMode::SBS, battery("14", "&H1F4")), "F4", "01");
    expect_bytes(run(BusMode::SBS, battery("14", "-500")), "00", "00");
    expect_bytes(run(BusMode::SBS, battery("15", "70000")), "00", "00", kOverflow);
    expect_bytes(run(BusMode::SBS, battery("15", "1e10")), "00", "00", kOverflow);
    for (const char* cmd : {"0F", "0x15", " 15", "15 ", "16"})
        EXPECT_FALSE(run(BusMode::SBS, battery(cmd, "12600")).write_bytes) << cmd;
}

TEST(ValueEntry, OnlyWriteWordTypesConvert) {
    Entry e = battery("15", "12600");
    for (const char* type : {"Read Word", "Write Byte", "write word", "", "Ext Read Word"}) {
        e.protocol = type;
        auto out = run(BusMode::SBS, e);
        EXPECT_FALSE(out.write_bytes) << type;
        EXPECT_FALSE(out.value_to_zero) << type;
    }
    e.protocol = "Ext Write Word";
    expect_bytes(run(BusMode::SBS, e), "38", "31");
}

TEST(ValueEntry, EmptiedBoxBecomesZeroThenConverts) {
    auto out = run(BusMode::PMBus, pmbus(f::kExp5bMan11b, ""));
    EXPECT_TRUE(out.value_to_zero);
    expect_bytes(out, "00", "00");
    EXPECT_TRUE(run(BusMode::I2C, pmbus(f::kSelectFormat, "")).value_to_zero);
    EXPECT_FALSE(run(BusMode::PMBus, pmbus(f::kExp5bMan11b, " ")).value_to_zero);
}

TEST(TranslationMode, ExponentBoxAndAutoRead) {
    auto manual = f::translation_mode_choice(f::kExpManual, false);
    EXPECT_EQ(manual.exponent_box, f::ExponentBox::Show);
    EXPECT_FALSE(manual.read_vout_mode);
    auto autoread = f::translation_mode_choice(f::kExpAuto, true);
    EXPECT_EQ(autoread.exponent_box, f::ExponentBox::Keep);
    EXPECT_TRUE(autoread.read_vout_mode);
    for (auto item : {f::kSelectFormat, f::kExp5bMan11b}) {
        EXPECT_EQ(f::translation_mode_choice(item, true).exponent_box, f::ExponentBox::Hide);
        EXPECT_FALSE(f::translation_mode_choice(item, true).read_vout_mode);
    }
    EXPECT_FALSE(f::translation_mode_choice(f::kExpAuto, false).read_vout_mode);  // main panel
}

TEST(Xtext, OutOfRangeExponentBecomesMinus13) {
    for (const char* bad : {"16", "-16", "15.5", "1e3", "&H10"})
        EXPECT_EQ(f::xtext_repair(bad), "-13") << bad;
    for (const char* good : {"15", "-15", "abc", "", "-13", "0"})
        EXPECT_FALSE(f::xtext_repair(good)) << good;
}
