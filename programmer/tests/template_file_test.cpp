#include "template_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "device_operations.h"
#include "drive_word.h"
#include "files/tests/full_disk.h"
#include "form_record.h"
#include "jcl_ini_files.h"
#include "temp_folder.h"

namespace pelmo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class TemplateFile : public ::testing::Test {
  protected:
    std::string Contents() const { return testing::FileText(file_); }
    void Write(const std::string& text) const { testing::WriteFileText(file_, text); }
    // Settings that differ from the defaults in every kind of value.
    static FormValues Sample() {
        FormValues v;
        ApplyNewDefaults(v);
        v.CB1 = 3;
        v.CB2 = 2;
        v.Edit1 = "1234";
        v.Edit2 = "ABCD";
        v.RB1 = false;
        v.RB2 = true;
        v.Edit9 = "0";
        v.CheckBox5 = true;
        v.Edit6 = "SN000001";
        v.Edit11 = " spaced = text ";
        v.CB3 = 0;
        v.RB3 = false;
        v.RB12 = true;
        v.RB9 = false;
        v.CBX4 = 13;
        v.CBX6 = 4;
        v.RadioButton5 = false;
        v.RadioButton6 = true;
        v.ComboBox3 = 2;
        v.CheckBox13 = true;
        v.RadioButton19 = false;
        v.RadioButton20 = true;
        v.CheckBox26 = true;
        v.ComboBox8 = 3;
        v.CheckBox18 = true;
        return v;
    }

    testing::TempFolder folder_{"pelmo_template_"};
    fs::path dir_ = folder_.path();
    std::string file_ = (dir_ / "t.ept").string();
};

TEST_F(TemplateFile, SavedWithTessel2UItHoldsEveryKeyInTableOrder) {
    ASSERT_TRUE(WriteTemplate(file_, Sample()));
    std::string expected;
    std::string_view section;
    for (const auto& row : kTemplateRows) {
        if (row.section != section) {
            section = row.section;
            expected += "[" + std::string(section) + "]\r\n";
        }
        expected += std::string(row.key) + "=";
        const auto value = IniDocument::Parse(Contents()).Get(row.section, row.key);
        ASSERT_TRUE(value) << row.key;
        expected += *value + "\r\n";
    }
    EXPECT_EQ(Contents(), expected);
    const auto doc = IniDocument::Parse(Contents());
    EXPECT_EQ(doc.Get("Basic Details", "Device Type"), "3");
    EXPECT_EQ(doc.Get("Dual Device Specific Options B", "OPTO Isolate mode"), "1");
    EXPECT_EQ(doc.Get("T4 Device Specific Options", "In EndPoint Size"), "4");
    EXPECT_EQ(doc.Get("DualHS Device Specific Options", "IOPinDriveDual"), "2560");
    EXPECT_EQ(doc.Get("DualHS Device Specific Options", "UTMIDrive"), "0");
    EXPECT_EQ(doc.Get("QuadHS Device Specific Options", "IOPinDriveQuad"), std::to_string(0x7000));
    EXPECT_EQ(doc.Get("USB String Descriptors", "Product"), " spaced = text ");
}

TEST_F(TemplateFile, ReadsBackWhatWasSaved) {
    const FormValues saved = Sample();
    ASSERT_TRUE(WriteTemplate(file_, saved));
    FormValues other;
    other.CB14 = true;  // not in a template: kept
    // No key of their own: "RS232 UART" of the high-speed sides follows the other modes.
    other.RadioButton1 = other.RadioButton7 = false;
    FormValues read = ReadTemplate(file_, other);
    EXPECT_TRUE(read.CB14);
    read.CB14 = false;
    EXPECT_EQ(read, saved);
}

// Its own keys are replaced; every other line stays where it was. A file it cannot read
// whole, or could not open again whole, is left alone.
TEST_F(TemplateFile, SavingOverAnOldTemplateKeepsWhatItDoesNotWrite) {
    Write("; bench 4\r\n[Junk]\r\nx=1\r\n[Basic Details]\r\nDevice Type=9\r\nOwner=QA\r\n");
    ASSERT_TRUE(WriteTemplate(file_, Sample()));
    EXPECT_EQ(Contents().rfind(
                  "; bench 4\r\n[Junk]\r\nx=1\r\n[Basic Details]\r\nDevice Type=3\r\nOwner=QA\r\n"
                  "VID PID Type=2\r\n",
                  0),
              0u);
    EXPECT_FALSE(fs::exists(file_ + ".new"));
    Write(std::string(kIniReadLimit - 10, ';'));
    EXPECT_FALSE(WriteTemplate(file_, Sample()));
    EXPECT_EQ(fs::file_size(file_), kIniReadLimit - 10);
    Write(std::string(kIniReadLimit + 1, ';'));
    EXPECT_FALSE(WriteTemplate(file_, Sample()));
    EXPECT_EQ(fs::file_size(file_), kIniReadLimit + 1);
}

TEST_F(TemplateFile, ATemplateThatCannotBeWrittenLeavesTheOldOne) {
    Write("[Basic Details]\r\nDevice Type=9\r\n");
    {
        platform::files::testing::FullDisk full;
        std::string why;
        EXPECT_FALSE(WriteTemplate(file_, Sample(), &why));
        EXPECT_EQ(why, "File too large");
    }
    EXPECT_EQ(Contents(), "[Basic Details]\r\nDevice Type=9\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    EXPECT_FALSE(WriteTemplate((dir_ / "no such folder" / "t.ept").string(), Sample()));
}

TEST_F(TemplateFile, WithoutTheQuadSectionTheQuadOptionsAreOff) {
    ASSERT_TRUE(WriteTemplate(file_, Sample()));
    std::string text = Contents();
    text.erase(text.find("[QuadHS"));
    Write(text);
    const FormValues read = ReadTemplate(file_, Sample());
    for (bool vcp :
         {read.RadioButton13, read.RadioButton15, read.RadioButton17, read.RadioButton19}) {
        EXPECT_FALSE(vcp);
    }
    for (bool direct :
         {read.RadioButton14, read.RadioButton16, read.RadioButton18, read.RadioButton20}) {
        EXPECT_TRUE(direct);
    }
    EXPECT_FALSE(read.CheckBox26);
    EXPECT_EQ(PackQuadDrive(read), 0);
    EXPECT_EQ(read.ComboBox8, 0);
}

TEST_F(TemplateFile, MalformedTemplatesReadAsDefaults) {
    Write(
        "\x00\xFF garbage\r\n[Basic Details\r\nDevice Type=77\r\nVID PID Type=-1\r\n"
        "USB VID="s +
        std::string(100000, 'F') +
        "\r\n[T4 Device Specific Options]\r\nC0 Signal=14\r\n"
        "C4 Signal=9\r\nIn EndPoint Size=5\r\n[USB Power Options]\r\nBus Powered=yes\r\n");
    const FormValues read = ReadTemplate(file_, FormValues{});
    EXPECT_EQ(read.CB1, -1);
    EXPECT_EQ(read.CB2, -1);
    EXPECT_EQ(read.Edit1.size(), 100000u);
    EXPECT_EQ(read.CBX1, -1);
    EXPECT_EQ(read.CBX5, 9);
    EXPECT_EQ(read.CBX6, -1);
    EXPECT_FALSE(read.RB1);
    EXPECT_EQ(read.Edit10, "");
}

TEST_F(TemplateFile, AMissingFileOrAFifoReadsAsDefaults) {
    ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);  // opened for reading, it would wait for ever
    for (const fs::path& path : {dir_ / "none.ept", fs::path(file_)}) {
        const FormValues read = ReadTemplate(path.string(), Sample());
        EXPECT_EQ(read.CB1, 0);
        EXPECT_EQ(read.Edit10, "");
        EXPECT_FALSE(read.CheckBox6);
    }
}

struct ValidationCase {
    const char* name;
    void (*change)(FormValues&);
    std::vector<std::string> errors;
};

class Validation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(Validation, Lines) {
    FormValues v;
    ApplyNewDefaults(v);
    v.CB1 = 3;
    GetParam().change(v);
    EXPECT_EQ(ValidateTemplate(v), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Validation,
    ::testing::Values(
        ValidationCase{"Passes", [](FormValues&) {}, {}},
        ValidationCase{"EmptyPrefixWithFixedSerialPasses",
                       [](FormValues& v) {
                           v.Edit5.clear();
                           v.CheckBox5 = true;
                       },
                       {}},
        ValidationCase{"OneCharacterPrefixPasses", [](FormValues& v) { v.Edit5 = "R"; }, {}},
        ValidationCase{
            "EmptyPrefix",
            [](FormValues& v) { v.Edit5.clear(); },
            {"ERROR : You must fill in the Serial Number Prefix field with 2 characters"}},
        ValidationCase{"EmptyFixedSerial",
                       [](FormValues& v) {
                           v.CheckBox5 = true;
                           v.Edit6.clear();
                       },
                       {"ERROR : If you want a fixed serial number you must provide one"}},
        ValidationCase{"EverythingMissing",
                       [](FormValues& v) {
                           v.Edit5.clear();
                           v.Edit10.clear();
                           v.Edit11.clear();
                           v.Edit9.clear();
                           v.CB1 = 0;
                       },
                       {"ERROR : You must fill in the Serial Number Prefix field with 2 characters",
                        "ERROR : You must fill in Manufacturer Name",
                        "ERROR : You must fill in Product Description",
                        "ERROR : You must fill in current used from USB (0-500mA)",
                        "ERROR : You must select a valid device type"}},
        ValidationCase{"EmptyVendorId",
                       [](FormValues& v) { v.Edit1.clear(); },
                       {"ERROR : All zeros is an invalid VID"}},
        // An opened "0x0001" shows as "0x00" in the four-digit field: VID 0000.
        ValidationCase{"VendorIdZeroInTheFieldsFourDigits",
                       [](FormValues& v) { v.Edit1 = "0x0001"; },
                       {"ERROR : All zeros is an invalid VID"}},
        ValidationCase{"NoDeviceTypeSelected",
                       [](FormValues& v) { v.CB1 = -1; },
                       {"ERROR : You must select a valid device type"}},
        // 21 + 20 characters and a clock serial of 8
        ValidationCase{"StringsProgramWouldRefuse",
                       [](FormValues& v) { v.Edit10.resize(21, 'm'); },
                       {StringLengthError(48)}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelmo
