#include <string>
#include <vector>

#include "console_startup.h"
#include "workspace_fixture.h"

namespace velmora {
namespace {

class ModeSwitch : public testing::WorkspaceFixture {};

// What each switch leaves on a switched panel.
struct ModeCase {
    const char* name;
    QRadioButton* const frmSendSMB_cmds::*button;
    const char* addr;
    const char* cmd;
    bool ext_types;
    bool format_shown;
    bool page_shown;
    bool names_shown;
};

class EachMode : public ModeSwitch, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(EachMode, SwitchesTheMainPanelAndEveryOpenPanel) {
    const ModeCase& m = GetParam();
    add(2);
    choose(c->I2C);  // from a mode other than the target, so that every case switches
    if (c->*m.button == c->I2C) choose(c->PMBus_sel);
    for (int n : {0, 1, 2}) {
        panel(n).Nonstop->setChecked(true);
        panel(n).txt_RW_LSByte->setText(QStringLiteral("12"));
        panel(n).txt_RW_MSByte->setText(QStringLiteral("34"));
    }
    choose(c->*m.button);
    for (int n : {0, 1, 2}) {
        SCOPED_TRACE(n);
        CommandPanel& p = panel(n);
        EXPECT_EQ(items(p.CmdProtocol), type_list(m.ext_types));
        EXPECT_EQ(p.txt_Device_Addr->text(), m.addr);
        EXPECT_EQ(p.txt_Device_Cmd->text(), m.cmd);
        EXPECT_EQ(p.txt_RW_LSByte->text(), "");
        EXPECT_EQ(p.txt_RW_MSByte->text(), "");
        EXPECT_FALSE(p.Nonstop->isChecked());
        EXPECT_EQ(!p.TranslationMode->isHidden(), m.format_shown);
        EXPECT_TRUE(p.Xtext->isHidden());
        EXPECT_TRUE(p.Xlabel->isHidden());
        EXPECT_EQ(!p.SendBytePgNumber->isHidden(), m.page_shown);
        EXPECT_EQ(!p.PageNumber->isHidden(), m.page_shown);
        for (QWidget* w : {static_cast<QWidget*>(p.Pmbus), static_cast<QWidget*>(p.PMBuscmd),
                           static_cast<QWidget*>(p.Linear16bit)})
            EXPECT_EQ(!w->isHidden(), m.names_shown) << w->objectName().toStdString();
    }
    for (size_t n = 0; n < kPanels; ++n) EXPECT_FALSE(shared().ResultReady[n]);
}

INSTANTIATE_TEST_SUITE_P(Modes, EachMode,
                         ::testing::Values(ModeCase{"I2C", &frmSendSMB_cmds::I2C, "", "", false,
                                                    false, false, false},
                                           ModeCase{"PMBus", &frmSendSMB_cmds::PMBus_sel, "B8",
                                                    "88", true, true, true, true},
                                           ModeCase{"SmartBattery", &frmSendSMB_cmds::SBS, "16",
                                                    "16", false, false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModeSwitch, HeadingAndExtendedByteOfEachMode) {
    add();
    choose(c->PMBus_sel);
    EXPECT_EQ(main().Pmbus->text(), "PMBus Command");
    EXPECT_EQ(Control(1).Pmbus->text(), "PMBus Command");
    EXPECT_EQ(main().txt_Device_Cmdlsb->text(), "00");
    EXPECT_EQ(Control(1).txt_Device_Cmdlsb->text(), "") << "panels keep their extended byte";
    EXPECT_EQ(main().PMBuscmd->text(), "READ_VIN");
    choose(c->I2C);
    EXPECT_EQ(main().Pmbus->text(), "PMBus Command") << "I2C keeps the heading";
    EXPECT_EQ(main().txt_Device_Cmdlsb->text(), "00") << "and the extended byte";
    choose(c->SBS);
    EXPECT_EQ(main().Pmbus->text(), "SBS Command");
    EXPECT_EQ(Control(1).Pmbus->text(), "SBS Command");
    EXPECT_EQ(main().PMBuscmd->text(), "BATTERY STATUS");
}

TEST_F(ModeSwitch, WithNoPanelOpenOnlyTheMainPanelChanges) {
    c->mainRearrange->trigger();  // all eight panel windows loaded, none open
    choose(c->PMBus_sel);
    EXPECT_EQ(main().CmdProtocol->count(), 10);
    for (int k = 1; k <= kPanelWindows; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Control(k).CmdProtocol->count(), 6);
        EXPECT_EQ(Control(k).txt_Device_Addr->text(), "16");
        EXPECT_TRUE(Control(k).TranslationMode->isHidden());
    }
}

TEST_F(ModeSwitch, PMBusTwiceLeavesTenItemsWithoutDuplicates) {
    add(2);
    choose(c->PMBus_sel);
    console_hooks().PMBus_sel_Click();  // as a settings load runs it again
    for (int n : {0, 1, 2}) EXPECT_EQ(items(panel(n).CmdProtocol), type_list(true)) << n;
    choose(c->SBS);
    console_hooks().SBS_Click();
    for (int n : {0, 1, 2}) EXPECT_EQ(items(panel(n).CmdProtocol), type_list(false)) << n;
}

TEST_F(ModeSwitch, AnExtTypeBecomesItsBasicTypeWithTheLayoutKept) {
    choose(c->PMBus_sel);
    add();
    CommandPanel& p = Control(1);
    pick(p, "Ext Write Word");
    ASSERT_FALSE(p.txt_Device_Cmdlsb->isHidden());
    choose(c->SBS);
    EXPECT_EQ(p.CmdProtocol_Text(), "Write Word");
    EXPECT_EQ(p.CmdProtocol->count(), 6);
    EXPECT_TRUE(p.txt_Device_Cmdlsb->isHidden());
    EXPECT_FALSE(p.txt_RW_MSByte->isHidden()) << "the Ext Write Word layout stays";
    EXPECT_FALSE(p.txt_RW_LSByte->isReadOnly());
    EXPECT_FALSE(p.txt_RW_MSByte->isReadOnly());
}

TEST_F(ModeSwitch, EachExtTypeMapsToItsOwnBasicType) {
    choose(c->PMBus_sel);
    const std::pair<const char*, const char*> cases[] = {{"Ext Read Word", "Read Word"},
                                                         {"Ext Read Byte", "Read Byte"},
                                                         {"Ext Write Word", "Write Word"},
                                                         {"Ext Write Byte", "Write Byte"},
                                                         {"ext read word", "ext read word"}};
    for (const auto& [ext, basic] : cases) {
        choose(c->PMBus_sel);
        main().set_CmdProtocol_Text(ext);
        choose(c->I2C);
        EXPECT_EQ(main().CmdProtocol_Text(), basic);
    }
}

TEST_F(ModeSwitch, AListOfOtherThanTenItemsLosesNothing) {
    main().CmdProtocol_AddItem("Quick Cmd");  // 7 items
    main().txt_Device_Cmdlsb->show();
    choose(c->I2C);
    EXPECT_EQ(main().CmdProtocol->count(), 7);
    EXPECT_FALSE(main().txt_Device_Cmdlsb->isHidden()) << "shown as it was";
}

TEST_F(ModeSwitch, InPMBusEachExtendedByteBoxFollowsItsOwnPanel) {
    add(2);
    main().set_CmdProtocol_Text("Ext Read Word");
    Control(1).set_CmdProtocol_Text("Read Word");
    Control(2).set_CmdProtocol_Text("Ext Write Byte");
    choose(c->PMBus_sel);
    EXPECT_FALSE(main().txt_Device_Cmdlsb->isHidden());
    EXPECT_TRUE(Control(1).txt_Device_Cmdlsb->isHidden());
    EXPECT_FALSE(Control(2).txt_Device_Cmdlsb->isHidden());
}

TEST_F(ModeSwitch, TheNameLookupRunsAgainUnderTheNewModeEvenForTheSameTexts) {
    main().txt_Device_Addr->setText(QStringLiteral("B8"));
    main().txt_Device_Cmd->setText(QStringLiteral("88"));
    ASSERT_EQ(main().PMBuscmd->text(), "UNDEFINED");
    shared().CmdClass[0] = 3;
    choose(c->PMBus_sel);
    EXPECT_EQ(main().PMBuscmd->text(), "READ_VIN");
    EXPECT_EQ(shared().CmdClass[0], 5);
}

TEST_F(ModeSwitch, ResultsWaitingForTheTimerAreDropped) {
    add();
    shared().ResultReady.fill(True);
    choose(c->PMBus_sel);
    for (size_t n = 0; n < kPanels; ++n) EXPECT_FALSE(shared().ResultReady[n]) << n;
    shared().ResultReady.fill(True);
    choose(c->I2C);
    for (size_t n = 0; n < kPanels; ++n) EXPECT_FALSE(shared().ResultReady[n]) << n;
}

TEST_F(ModeSwitch, AResultLeftForTheTimerIsNeverShownAfterASwitch) {
    add();
    c->cmd_Send_Click();
    Send1_Click();
    ASSERT_TRUE(shared().ResultReady[0] && shared().ResultReady[1]);
    choose(c->I2C);
    c->Timer_1sec_Timer();
    for (int n : {0, 1}) {
        EXPECT_EQ(panel(n).txt_RW_LSByte->text(), "") << n;
        EXPECT_EQ(panel(n).txt_RW_MSByte->text(), "") << n;
    }
}

TEST_F(ModeSwitch, I2CWhileRepeatAllRunsUnticksEveryBoxButLeavesTheButton) {
    add(2);
    c->Repeatall_Click();
    ASSERT_TRUE(Control(2).Nonstop->isChecked());
    choose(c->I2C);
    for (int n : {0, 1, 2}) EXPECT_FALSE(panel(n).Nonstop->isChecked()) << n;
    EXPECT_EQ(c->Repeatall_BackColor(), kRepeatRunning);
    EXPECT_EQ(c->Repeatall->text(), "Click to Stop");
    writes();
    c->Timer_1sec_Timer();
    EXPECT_EQ(writes(), "") << "nothing repeats";
    c->Repeatall_Click();
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    EXPECT_EQ(c->Repeatall->text(), "Repeat All");
}

// The value box handling puts "0" into an emptied value box of a word write and converts
// it: the main panel and panel 1 empty their data boxes before, so the bytes stay there;
// panels 2 to 8 empty them after.
TEST_F(ModeSwitch, PMBusLeavesTheConvertedBytesOnTheMainPanelAndPanelOneOnly) {
    add(8);
    for (int n = 0; n <= 8; ++n) {
        pick(panel(n), "Write Word");
        panel(n).TranslationMode->setEditText(QStringLiteral("Exp5b Man11b"));
        panel(n).txt_RW_LSByte->setText(QStringLiteral("12"));
        panel(n).txt_RW_MSByte->setText(QStringLiteral("34"));
    }
    choose(c->PMBus_sel);
    for (int n = 0; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const char* bytes = n <= 1 ? "00" : "";
        EXPECT_EQ(panel(n).txt_RW_LSByte->text(), bytes);
        EXPECT_EQ(panel(n).txt_RW_MSByte->text(), bytes);
        EXPECT_EQ(panel(n).Linear16bit->text(), "0");
    }
    console_hooks().PMBus_sel_Click();  // a second run leaves the same
    EXPECT_EQ(panel(1).txt_RW_LSByte->text(), "00");
    EXPECT_EQ(panel(2).txt_RW_LSByte->text(), "");

    // Smart Battery converts only commands 14 and 15, and the switch writes 16 first: the
    // order of panels 5 and 7 leaves what the others leave.
    choose(c->SBS);
    for (int n = 0; n <= 8; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(panel(n).txt_RW_LSByte->text(), "");
        EXPECT_EQ(panel(n).txt_RW_MSByte->text(), "");
        EXPECT_EQ(panel(n).Linear16bit->text(), "0");
    }
}

// The order in which a switch writes a panel's address, command, data and value boxes,
// by mode and panel number; on read types the value box handling writes nothing back.
TEST_F(ModeSwitch, EachPanelWritesItsBoxesInItsOwnOrder) {
    add(8);
    std::vector<std::string> log[kPanels];
    for (int n = 0; n <= kPanelWindows; ++n) {
        CommandPanel& p = panel(n);
        for (QLineEdit* box :
             {p.txt_Device_Addr, p.txt_Device_Cmd, p.txt_RW_LSByte, p.txt_RW_MSByte, p.Linear16bit})
            QObject::connect(box, &QLineEdit::textChanged, box,
                             [&log, n, box] { log[n].push_back(box->objectName().toStdString()); });
    }
    const std::vector<std::string> address_first{"txt_Device_Addr", "txt_Device_Cmd",
                                                 "txt_RW_LSByte", "txt_RW_MSByte", "Linear16bit"};
    const std::vector<std::string> value_first{"Linear16bit", "txt_Device_Addr", "txt_Device_Cmd",
                                               "txt_RW_LSByte", "txt_RW_MSByte"};
    const std::vector<std::string> value_between{"txt_Device_Addr", "txt_Device_Cmd",
                                                 "txt_RW_LSByte", "Linear16bit", "txt_RW_MSByte"};
    const std::vector<std::string> no_value(address_first.begin(), address_first.end() - 1);
    auto expect_orders = [&](QRadioButton* mode, auto order_of) {
        for (auto& l : log) l.clear();
        choose(mode);
        for (int n = 0; n <= kPanelWindows; ++n)
            EXPECT_EQ(log[n], order_of(n)) << mode->objectName().toStdString() << " " << n;
    };
    expect_orders(c->PMBus_sel, [&](int n) { return n <= 1 ? address_first : value_first; });
    expect_orders(c->SBS, [&](int n) { return n == 5 || n == 7 ? value_between : address_first; });
    expect_orders(c->I2C, [&](int) { return no_value; });
}

TEST_F(ModeSwitch, PMBusAndSmartBatteryStopRepeatAll) {
    for (QRadioButton* mode : {c->PMBus_sel, c->SBS}) {
        c->set_Repeatall_BackColor(kRepeatRunning);
        c->Repeatall->setText(QStringLiteral("Click to Stop"));
        choose(mode);
        EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
        EXPECT_EQ(c->Repeatall->text(), "Repeat All");
    }
}

TEST_F(ModeSwitch, PMBusEnablesSendBlockOnlyWithABoard) {
    c->frm_Block_Cmd->SendBlock->setEnabled(false);
    choose(c->PMBus_sel);
    EXPECT_TRUE(c->frm_Block_Cmd->SendBlock->isEnabled());
}

TEST_F(ModeSwitch, PMBusWithoutABoardLeavesSendBlockDisabled) {
    c->Unload();
    ASSERT_TRUE(world("chip blank2\n  kind gen2\n  eeprom 64\n  image blank\n"));
    shared() = SharedState{};
    c = load();
    ASSERT_NE(c, nullptr);
    ASSERT_FALSE(c->frm_Block_Cmd->SendBlock->isEnabled());
    choose(c->PMBus_sel);
    EXPECT_FALSE(c->frm_Block_Cmd->SendBlock->isEnabled());
}

TEST_F(ModeSwitch, PMBusHidesTheExponentBoxWhileTheManualFormatStays) {
    choose(c->PMBus_sel);
    main().TranslationMode->setEditText(QStringLiteral("Exp(2^X) Manual input"));
    main().Xtext->show();
    main().Xlabel->show();
    choose(c->SBS);
    choose(c->PMBus_sel);
    EXPECT_EQ(main().TranslationMode->currentText(), "Exp(2^X) Manual input");
    EXPECT_TRUE(main().Xtext->isHidden());
    EXPECT_TRUE(main().Xlabel->isHidden());
}

TEST_F(ModeSwitch, HiddenPanelsBeyondTheCountKeepTheirLayout) {
    c->mainRearrange->trigger();
    add();
    choose(c->PMBus_sel);
    EXPECT_EQ(Control(1).CmdProtocol->count(), 10);
    EXPECT_EQ(Control(2).CmdProtocol->count(), 6);
    EXPECT_EQ(Control(2).txt_Device_Addr->text(), "16");
    EXPECT_TRUE(Control(2).isHidden());
}

}  // namespace
}  // namespace velmora
