#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <fstream>

#include "jcl_ini_files.h"
#include "template_file.h"
#include "window_fixture.h"

namespace pelmo {
namespace {

using testing::WindowTest;

constexpr const char* kEditTitle = "Pelmo - Multi Device EEPROM Programmer ( Edit Mode )";
constexpr const char* kProgramTitle = "Pelmo - Multi Device EEPROM Programmer ( Program Mode )";

class TemplateWindow : public WindowTest {
  protected:
    std::string file(const char* name) const { return templates() + "/" + name; }
    // New, a device type, Save As under `name`.
    void SaveNew(int device_entry, const char* name) {
        act("MPNew")->trigger();
        pick("CB1", device_entry);
        doubles.ui.file_answers.push_back(file(name));
        act("MPSaveAs")->trigger();
    }
    void Open(const std::string& path) {
        doubles.ui.file_answers.push_back(path);
        act("MPOpen")->trigger();
    }
    void ExpectProgramMode(bool erase) {
        EXPECT_EQ(form->windowTitle(), kProgramTitle);
        EXPECT_FALSE(enabled("MPSave"));
        EXPECT_FALSE(enabled("MPSaveAs"));
        EXPECT_TRUE(enabled("MPProgram"));
        EXPECT_TRUE(enabled("MPEdit"));
        EXPECT_EQ(enabled("MPErase"), erase);
        EXPECT_FALSE(find("GB1")->isEnabled());
    }
};

TEST_F(TemplateWindow, SaveAsAsksForAnEptFileInTemplates) {
    SaveNew(3, "two.ept");
    ASSERT_EQ(doubles.ui.save_dialogs.size(), 1u);
    const auto& dlg = doubles.ui.save_dialogs[0];
    EXPECT_EQ(dlg.filter, "EEPROM Program Templates|*.ept");
    EXPECT_EQ(dlg.default_ext, "ept");
    EXPECT_EQ(dlg.initial_dir, templates());
    EXPECT_TRUE(dlg.overwrite_prompt);
    ExpectProgramMode(true);
    EXPECT_TRUE(log().isEmpty());
    EXPECT_EQ(form->template_file(), file("two.ept"));
    EXPECT_EQ(JclIniFiles::IniGetInteger(file("two.ept"), "Basic Details", "Device Type"), 3);
    EXPECT_EQ(JclIniFiles::IniGetString(file("two.ept"), "QuadHS Device Specific Options",
                                        "IOPinDriveQuad"),
              "0");
}

TEST_F(TemplateWindow, FourthGenerationTemplateOffersNoErase) {
    SaveNew(6, "four.ept");
    ExpectProgramMode(false);
}

TEST_F(TemplateWindow, InvalidSettingsAreNotSaved) {
    act("MPNew")->trigger();
    type("Edit10", "");
    act("MPSaveAs")->setEnabled(true);
    act("MPSaveAs")->trigger();
    EXPECT_TRUE(doubles.ui.save_dialogs.empty());
    EXPECT_EQ(log(), QStringList({"ERROR : You must fill in Manufacturer Name",
                                  "ERROR : You must select a valid device type"}));
    EXPECT_EQ(form->windowTitle(), kEditTitle);
}

TEST_F(TemplateWindow, EmptyPrefixWithFixedSerialIsSaved) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    find<QAbstractButton>("CheckBox5")->click();
    type("Edit5", "");
    doubles.ui.file_answers.push_back(file("fixed.ept"));
    act("MPSaveAs")->trigger();
    ExpectProgramMode(true);
}

TEST_F(TemplateWindow, ATemplateThatCannotBeWrittenKeepsEditMode) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    const std::string path = file("dossiér/t.ept");  // missing
    doubles.ui.file_answers.push_back(path);
    act("MPSaveAs")->trigger();
    EXPECT_EQ(log().join('|').toStdString(),
              "ERROR : Could not write the template file " + path + " (No such file or directory)");
    EXPECT_EQ(form->windowTitle(), kEditTitle);
    EXPECT_FALSE(enabled("MPProgram"));
    EXPECT_TRUE(enabled("MPSaveAs"));
    EXPECT_TRUE(find("GB1")->isEnabled());
    EXPECT_EQ(form->template_file(), "");
}

TEST_F(TemplateWindow, CancelledDialogsChangeNothing) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    act("MPSaveAs")->trigger();  // no answer scripted: cancelled
    EXPECT_EQ(form->windowTitle(), kEditTitle);
    const FormValues before = form->form_values();
    act("MPOpen")->trigger();
    EXPECT_EQ(form->form_values(), before);
    EXPECT_EQ(form->windowTitle(), kEditTitle);
}

TEST_F(TemplateWindow, EditsAfterSavingOfferSaveAgain) {
    SaveNew(3, "two.ept");
    act("MPEdit")->trigger();
    find<QAbstractButton>("CheckBox11")->click();
    EXPECT_TRUE(enabled("MPSave"));
    EXPECT_FALSE(enabled("MPProgram"));
    act("MPSave")->trigger();
    ExpectProgramMode(true);
    EXPECT_TRUE(JclIniFiles::IniGetBool(file("two.ept"), "T2 Device Specific Options",
                                        "IO Pin Pull Down in Suspend"));
}

TEST_F(TemplateWindow, ATemplateOpensInAnotherWindowAsSaved) {
    act("MPNew")->trigger();
    pick("CB1", 9);
    pick("CB2", 2);
    type("Edit1", "1234");
    type("Edit2", "5678");
    find<QAbstractButton>("RB2")->click();
    find<QAbstractButton>("CheckBox5")->click();
    type("Edit6", "SN000009");
    type("Edit11", "Bench adapter");
    find<QAbstractButton>("RadioButton9")->click();
    find<QAbstractButton>("RadioButton12")->click();
    pick("ComboBox3", 2);
    find<QAbstractButton>("CheckBox14")->click();
    find<QAbstractButton>("CheckBox27")->click();
    doubles.ui.file_answers.push_back(file("hs.ept"));
    act("MPSaveAs")->trigger();
    const FormValues saved = form->form_values();

    TMainForm other(dir_.string());
    doubles.ui.file_answers.push_back(file("hs.ept"));
    other.MPOpenExecute();
    EXPECT_EQ(other.form_values(), saved);
    EXPECT_EQ(other.template_file(), file("hs.ept"));
    EXPECT_TRUE(state().Kinds.Kind5D);
    EXPECT_EQ(other.windowTitle(), kProgramTitle);
    ASSERT_EQ(doubles.ui.open_dialogs.size(), 1u);
    EXPECT_EQ(doubles.ui.open_dialogs[0].initial_dir, templates());
    EXPECT_EQ(doubles.ui.open_dialogs[0].filter, "EEPROM Program Templates|*.ept");
}

// The file holds the other modes of a high-speed side; none of them set is "RS232 UART",
// whatever the window showed before.
TEST_F(TemplateWindow, HighSpeedUartModeOpensAsSavedAfterAnotherMode) {
    SaveNew(9, "uart.ept");
    const FormValues uart = form->form_values();
    act("MPEdit")->trigger();
    find<QAbstractButton>("RadioButton3")->click();
    find<QAbstractButton>("RadioButton10")->click();
    doubles.ui.file_answers.push_back(file("fifo.ept"));
    act("MPSaveAs")->trigger();

    Open(file("uart.ept"));
    EXPECT_TRUE(find<QAbstractButton>("RadioButton1")->isChecked());
    EXPECT_TRUE(find<QAbstractButton>("RadioButton7")->isChecked());
    EXPECT_EQ(form->form_values(), uart);
}

TEST_F(TemplateWindow, OpenSetsSerialDisabledFromTheFile) {
    SaveNew(3, "t.ept");
    JclIniFiles::IniPutBool(file("t.ept"), "T2 Device Specific Options", "Disable Serial Number",
                            true);
    Open(file("t.ept"));
    EXPECT_TRUE(state().SerialDisabled);
    EXPECT_TRUE(find<QAbstractButton>("CheckBox8")->isChecked());
    ExpectProgramMode(true);
}

TEST_F(TemplateWindow, OpenKeepsTheLog) {
    SaveNew(3, "t.ept");
    JclIniFiles::IniPutString(file("t.ept"), "USB String Descriptors", "Manufacturer", "ACME");
    act("MPScan")->trigger();
    Open(file("t.ept"));
    EXPECT_EQ(find<QLineEdit>("Edit10")->text(), QString("ACME"));
    EXPECT_EQ(log(),
              QStringList({"Number Of Blank Devices = 1", "Number Of Programmed Devices = 0"}));
}

// What Save would refuse is not opened either: keys missing from the file would read as
// 0 or empty and be programmed into every chip.
TEST_F(TemplateWindow, ATemplateThatSaveWouldRefuseIsNotOpened) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    const FormValues before = form->form_values();
    testing::WriteFileText(file("empty.ept"), "");
    ASSERT_EQ(::mkfifo(file("fifo.ept").c_str(), 0600), 0);
    Open(file("empty.ept"));
    Open(file("fifo.ept"));
    EXPECT_EQ(form->form_values(), before);
    EXPECT_EQ(form->windowTitle(), kEditTitle);
    EXPECT_FALSE(enabled("MPProgram"));
    EXPECT_EQ(form->template_file(), "");
    const QStringList lines = log();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0],
              QString::fromStdString("ERROR : Template not opened: " + file("empty.ept")));
    EXPECT_EQ(lines[1],
              "ERROR : You must fill in the Serial Number Prefix field with 2 characters");
    EXPECT_EQ(lines[5], "ERROR : All zeros is an invalid VID");
    EXPECT_EQ(lines[7], QString::fromStdString("ERROR : Could not read the template file " +
                                               file("fifo.ept") + " (not a regular file)"));
}

// A hand-written template needs no ID keys where its VID/PID type sets the IDs.
constexpr const char* kStringsAndPower =
    "[USB Power Options]\nMax Bus Power=9\n[USB Serial Number Control]\nPrefix=R\n"
    "[USB String Descriptors]\nManufacturer=K\nProduct=C\n";
TEST_F(TemplateWindow, IdsTheVidPidTypeSetsNeedNoKeys) {
    for (const std::string type : {"0", "1"}) {
        testing::WriteFileText(file("h.ept"), "[Basic Details]\nDevice Type=3\nVID PID Type=" +
                                                  type + "\n" + kStringsAndPower);
        Open(file("h.ept"));
        EXPECT_EQ(text("Edit1"), "4B1D") << type;
    }
}

// Strings too long for Program (saved before they were counted so) open, to be shortened.
TEST_F(TemplateWindow, ATemplateWithStringsTooLongOpensAndSaysSo) {
    std::string text =
        "[Basic Details]\nDevice Type=3\nVID PID Type=0\n" + std::string(kStringsAndPower);
    text.replace(text.find("=K"), 2, "=" + std::string(47, 'K'));
    testing::WriteFileText(file("long.ept"), text);
    for (int twice : {1, 2}) {
        Open(file("long.ept"));
        EXPECT_EQ(form->template_file(), file("long.ept"));
        EXPECT_EQ(log(), QStringList(twice, QString::fromStdString(StringLengthError(48))));
    }
}

TEST_F(TemplateWindow, WithoutTheQuadSectionTheQuadOptionsAreOff) {
    act("MPNew")->trigger();
    pick("CB1", 10);
    pick("ComboBox6", 3);
    doubles.ui.file_answers.push_back(file("q.ept"));
    act("MPSaveAs")->trigger();
    std::string text = testing::FileText(file("q.ept"));
    text.erase(text.find("[QuadHS"));
    testing::WriteFileText(file("q.ept"), text);

    Open(file("q.ept"));
    const FormValues v = form->form_values();
    EXPECT_FALSE(v.RadioButton13 || v.RadioButton15 || v.RadioButton17 || v.RadioButton19);
    EXPECT_TRUE(v.RadioButton14 && v.RadioButton16 && v.RadioButton18 && v.RadioButton20);
    EXPECT_EQ(v.ComboBox6, 0);
    form->FormToProgramData(0);
    EXPECT_EQ(state().ProgramData.IoPinDrive, 0);
    EXPECT_EQ(state().ProgramData.AIsVCP8, 0);
}

TEST_F(TemplateWindow, MalformedTemplatesOpenWithoutHarm) {
    SaveNew(3, "bad.ept");
    const std::string bad = file("bad.ept");
    testing::WriteFileText(bad, "junk\r\n" + testing::FileText(bad));
    JclIniFiles::IniPutString(bad, "Basic Details", "VID PID Type", "7");
    JclIniFiles::IniPutString(bad, "Basic Details", "USB VID", std::string(70000, '9'));
    JclIniFiles::IniPutString(bad, "USB Power Options", "Max Bus Power", "100000");
    JclIniFiles::IniPutString(bad, "T4 Device Specific Options", "C2 Signal", "-4");
    Open(bad);
    EXPECT_EQ(find<QComboBox>("CB2")->currentIndex(), -1);
    EXPECT_EQ(find<QComboBox>("CBX3")->currentIndex(), -1);
    EXPECT_EQ(text("Edit9"), "500");
    EXPECT_EQ(text("Edit1").size(), 4);  // the field takes four digits
    EXPECT_EQ(form->windowTitle(), kProgramTitle);
}

}  // namespace
}  // namespace pelmo
