#include <QtGui/qpa/qwindowsysteminterface.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest/QTest>

#include "../core/tests/sim_chips.h"
#include "about_box.h"
#include "device_operations.h"
#include "eeprom_image.h"
#include "text_helpers.h"
#include "ui/qt_services.h"
#include "window_fixture.h"

namespace pelmo {
namespace {

using testing::WindowTest;

class MainForm : public WindowTest {
  protected:
    bool checked(const char* name) const { return find<QAbstractButton>(name)->isChecked(); }
    void tick(const char* name, bool on) { SetButtonChecked(find<QAbstractButton>(name), on); }
    bool shown(const char* name) const { return !find(name)->isHidden(); }
    bool usable(const char* name) const { return find(name)->isEnabled(); }
    int entry(const char* list) const { return find<QComboBox>(list)->currentIndex(); }
    void show_active() {
        form->show();
        QApplication::setActiveWindow(form.get());
    }
};

TEST_F(MainForm, StartsInNeitherMode) {
    EXPECT_EQ(form->objectName(), "MainForm");
    EXPECT_EQ(form->windowTitle(), "Pelmo - Multi Device EEPROM Programmer V 3.5");
    EXPECT_EQ(form->width(), 650);
    EXPECT_EQ(form->height() - form->menuBar()->sizeHint().height(), 559);
    for (auto name : {"MPNew", "MPOpen", "MPExit", "MPScan", "MPHelp", "MPAbout"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    for (auto name : {"MPEdit", "MPSave", "MPSaveAs", "MPErase", "MPProgram"}) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    EXPECT_FALSE(usable("CB1"));
    EXPECT_FALSE(usable("CheckBox6"));
    EXPECT_TRUE(checked("CheckBox6"));
    EXPECT_TRUE(state().OnlyBlank);
    EXPECT_EQ(entry("CB3"), 1);
    EXPECT_FALSE(shown("GB10"));
    EXPECT_FALSE(shown("GB8"));
    EXPECT_FALSE(shown("CheckBox27"));
    EXPECT_TRUE(log().isEmpty());
}

struct ActionCase {
    const char* name;
    const char* caption;
    const char* hint;
    const char* shortcut;
};

class Actions : public MainForm, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(Actions, CaptionHintShortcut) {
    const ActionCase c = GetParam();
    QAction* a = act(c.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), c.caption);
    EXPECT_EQ(a->toolTip(), c.hint);
    EXPECT_EQ(a->shortcut(), QKeySequence(c.shortcut));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Actions,
    ::testing::Values(ActionCase{"MPNew", "&New", "Create New Programming Template", "Ctrl+N"},
                      ActionCase{"MPOpen", "&Open", "Open Existing Programming Template", "Ctrl+O"},
                      ActionCase{"MPEdit", "E&dit", "Edit Mode", "Ctrl+D"},
                      ActionCase{"MPSave", "&Save", "Save Template", "Ctrl+S"},
                      ActionCase{"MPSaveAs", "Sa&ve As ...", "Save Template As...", "Ctrl+V"},
                      ActionCase{"MPExit", "E&xit", "Quit Application Program", "Ctrl+X"},
                      ActionCase{"MPScan", "S&can", "Scan for Available Devices", "Ctrl+C"},
                      ActionCase{"MPErase", "&Erase", "Erase All Existing Devices", "Ctrl+E"},
                      ActionCase{"MPProgram", "&Program", "Program All Existing Devices", "Ctrl+P"},
                      ActionCase{"MPHelp", "&Help", "HTML Help", "Ctrl+H"},
                      ActionCase{"MPAbout", "Help &About ..", "Help - About", "Ctrl+A"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainForm, MenusToolBarAndGroupCaptions) {
    QStringList menus;
    for (QAction* a : form->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Device", "Tools", "&Help"}));
    EXPECT_EQ(find<QToolButton>("ToolButton11")->toolTip(), "Cycle Device");
    EXPECT_EQ(find<QGroupBox>("GB1")->title(), "  Basic Details  ");
    EXPECT_EQ(find<QGroupBox>("GB4")->title(), "  T2 / T3 Device Specific Options  ");
    EXPECT_EQ(find<QGroupBox>("GB8")->title(), "  Plug && Play  ( Tessel-U Series Only )  ");
    EXPECT_EQ(find<QGroupBox>("GB10")->title(), " Tessel-3DA Device Options ");
    EXPECT_EQ(find<QGroupBox>("GroupBox18")->title(), "IO Pins");
    EXPECT_EQ(find<QComboBox>("CBX5")->itemText(2), "TXLED#");
    EXPECT_EQ(find<QComboBox>("CBX4")->itemText(13), "WR#");
    EXPECT_EQ(find<QComboBox>("CB2")->itemText(2), "Own VID & PID");
    for (const auto& b : kFormBindings)
        EXPECT_TRUE(
            form->findChild<QWidget*>(QString::fromLatin1(b.control.data(), b.control.size())))
            << b.control;
}

// Each control of an option page can be seen and reached at the window's fixed size.
TEST_F(MainForm, EveryNamedControlOfTheOptionPagesLiesInsideItsParent) {
    form->show();
    auto* pages = find<QTabWidget>("PageControl1");
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        for (auto* w : pages->widget(i)->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << w->objectName().toStdString();
        }
    }
}

TEST_F(MainForm, NewSetsTheDefaultsInEditMode) {
    act("MPNew")->trigger();
    EXPECT_EQ(form->windowTitle(), "Pelmo - Multi Device EEPROM Programmer ( Edit Mode )");
    EXPECT_EQ(text("Edit1"), "4B1D");
    EXPECT_EQ(text("Edit2"), "E001");
    EXPECT_EQ(text("Edit9"), "100");
    EXPECT_EQ(text("Edit5"), "RL");
    EXPECT_EQ(text("Edit6"), "12345678");
    EXPECT_EQ(text("Edit10"), "KELD");
    EXPECT_EQ(text("Edit11"), "USB <-> Serial Cable");
    EXPECT_TRUE(checked("RB1"));
    EXPECT_TRUE(checked("CheckBox3"));
    EXPECT_TRUE(checked("CheckBox6"));
    EXPECT_EQ(entry("CB1"), 0);
    EXPECT_TRUE(usable("CB1"));
    EXPECT_FALSE(usable("CB2"));
    for (auto name : {"MPSave", "MPSaveAs", "MPEdit", "MPProgram", "MPErase"}) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(MainForm, Tessel5QWithDefaultIdsLocksBothIdFields) {
    act("MPNew")->trigger();
    pick("CB1", 10);
    EXPECT_EQ(text("Edit1"), "4B1D");
    EXPECT_EQ(text("Edit2"), "E011");
    EXPECT_FALSE(usable("Edit1"));
    EXPECT_FALSE(usable("Edit2"));
    EXPECT_TRUE(state().Kinds.Kind5Q);
    EXPECT_EQ(find<QTabWidget>("PageControl1")->currentIndex(), 3);
    EXPECT_TRUE(shown("GroupBox18"));
    EXPECT_FALSE(shown("GroupBox13"));
    EXPECT_TRUE(enabled("MPSaveAs"));
    EXPECT_FALSE(checked("CheckBox3"));  // Plug and Play unticked for the high-speed chips
    pick("CB2", 2);
    EXPECT_TRUE(usable("Edit1"));
    EXPECT_TRUE(usable("Edit2"));
}

TEST_F(MainForm, Tessel4FTurnsOnlyBlankOff) {
    act("MPNew")->trigger();
    pick("CB1", 7);
    EXPECT_FALSE(checked("CheckBox6"));
    EXPECT_FALSE(usable("CheckBox6"));
    EXPECT_FALSE(state().OnlyBlank);
    EXPECT_FALSE(checked("CheckBox3"));
    EXPECT_FALSE(usable("CheckBox3"));
    EXPECT_EQ(find<QTabWidget>("PageControl1")->tabText(1), "Tessel-4F");
    EXPECT_FALSE(shown("GB12"));
    EXPECT_FALSE(find("CBX1")->isEnabled());
    EXPECT_TRUE(state().Kinds.KindT4 && state().Kinds.KindT4Fifo);
    pick("CB1", 8);
    EXPECT_TRUE(usable("CheckBox6"));
    EXPECT_TRUE(shown("RB5"));
    EXPECT_TRUE(shown("GB10"));
    EXPECT_FALSE(shown("GB11"));
}

TEST_F(MainForm, FixedSerialIsSteppedByTheDeviceCounter) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    tick("CheckBox5", true);
    EXPECT_TRUE(usable("Edit6"));
    EXPECT_FALSE(usable("Edit5"));
    type("Edit6", "00000001");
    form->FormToProgramData(3);
    EXPECT_EQ(RecordText(state().ProgramData.SerialNumber), "00000004");
}

TEST_F(MainForm, BoxesDisabledByThePageCountAsOffInsideDisabledGroups) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    tick("CheckBox1", true);
    tick("CheckBox11", true);
    form->DisableEditGroups();  // program mode: the groups are off, the boxes themselves on
    form->FormToProgramData(0);
    EXPECT_EQ(state().ProgramData.RemoteWakeup, 1);
    EXPECT_EQ(state().ProgramData.PullDownEnable, 1);
    pick("CB1", 2);  // Tessel-1F: no wake-up
    form->FormToProgramData(0);
    EXPECT_EQ(state().ProgramData.RemoteWakeup, 0);
}

TEST_F(MainForm, AllZerosVendorIdIsRefused) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    pick("CB2", 2);
    type("Edit1", "0000");
    EXPECT_EQ(doubles.ui.message_texts(), std::vector<std::string>{"All zeros is an invalid VID"});
    EXPECT_EQ(text("Edit1"), "4B1D");
    EXPECT_FALSE(enabled("MPErase"));
}

TEST_F(MainForm, MaxBusPowerIsCappedAt500) {
    act("MPNew")->trigger();
    type("Edit9", "750");
    EXPECT_EQ(doubles.ui.message_texts(),
              std::vector<std::string>{"Max current exceeded - setting to 500mA"});
    EXPECT_EQ(text("Edit9"), "500");
    type("Edit9", "");
    type("Edit9", "abc");
    EXPECT_EQ(doubles.ui.messages.size(), 1u);
}

TEST_F(MainForm, PowerButtonsSetTheCurrent) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    find<QAbstractButton>("RB2")->click();
    EXPECT_EQ(text("Edit9"), "0");
    find<QAbstractButton>("RB1")->click();
    EXPECT_EQ(text("Edit9"), "100");
}

TEST_F(MainForm, DecodedFifoChipForcesTheCPinLists) {
    auto& r = state().ProgramData;
    r.IsT4 = 1;
    r.T4IsFifoModel = 1;
    r.C0Signal = 5;
    form->ProgramDataToForm();
    EXPECT_EQ(entry("CB1"), 7);
    for (auto name : {"CBX1", "CBX2", "CBX3", "CBX4"}) EXPECT_EQ(entry(name), 13) << name;
    EXPECT_EQ(entry("CBX5"), 1);
    EXPECT_EQ(r.C0Signal, 0);
    EXPECT_TRUE(enabled("MPSaveAs"));
    EXPECT_FALSE(enabled("MPProgram"));
}

TEST_F(MainForm, DecodedHighSpeedDualShowsTheSuspendBox) {
    auto& r = state().ProgramData;
    r.Is5D = 1;
    r.SuspendOnD7Low = 1;
    r.IoPinDrive = 0x0003;
    form->ProgramDataToForm();
    EXPECT_TRUE(shown("CheckBox27"));
    EXPECT_TRUE(checked("CheckBox27"));
    EXPECT_EQ(entry("ComboBox1"), 3);
}

TEST_F(MainForm, EditModeFromProgramMode) {
    act("MPNew")->trigger();
    form->DisableEditGroups();
    act("MPEdit")->setEnabled(true);
    act("MPEdit")->trigger();
    EXPECT_TRUE(find("GB10")->isEnabled());
    EXPECT_TRUE(enabled("MPSaveAs"));
    EXPECT_FALSE(enabled("MPEdit"));
    EXPECT_EQ(form->windowTitle(), "Pelmo - Multi Device EEPROM Programmer ( Edit Mode )");
}

TEST_F(MainForm, HelpOpensTheHelpFileQuietly) {
    doubles.ui.shell_result = false;  // no viewer
    act("MPHelp")->trigger();
    ASSERT_EQ(doubles.ui.shell_calls.size(), 1u);
    EXPECT_EQ(doubles.ui.shell_calls[0].path, (dir_ / "Help" / "Pelmo.chm").string());
    EXPECT_EQ(doubles.ui.shell_calls[0].verb, "open");
    EXPECT_TRUE(doubles.ui.messages.empty());
}

TEST_F(MainForm, AboutShowsTheBoxModally) {
    TAboutBox about(form.get());
    form->set_about_box(&about);
    bool was_shown = false;
    QTimer::singleShot(0, &about, [&] {
        was_shown = about.isVisible();
        about.findChild<QAbstractButton*>("OKButton")->click();
    });
    act("MPAbout")->trigger();
    EXPECT_TRUE(was_shown);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(MainForm, ExitClosesTheWindowAndAnOpenDevice) {
    form->show();
    ASSERT_TRUE(OpenDeviceByIndex(0));
    ASSERT_TRUE(RLSIM_IsOpen(0));
    act("MPExit")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(state().DeviceOpen);
    EXPECT_FALSE(RLSIM_IsOpen(0));
}

TEST_F(MainForm, NewThenProgramOnABlankSecondGenerationChip) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    form->MPProgramExecute();
    auto word = [](uint32_t n) {
        uint16_t w = 0;
        EXPECT_EQ(RLSIM_PeekEE(0, n, &w), 0);
        return w;
    };
    EXPECT_EQ(word(1), 0x4B1D);
    EXPECT_EQ(word(2), 0xE001);
    EXPECT_EQ(word(4), 0x3280);  // 100 mA, bus powered, no wake-up
    // The serial descriptor follows the pointer in word 9.
    const int header = (word(9) & 0x7F) >> 1;
    const int count = (word(9) >> 9) - 1;
    std::string serial;
    for (int i = 1; i <= count; ++i) serial += static_cast<char>(word(header + i) & 0xFF);
    EXPECT_EQ(serial, "RL" + ToBase36(PackUtcTime(doubles.clock.utc)));
    EXPECT_EQ(serial.size(), 8u);
    EXPECT_EQ(word(header + count + 2), 0x0000);  // Plug and Play on
    EXPECT_EQ(log(), QStringList({QString::fromStdString("Programmed Serial Number : " + serial)}));
}

TEST_F(MainForm, ScanAndCycleReportInTheLog) {
    act("MPScan")->trigger();
    EXPECT_EQ(log(),
              QStringList({"Number Of Blank Devices = 1", "Number Of Programmed Devices = 0"}));
    find<QToolButton>("ToolButton11")->click();
    EXPECT_TRUE(find("ToolButton11")->isEnabled());
    EXPECT_EQ(log(), QStringList({"CyclePort successful Device 0"}));
}

TEST_F(MainForm, ReadAndParseShowsAProgrammedChip) {
    ASSERT_EQ(RLSIM_LoadWorldText("chip d\n  kind dual\n  eeprom 128\n  serial KD000001\n"
                                  "  image programmed manufacturer ACME\n"),
              0)
        << RLSIM_LastError();
    act("MReadAndParse")->trigger();
    // Both channels are read (no kind selected).
    EXPECT_EQ(log(),
              QStringList({"Read EEPROM successful Device 0", "Read EEPROM successful Device 1"}));
    EXPECT_EQ(entry("CB1"), 5);
    EXPECT_EQ(text("Edit10"), QString("ACME"));
    EXPECT_EQ(text("Edit6"), QString("KD000001"));
    EXPECT_TRUE(state().Kinds.KindDual);
    EXPECT_TRUE(shown("GB10"));
    EXPECT_TRUE(enabled("MPSaveAs"));
    EXPECT_FALSE(state().DeviceOpen);
}

// Showing a decoded chip writes the string fields; their check must not clear the lines
// of the devices before, nor the error lines of the blank ones.
TEST_F(MainForm, ReadAndParseKeepsEveryDevicesLine) {
    ASSERT_EQ(RLSIM_LoadWorldText(testing::WorldText(testing::MixedBench()).c_str()), 0)
        << RLSIM_LastError();
    act("MReadAndParse")->trigger();
    QStringList expected;
    for (int k = 0; k < 12; ++k) {
        const bool blank = k == 0 || k >= 9;
        expected << (blank ? "ERROR - Read EEPROM failed Device "
                           : "Read EEPROM successful Device ") +
                        QString::number(k);
    }
    EXPECT_EQ(log(), expected);
    EXPECT_EQ(entry("CB1"), 3);  // the last chip decoded, second generation
}

// Keys a text field would claim for its editing run their menu items from it.
TEST_F(MainForm, MenuKeysWorkFromATextField) {
    act("MPNew")->trigger();
    pick("CB1", 3);
    show_active();
    auto* field = find<QLineEdit>("Edit10");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(log().value(0), "Number Of Blank Devices = 1");
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

// The window system's wait, recorded: keys queue as a user's do.
struct QueuedInput : platform::ui::FakeServices {
    void wait_holding_input(double max_seconds) override {
        FakeServices::wait_holding_input(max_seconds);
        platform::ui::QtServices().wait_holding_input(0);
    }
};

// Three chips with a clock serial wait twice for the next second; Ctrl+N (New) and a
// click on Program during the first wait run neither inside Program nor after it.
TEST_F(MainForm, InputDuringProgramWaitsUntilItIsOver) {
    const auto world = testing::WorldText(testing::Chips(3, testing::Chip()));
    ASSERT_EQ(RLSIM_LoadWorldText(world.c_str()), 0) << RLSIM_LastError();
    act("MPNew")->trigger();
    pick("CB1", 3);
    show_active();
    QWidget* program = find<QToolBar>("ToolBar1")->widgetForAction(act("MPProgram"));
    QueuedInput input;
    const QPoint at = program->mapTo(form.get(), program->rect().center());
    input.on_process_events = [&] {
        ++doubles.clock.utc.second;
        if (input.held_waits.size() != 1) return;
        QWindowSystemInterface::handleKeyEvent(form->windowHandle(), QEvent::KeyPress, Qt::Key_N,
                                               Qt::ControlModifier);
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QWindowSystemInterface::handleMouseEvent(form->windowHandle(), at, at, Qt::LeftButton,
                                                     Qt::LeftButton, type);
    };
    platform::ui::install(&input);
    form->MPProgramExecute();
    platform::ui::install(&doubles.ui);
    EXPECT_EQ(input.held_waits, (std::vector<double>{1.0, 1.0}));  // to the next second
    uint16_t word3 = 0;
    RLSIM_PeekEE(2, 3, &word3);
    EXPECT_EQ(word3, 0x0400);  // the last chip too has a second-generation image
    QApplication::processEvents();
    EXPECT_EQ(log().size(), 3);                // the serial numbers written
    EXPECT_TRUE(doubles.ui.messages.empty());  // no second Program: "No Devices Found"
}

}  // namespace
}  // namespace pelmo
