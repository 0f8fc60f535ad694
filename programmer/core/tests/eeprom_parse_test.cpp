#include "eeprom_parse.h"

#include <gtest/gtest.h>

#include <optional>

#include "eeprom_image.h"
#include "test_support.h"

namespace pelmo {
namespace {

using testing::ProgrammerTest;
using testing::RecordWithStrings;

DeviceTypeQuery TypeIs(std::optional<uint32_t> type) {
    return [type] { return type; };
}

struct RoundTrip {
    const char* name;
    KindFlags kinds;
    const char* size;
    uint32_t device_type;
    ProgrammingRecord fields;  // the kind's fields as the image carries them
};

ProgrammingRecord Common(ProgrammingRecord r) {
    r.VendorId = 0x1234;
    r.ProductId = 0xABCD;
    r.MaxPower = 250;
    r.SelfPowered = 1;
    r.RemoteWakeup = 1;
    return r;
}

const RoundTrip kRoundTrips[] = {
    {"first generation", {}, "93C46", 1, Common({})},
    {"second generation",
     {.KindT2 = true},
     "93C46",
     0,
     Common({.PlugAndPlay = 1,
             .IsT2 = 1,
             .PullDownEnable = 1,
             .SerNumEnable = 1,
             .UsbVersionEnable = 1,
             .UsbVersion = 0x0110})},
    {"dual 93C46",
     {.KindDual = true},
     "93C46",
     4,
     Common({.SerNumEnable = 1,
             .UsbVersion = 0x0200,
             .IsDual = 1,
             .AHighCurrent = 1,
             .AIsCpuFifo = 1,
             .AIsVcp = 1,
             .BIsOptoIsolate = 1})},
    {"dual 93C56",
     {.KindDual = true},
     "93C56",
     4,
     Common({.PullDownEnable = 1,
             .SerNumEnable = 1,
             .UsbVersion = 0x0200,
             .IsDual = 1,
             .BHighCurrent = 1,
             .AIs245Fifo = 1,
             .BIs245Fifo = 1,
             .BIsVcp = 1})},
    {"dual 93C66",
     {.KindDual = true},
     "93C66",
     4,
     Common({.SerNumEnable = 1, .UsbVersionEnable = 1, .UsbVersion = 0x0110, .IsDual = 1})},
    {"fourth generation UART",
     {.KindT4 = true},
     "93C46",
     5,
     Common({.PlugAndPlay = 1,
             .PullDownEnable = 1,
             .SerNumEnable = 1,
             .IsT4 = 1,
             .T4HighCurrentIO = 1,
             .T4LoadRawlinkDriver = 1,
             .InvertTXD = 1,
             .InvertCTS = 1,
             .InvertRI = 1,
             .InEndpointSize = 64,
             .C0Signal = 10,
             .C1Signal = 1,
             .C2Signal = 2,
             .C3Signal = 13,
             .C4Signal = 9})},
    {"fourth generation FIFO",
     {.KindT4 = true, .KindT4Fifo = true},
     "93C46",
     5,
     Common({.SerNumEnable = 1,
             .IsT4 = 1,
             .T4IsFifoModel = 1,
             .T4UseExtOsc = 1,
             .InEndpointSize = 4})},
    {"high-speed dual 93C46",
     {.Kind5D = true},
     "93C46",
     6,
     Common({.SerNumEnable = 1,
             .Is5D = 1,
             .IFAIsFifo7 = 1,
             .AIsVCP7 = 1,
             .IFBIsFastSer7 = 1,
             .IoPinDrive = 0xC4A1,
             .SuspendOnD7Low = 1})},
    {"high-speed dual 93C56",
     {.Kind5D = true},
     "93C56",
     6,
     Common({.PullDownEnable = 1,
             .SerNumEnable = 1,
             .Is5D = 1,
             .IFAIsFifoTar7 = 1,
             .IFBIsFifo7 = 1,
             .IFBIsFifoTar7 = 1,
             .BIsVCP7 = 1})},
    {"high-speed quad 93C56",
     {.Kind5Q = true},
     "93C56",
     7,
     Common({.SerNumEnable = 1,
             .IoPinDrive = 0x1234,
             .Is5Q = 1,
             .AIsVCP8 = 1,
             .DIsVCP8 = 1,
             .BRIisTXDEN = 1,
             .CRIisTXDEN = 1})},
    {"high-speed quad 93C66",
     {.Kind5Q = true},
     "93C66",
     7,
     Common({.PlugAndPlay = 1,
             .SerNumEnable = 1,
             .Is5Q = 1,
             .BIsVCP8 = 1,
             .CIsVCP8 = 1,
             .ARIisTXDEN = 1,
             .DRIisTXDEN = 1})},
};

class EepromParse : public ProgrammerTest {
  protected:
    // The build as a chip of `size` reads it back: a 64-word part repeats itself in
    // the upper half.
    void ChipHoldsBuiltImage(const std::string& size) {
        auto& s = state();
        s.ReadBackImage = s.EepromImage;
        if (size == "93C46") {
            std::copy_n(s.EepromImage.begin(), 64, s.ReadBackImage.begin() + 64);
        }
    }
    EepromWords& readback() { return state().ReadBackImage; }
};

TEST_F(EepromParse, BuildThenParseGivesTheRecordBack) {
    for (const auto& c : kRoundTrips) {
        SCOPED_TRACE(c.name);
        auto& s = state();
        s.Kinds = c.kinds;
        s.EepromSizeText = c.size;
        auto& r = RecordWithStrings("Maker", "A bridge", "", "SN000042");
        const ProgrammingRecord expected = [&] {
            ProgrammingRecord e = c.fields;
            PointAtBuffers(e);
            return e;
        }();
        r = expected;
        BuildEepromImage(r);
        ChipHoldsBuiltImage(c.size);
        if (c.kinds.KindT4) readback()[66] = c.kinds.KindT4Fifo ? 0x0001 : 0x0000;

        ClearProgramData();
        s.Kinds = {.KindT2 = true, .Kind5Q = true};  // a fresh parse forgets the selection
        ASSERT_EQ(ParseImage(s.ProgramData, true, TypeIs(c.device_type)), kParseOk);
        EXPECT_EQ(s.ProgramData, expected);
        EXPECT_EQ(s.Kinds, c.kinds);
        EXPECT_EQ(s.EepromSizeText, c.size);
        EXPECT_EQ(BufferText(s.ManufacturerBuffer), "Maker");
        EXPECT_EQ(BufferText(s.DescriptionBuffer), "A bridge");
        EXPECT_EQ(BufferText(s.SerialBuffer), "SN000042");
    }
}

TEST_F(EepromParse, NotFreshKeepsTheSelectionAndAddsTheDeviceKind) {
    auto& s = state();
    s.Kinds.KindDual = true;
    s.EepromSizeText = "93C46";
    auto& r = RecordWithStrings("M", "D", "", "S");
    r.IsDual = 1;
    r.SerNumEnable = 1;
    BuildEepromImage(r);
    ChipHoldsBuiltImage("93C46");
    EXPECT_EQ(ParseImage(s.ProgramData, false, TypeIs(4)), kParseOk);
    EXPECT_TRUE(s.Kinds.KindDual);
    EXPECT_EQ(BufferText(s.SerialBuffer), "S");
}

TEST_F(EepromParse, BlankOrBrokenImagesAreInvalid) {
    struct Case {
        const char* name;
        bool fresh;
        KindFlags selected;
        uint16_t word0;
        uint16_t word127;
        bool good_checksum;
        uint32_t device_type;
        KindFlags after;
    };
    const Case cases[] = {
        {"fresh blank", true, {}, 0xFFFF, 0x1111, true, 0, {.KindT2 = true}},
        {"fresh blank dual", true, {}, 0xFFFF, 0x1111, true, 4, {.KindDual = true}},
        {"invalid path sets no fourth generation", true, {}, 0xFFFF, 0x1111, true, 5, {}},
        {"bad checksum", true, {}, 0x0000, 0x1111, false, 1, {}},
        {"bad checksum, second generation", true, {}, 0x0000, 0x1111, false, 0, {.KindT2 = true}},
        {"not fresh, word 127 zero",
         false,
         {.KindT2 = true},
         0,
         0,
         true,
         6,
         {.KindT2 = true, .Kind5D = true}},
        {"not fresh, blank", false, {}, 0xFFFF, 1, true, 0, {.KindT2 = true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& s = state();
        s.Kinds = c.selected;
        readback().fill(0);
        readback()[0] = c.word0;
        readback()[127] = c.word127;
        readback()[63] = ImageChecksum(readback(), 64) ^ (c.good_checksum ? 0 : 1);
        ClearProgramData();
        EXPECT_EQ(ParseImage(s.ProgramData, c.fresh, TypeIs(c.device_type)), kParseInvalid);
        EXPECT_EQ(s.Kinds, c.after);
    }
}

TEST_F(EepromParse, FourthGenerationWord66DecidesTheFifoModel) {
    auto& s = state();
    readback()[0] = 0x0001;
    readback()[66] = 0xFFFF;
    readback()[63] = ImageChecksum(readback(), 64);
    ClearProgramData();
    ASSERT_EQ(ParseImage(s.ProgramData, true, TypeIs(5)), kParseOk);
    EXPECT_EQ(s.ProgramData.T4IsFifoModel, 0);
    EXPECT_FALSE(s.Kinds.KindT4Fifo);
    EXPECT_EQ(s.ChipFlagsWord, 0x0000);

    readback()[0] = 0x0000;
    readback()[66] = 0x0003;
    readback()[63] = ImageChecksum(readback(), 64);
    ASSERT_EQ(ParseImage(s.ProgramData, true, TypeIs(5)), kParseOk);
    EXPECT_EQ(s.ProgramData.T4IsFifoModel, 1);
    EXPECT_TRUE(s.Kinds.KindT4Fifo);
}

TEST_F(EepromParse, UnknownTypeWordSkipsTheChecksum) {
    auto& s = state();
    for (int type_word : {10, 12}) {
        readback().fill(0x1234);
        readback()[type_word] = 0x0099;
        ClearProgramData();
        EXPECT_EQ(ParseImage(s.ProgramData, true, TypeIs(type_word == 10 ? 4 : 6)), kParseOk);
        EXPECT_EQ(s.EepromSizeText, "93C46");
    }
}

TEST_F(EepromParse, SerialDisabledUnlessEnabledOrFirstGeneration) {
    auto& s = state();
    s.Kinds.KindT2 = true;
    s.EepromSizeText = "93C46";
    auto& r = RecordWithStrings("M", "D", "", "SER");
    r.IsT2 = 1;
    BuildEepromImage(r);
    ChipHoldsBuiltImage("93C46");
    ClearProgramData();
    ASSERT_EQ(ParseImage(s.ProgramData, true, TypeIs(0)), kParseOk);
    EXPECT_EQ(BufferText(s.SerialBuffer), "Disabled");
    ClearProgramData();
    ASSERT_EQ(ParseImage(s.ProgramData, true, TypeIs(1)), kParseOk);
    EXPECT_EQ(BufferText(s.SerialBuffer), "SER");
}

TEST_F(EepromParse, DescriptorsPointingAnywhereStayInsideImageAndBuffers) {
    struct Case {
        const char* name;
        const char* size;
        uint16_t pointer;
        size_t chars;
    };
    // Image of 'A' words with a zero at word 127; pointers with every extreme.
    const Case cases[] = {
        {"header at the last word, 126 characters", "93C66", 0xFEFE, 0},
        {"header near the end", "93C66", 0xFEF0, 7},
        {"length zero", "93C46", 0x0094, 0},
        {"header only", "93C46", 0x0294, 0},
        {"longest count, clamped to the buffer", "93C46", 0xFE94, 63},
        {"small part ignores bit 7", "93C46", 0x06FE, 2},
        {"large part uses it", "93C56", 0x06F0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& s = state();
        readback().fill(0x0041);
        readback()[0] = 0;
        readback()[127] = 0;
        readback()[10] = 0x0099;  // dual with an unknown type word: no checksum
        for (int w : {7, 8, 9}) readback()[w] = c.pointer;
        readback()[5] = 0x0008;
        ClearProgramData();
        s.EepromSizeText = c.size;
        s.Kinds = {.KindDual = true};
        ASSERT_EQ(ParseImage(s.ProgramData, false, TypeIs(4)), kParseInvalid);  // word 127 = 0
        readback()[127] = 0x0041;
        ASSERT_EQ(ParseImage(s.ProgramData, false, TypeIs(4)), kParseOk);
        EXPECT_EQ(BufferText(s.ManufacturerBuffer).size(), c.chars);
        EXPECT_EQ(BufferText(s.SerialBuffer).size(), c.chars);
        EXPECT_EQ(s.ProgramData.PlugAndPlay, 0);
    }
}

}  // namespace
}  // namespace pelmo
