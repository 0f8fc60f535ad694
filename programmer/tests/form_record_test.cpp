#include "form_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device_type_page.h"
#include "drive_word.h"
#include "eeprom_image.h"
#include "eeprom_parse.h"
#include "text_helpers.h"
#include "ui/doubles.h"

namespace pelmo {
namespace {

constexpr OwnEnabled kAllEnabled{true, true, true, true};

class FormRecord : public ::testing::Test {
  protected:
    FormRecord() { ResetState(); }
    ~FormRecord() override { ResetState(); }

    // The settings of New for a device type, with the kinds its page selects.
    FormValues NewFor(int device_entry) {
        FormValues v;
        ApplyNewDefaults(v);
        v.CB1 = device_entry;
        state().Kinds = DeviceTypePage(device_entry, 0, false).kinds;
        return v;
    }
    ProgrammingRecord& record() { return state().ProgramData; }

    platform::ui::ScopedDoubles doubles;
};

TEST_F(FormRecord, NewSettingsOnASecondGenerationChip) {
    FormValues v = NewFor(3);
    FormToProgramData(v, kAllEnabled, 0);
    const auto& r = record();
    EXPECT_EQ(r.VendorId, 0x4B1D);
    EXPECT_EQ(r.ProductId, 0xE001);
    EXPECT_EQ(r.MaxPower, 100);
    EXPECT_EQ(r.SelfPowered, 0);
    EXPECT_EQ(r.PlugAndPlay, 1);
    EXPECT_EQ(r.IsT2, 1);
    EXPECT_EQ(r.UsbVersion, 0x0200);
    EXPECT_EQ(r.UsbVersionEnable, 1);
    EXPECT_EQ(r.SerNumEnable, 1);
    EXPECT_EQ(RecordText(r.Manufacturer), "KELD");
    EXPECT_EQ(RecordText(r.Description), "USB <-> Serial Cable");
    EXPECT_EQ(RecordText(r.SerialPrefix), "RL");
    // No fixed serial: the builder makes one from the clock.
    EXPECT_EQ(RecordText(r.SerialNumber), "");
}

TEST_F(FormRecord, FixedSerialStepsItsLastCharacterByTheCounter) {
    FormValues v = NewFor(3);
    v.CheckBox5 = true;
    v.Edit6 = "00000001";
    FormToProgramData(v, kAllEnabled, 3);
    EXPECT_EQ(RecordText(record().SerialNumber), "00000004");
    FormToProgramData(v, kAllEnabled, 9);
    EXPECT_EQ(RecordText(record().SerialNumber), "0000000:");  // no carry
    v.Edit6 = "AB\xFF";
    FormToProgramData(v, kAllEnabled, 2);
    EXPECT_EQ(RecordText(record().SerialNumber), "AB\x01");  // modulo 256
}

TEST_F(FormRecord, LongTextsAreCutToTheBuffers) {
    FormValues v = NewFor(3);
    v.Edit10 = std::string(200, 'M');
    v.CheckBox5 = true;
    v.Edit6 = std::string(100, '0');
    FormToProgramData(v, kAllEnabled, 1);
    EXPECT_EQ(RecordText(record().Manufacturer), std::string(63, 'M'));
    EXPECT_EQ(RecordText(record().SerialNumber), std::string(62, '0') + "1");
}

TEST_F(FormRecord, DisabledBoxesCountAsZero) {
    FormValues v = NewFor(3);
    v.CheckBox1 = v.CheckBox3 = v.CheckBox8 = v.CheckBox11 = true;
    FormToProgramData(v, OwnEnabled{}, 0);
    EXPECT_EQ(record().RemoteWakeup, 0);
    EXPECT_EQ(record().PlugAndPlay, 0);
    EXPECT_EQ(record().PullDownEnable, 0);
    EXPECT_EQ(record().SerNumEnable, 1);
    EXPECT_FALSE(state().SerialDisabled);
    FormToProgramData(v, kAllEnabled, 0);
    EXPECT_EQ(record().RemoteWakeup, 1);
    EXPECT_EQ(record().PullDownEnable, 1);
    EXPECT_EQ(record().SerNumEnable, 0);
    EXPECT_TRUE(state().SerialDisabled);
}

TEST_F(FormRecord, FirstGenerationNeverDisablesTheSerial) {
    FormValues v = NewFor(1);
    state().SerialDisabled = true;  // left from an opened template
    v.CheckBox8 = true;
    FormToProgramData(v, kAllEnabled, 0);
    EXPECT_FALSE(state().SerialDisabled);
    EXPECT_EQ(record().IsT2 + record().IsDual + record().IsT4 + record().Is5D + record().Is5Q, 0);
}

TEST_F(FormRecord, DualModesFirstTickedWins) {
    FormValues v = NewFor(5);
    v.RB3 = false;
    v.RB5 = v.RB6 = true;  // two ticked (a template may say so)
    v.RB7 = false;
    v.RB10 = true;
    v.RB13 = true;
    v.CB5 = true;
    v.CB3 = 0;
    FormToProgramData(v, kAllEnabled, 0);
    const auto& r = record();
    EXPECT_EQ(r.IsDual, 1);
    EXPECT_EQ(r.UsbVersion, 0x0110);
    EXPECT_EQ(r.UsbVersionEnable, 0);
    EXPECT_EQ(r.AIsCpuFifo, 1);
    EXPECT_EQ(r.AIsOptoIsolate, 0);
    EXPECT_EQ(r.AIsVcp, 0);
    EXPECT_EQ(r.BIs245Fifo, 1);
    EXPECT_EQ(r.BIsVcp, 1);
    EXPECT_EQ(r.BHighCurrent, 1);
}

TEST_F(FormRecord, FourthGenerationFields) {
    FormValues v = NewFor(kEntryTessel4F);
    v.CB6 = v.CB13 = true;
    v.CBX1 = 13;
    v.CBX5 = -1;  // no selection
    v.CBX6 = 2;
    v.CB16 = true;
    FormToProgramData(v, kAllEnabled, 0);
    const auto& r = record();
    EXPECT_EQ(r.IsT4, 1);
    EXPECT_EQ(r.T4IsFifoModel, 1);
    EXPECT_EQ(r.InvertTXD, 1);
    EXPECT_EQ(r.InvertRI, 1);
    EXPECT_EQ(r.InvertRXD, 0);
    EXPECT_EQ(r.C0Signal, 13);
    EXPECT_EQ(r.C4Signal, 0);
    EXPECT_EQ(r.InEndpointSize, 16);
    EXPECT_EQ(r.T4HighCurrentIO, 1);
}

TEST_F(FormRecord, HighSpeedDriveWords) {
    FormValues v = NewFor(9);
    v.ComboBox1 = 3;
    v.CheckBox10 = true;  // AL Schmitt
    v.ComboBox4 = 1;
    v.CheckBox9 = true;  // BH slow slew
    v.RadioButton1 = false;
    v.RadioButton3 = true;
    v.RadioButton11 = false;
    v.CheckBox27 = true;
    FormToProgramData(v, kAllEnabled, 0);
    const auto& r = record();
    EXPECT_EQ(r.Is5D, 1);
    EXPECT_EQ(r.IoPinDrive, 0x5000 | 0x000B);
    EXPECT_EQ(r.IFAIsFifoTar7, 1);
    EXPECT_EQ(r.AIsVCP7, 1);
    EXPECT_EQ(r.BIsVCP7, 0);
    EXPECT_EQ(r.SuspendOnD7Low, 1);
    EXPECT_EQ(r.UsbVersion, 0x0200);
}

TEST_F(FormRecord, DriveWordPacksAndUnpacks) {
    FormValues v;
    v.ComboBox5 = 2;
    v.CheckBox16 = true;
    v.CheckBox22 = true;
    v.ComboBox8 = -1;
    EXPECT_EQ(PackQuadDrive(v), 0x8042);
    FormValues back;
    UnpackQuadDrive(0xF3A1, back);
    EXPECT_EQ(back.ComboBox5, 1);
    EXPECT_FALSE(back.CheckBox15);
    EXPECT_EQ(back.ComboBox6, 2);
    EXPECT_TRUE(back.CheckBox20);
    EXPECT_EQ(back.ComboBox7, 3);
    EXPECT_FALSE(back.CheckBox17);
    EXPECT_EQ(back.ComboBox8, 3);
    EXPECT_TRUE(back.CheckBox18);
    EXPECT_TRUE(back.CheckBox22);
    EXPECT_EQ(PackQuadDrive(back), 0xF3A1);
}

// Settings through the image builder and the parser back into the controls come out
// as they went in.
class FormRoundTrip : public FormRecord, public ::testing::WithParamInterface<int> {};

TEST_P(FormRoundTrip, ControlsSurviveBuildAndParse) {
    const int entry = GetParam();
    FormValues v = NewFor(entry);
    v.CheckBox5 = true;
    v.Edit6 = "QX000123";
    v.Edit5 = "QX";
    v.Edit9 = "250";
    v.CheckBox1 = true;
    v.CheckBox3 = false;
    v.CheckBox11 = true;
    v.CB3 = 0;
    v.RB3 = false;
    v.RB6 = true;
    v.RB13 = false;
    v.RB14 = true;
    v.CB4 = true;
    v.CB8 = true;
    v.CBX2 = 7;
    v.CB17 = true;
    v.RadioButton1 = false;
    v.RadioButton4 = true;
    v.RadioButton11 = false;
    v.RadioButton12 = true;
    v.ComboBox2 = 2;
    v.CheckBox12 = true;
    v.RadioButton17 = false;
    v.RadioButton18 = true;
    v.CheckBox25 = true;
    v.ComboBox7 = 1;
    v.CheckBox21 = true;
    FormToProgramData(v, kAllEnabled, 0);
    const KindFlags kinds = state().Kinds;
    state().EepromSizeText = "93C56";
    if (kinds.KindT4) state().EepromSizeText = "93C46";
    BuildEepromImage(state().ProgramData);
    state().ReadBackImage = state().EepromImage;
    if (kinds.KindT4) state().ReadBackImage[66] = kinds.KindT4Fifo ? 1 : 0;
    const uint32_t type = kinds.KindDual ? 4
                          : kinds.KindT4 ? 5
                          : kinds.Kind5D ? 6
                          : kinds.Kind5Q ? 7
                          : kinds.KindT2 ? 0
                                         : 1;
    ClearProgramData();
    ASSERT_EQ(ParseImage(state().ProgramData, true, [type] { return std::optional(type); }),
              kParseOk);

    FormValues shown = NewFor(0);
    ProgramDataToForm(shown);
    // The controls the image of this kind holds come back as set; all others keep the
    // values they had.
    std::vector<std::string_view> held = {"Edit1", "Edit2",     "Edit5",    "Edit6",
                                          "Edit9", "Edit10",    "Edit11",   "RB1",
                                          "RB2",   "CheckBox1", "CheckBox3"};
    auto hold = [&](std::initializer_list<std::string_view> names) {
        held.insert(held.end(), names);
    };
    if (entry != 1) hold({"CheckBox8", "CheckBox11"});
    if (kinds.KindT2 || kinds.KindDual) hold({"CB3"});
    if (kinds.KindDual) {
        hold({"RB3", "RB4", "RB5", "RB6", "RB7", "RB8", "RB9", "RB10", "RB11", "RB12", "RB13",
              "RB14", "CB4", "CB5"});
    }
    FormValues expected = v;
    if (kinds.KindT4) {
        hold({"CB1", "CB6", "CB7", "CB8", "CB9", "CB10", "CB11", "CB12", "CB13", "CBX1", "CBX2",
              "CBX3", "CBX4", "CBX5", "CBX6", "CB15", "CB16", "CB17"});
        if (kinds.KindT4Fifo) {
            expected.CBX1 = expected.CBX2 = expected.CBX3 = expected.CBX4 = 13;
            expected.CBX5 = 1;
        }
    }
    if (kinds.Kind5D) {
        hold({"RadioButton1",  "RadioButton2",  "RadioButton3", "RadioButton4", "RadioButton5",
              "RadioButton6",  "RadioButton7",  "RadioButton8", "RadioButton9", "RadioButton10",
              "RadioButton11", "RadioButton12", "CheckBox27",   "ComboBox1",    "ComboBox2",
              "ComboBox3",     "ComboBox4",     "CheckBox2",    "CheckBox4",    "CheckBox7",
              "CheckBox9",     "CheckBox10",    "CheckBox12",   "CheckBox13",   "CheckBox14"});
    }
    if (kinds.Kind5Q) {
        hold({"RadioButton13", "RadioButton14", "RadioButton15", "RadioButton16", "RadioButton17",
              "RadioButton18", "RadioButton19", "RadioButton20", "CheckBox23",    "CheckBox24",
              "CheckBox25",    "CheckBox26",    "ComboBox5",     "ComboBox6",     "ComboBox7",
              "ComboBox8",     "CheckBox15",    "CheckBox16",    "CheckBox17",    "CheckBox18",
              "CheckBox19",    "CheckBox20",    "CheckBox21",    "CheckBox22"});
    }
    const FormValues before = NewFor(0);
    for (const auto& b : kFormBindings) {
        const bool is_held = std::find(held.begin(), held.end(), b.control) != held.end();
        const FormValues& want = is_held ? expected : before;
        const bool same = std::visit([&](auto m) { return shown.*m == want.*m; }, b.member);
        EXPECT_TRUE(same) << b.control << " of device type " << entry;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FormRoundTrip, ::testing::Values(1, 3, 5, 6, 7, 9, 10));

TEST_F(FormRecord, DecodedFifoModelForcesTheCPinLists) {
    auto& r = record();
    r.IsT4 = 1;
    r.T4IsFifoModel = 1;
    r.C0Signal = 5;
    r.C4Signal = 3;
    r.InEndpointSize = 64;
    FormValues v;
    ProgramDataToForm(v);
    EXPECT_EQ(v.CB1, kEntryTessel4F);
    EXPECT_TRUE(state().Kinds.KindT4Fifo);
    for (int entry : {v.CBX1, v.CBX2, v.CBX3, v.CBX4}) EXPECT_EQ(entry, 13);
    EXPECT_EQ(v.CBX5, 1);
    EXPECT_EQ(r.C0Signal, 0);
    EXPECT_EQ(r.C4Signal, 0);
    EXPECT_EQ(v.CBX6, 0);
}

TEST_F(FormRecord, DecodedValuesOutsideTheListsLeaveNoSelection) {
    auto& r = record();
    r.IsT4 = 1;
    r.C0Signal = 15;
    r.C4Signal = 12;
    r.InEndpointSize = 7;
    FormValues v;
    ProgramDataToForm(v);
    EXPECT_EQ(v.CB1, kEntryTessel4U);
    EXPECT_EQ(v.CBX1, -1);
    EXPECT_EQ(v.CBX5, -1);
    EXPECT_EQ(v.CBX6, -1);
}

TEST_F(FormRecord, DecodedSelfPoweredChipKeepsItsCurrent) {
    auto& r = record();
    r.SelfPowered = 1;
    r.MaxPower = 90;
    FormValues v;
    ProgramDataToForm(v);
    EXPECT_TRUE(v.RB2);
    EXPECT_FALSE(v.RB1);
    EXPECT_EQ(v.Edit9, "90");
}

struct PowerCase {
    const char* text;
    const char* replacement;  // nullptr: left as typed
};

class MaxPower : public ::testing::TestWithParam<PowerCase> {};

TEST_P(MaxPower, CapsAt500) {
    const auto r = MaxPowerReplacement(GetParam().text);
    if (GetParam().replacement) {
        ASSERT_TRUE(r);
        EXPECT_EQ(*r, GetParam().replacement);
    } else {
        EXPECT_FALSE(r);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, MaxPower,
                         ::testing::Values(PowerCase{"", nullptr}, PowerCase{"500", nullptr},
                                           PowerCase{"0500", nullptr}, PowerCase{"501", "500"},
                                           PowerCase{"750", "500"}, PowerCase{"abc", nullptr},
                                           PowerCase{"5x0", nullptr}, PowerCase{"6x0", "500"},
                                           PowerCase{"99999999999999999999", "500"}));

TEST(VendorId, AllZerosGoesBackToTheDefault) {
    EXPECT_EQ(VendorIdReplacement("0000"), "4B1D");
    EXPECT_FALSE(VendorIdReplacement("0001"));
    EXPECT_FALSE(VendorIdReplacement(""));
}

}  // namespace
}  // namespace pelmo
