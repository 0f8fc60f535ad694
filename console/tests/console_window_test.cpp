#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "block_frame.h"
#include "console_startup.h"
#include "qt_controls.h"
#include "splash_forms.h"
#include "window_fixture.h"

namespace velmora {
namespace {

class ConsoleWindow : public testing::WindowFixture {};

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

TEST_F(ConsoleWindow, DefaultWorldLoadsWithListsFilledAndTheSplashShown) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(console_window(), c);
    EXPECT_EQ(c->objectName(), "frmSendSMB_cmds");
    EXPECT_EQ(c->windowTitle(), "I2C/SMBus/PMBus Interface");
    EXPECT_EQ(items(c->panel0->CmdProtocol),
              QStringList({"Read Word", "Write Word", "Read Byte", "Write Byte", "Send Byte",
                           "Receive Byte"}));
    EXPECT_EQ(c->panel0->CmdProtocol->currentText(), "Read Word");
    EXPECT_EQ(items(c->panel0->TranslationMode),
              QStringList({"Select Format", "Exp5b Man11b", "Exp(2^X) Manual input"}));
    EXPECT_EQ(c->SNlabel->text(), "ZQ000001");
    EXPECT_EQ(shared().FirmwareVersionText, "3");
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_GT(ui.ui.events_processed, 0) << "the splash wait lets the window system run";
    EXPECT_EQ(testing::WindowFixture::top_level<frmSplash>("frmSplash"), nullptr);
    EXPECT_TRUE(c->SBS->isChecked());
    EXPECT_TRUE(c->panel0->SendBytePgNumber->isHidden());
    EXPECT_TRUE(c->panel0->PageNumber->isHidden());
    // The main panel in its design state: only the extended byte and exponent boxes hidden.
    for (QWidget* shown : std::initializer_list<QWidget*>{
             c->panel0->TranslationMode, c->panel0->Linear16bit, c->panel0->Pmbus,
             c->panel0->PMBuscmd, c->panel0->txt_RW_MSByte})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    for (QWidget* hidden : std::initializer_list<QWidget*>{c->panel0->txt_Device_Cmdlsb,
                                                           c->panel0->Xtext, c->panel0->Xlabel})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_EQ(c->frm_Block_Cmd->Label9->text(), "Read");
    EXPECT_TRUE(c->frm_Block_Cmd->txt_Block_Data1->isHidden());
    EXPECT_TRUE(c->Timer_1sec->isActive());
    EXPECT_EQ(c->Timer_1sec->interval(), 500);
    for (QAction* a : {c->mainMonitor, c->menuopen, c->mainAdd})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(c->panel0->SendButton->isEnabled());
}

TEST_F(ConsoleWindow, EveryNamedControlIsFoundOnceInItsWindow) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    const char* names[] = {"CmdProtocol",
                           "txt_Device_Addr",
                           "label_Device_Addr",
                           "txt_Device_Cmd",
                           "label_Device_Command",
                           "txt_Device_Cmdlsb",
                           "txt_RW_LSByte",
                           "label_RW_LSByte",
                           "txt_RW_MSByte",
                           "label_RW_MSByte",
                           "label_Hex_Values",
                           "Linear16bit",
                           "TranslationMode",
                           "Xtext",
                           "Xlabel",
                           "SendBytePgNumber",
                           "PageNumber",
                           "Nonstop",
                           "Pmbus",
                           "PMBuscmd",
                           "cmd_Send",
                           "frm_Block_Cmd",
                           "btn_Block_Read_Cmd",
                           "btn_Block_Write_Cmd",
                           "BlockWRPrc",
                           "txt_Block_Cmd_Addr",
                           "txt_Block_Device_Cmd",
                           "txt_Block_Count",
                           "txt_Block_Data",
                           "txt_Block1_Count",
                           "txt_Block_Data1",
                           "Label1",
                           "Label2",
                           "Label3",
                           "Label4",
                           "Label5",
                           "Label8",
                           "Label9",
                           "Label10",
                           "Label12",
                           "SendBlock",
                           "I2C",
                           "PMBus_sel",
                           "SBS",
                           "SendAll",
                           "Repeatall",
                           "Groupsetbut",
                           "SNlabel",
                           "Label_KELD_Comms_Failure"};
    for (const char* name : names)
        EXPECT_EQ(c->findChildren<QWidget*>(QLatin1String(name)).size(), 1) << name;
    EXPECT_EQ(c->findChildren<QTimer*>(QStringLiteral("Timer_1sec")).size(), 1);
    EXPECT_TRUE(c->Label_KELD_Comms_Failure->isHidden());
    EXPECT_EQ(c->I2C->text(), "Gen. SMBus/I2C");
    EXPECT_EQ(c->PMBus_sel->text(), "PMBus");
    EXPECT_EQ(c->SBS->text(), "Smart Battery");
    EXPECT_EQ(c->panel0->Nonstop->text(), "Repeat /0.5s");
}

TEST_F(ConsoleWindow, MenusWithTheirCaptionsInOrder) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    auto captions = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions()) out << a->objectName() + "=" + a->text();
        return out;
    };
    EXPECT_EQ(c->mainFile->title(), "&File");
    EXPECT_EQ(captions(c->mainFile),
              QStringList({"menuopen=&Load Setting", "menuSaveassettings=Save As Setting",
                           "mainAdd=&Add Control", "mainDelete=&Delete Control", "Exit=E&xit"}));
    EXPECT_EQ(c->mainAdd->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(c->mainDelete->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_EQ(c->mainEdit->title(), "&Edit");
    EXPECT_EQ(captions(c->mainEdit), QStringList({"mainRearrange=&Rearrange"}));
    EXPECT_EQ(c->View->title(), "Vie&w");
    EXPECT_EQ(captions(c->View),
              QStringList({"Ascii=ASCII Table", "=SBS Table", "PowerMBus=PMBus Table"}));
    EXPECT_EQ(c->SmartBS->objectName(), "SmartBS");
    EXPECT_EQ(captions(c->SmartBS),
              QStringList({"mnuSBS=SBS Table", "mnuSSR=Safety Signal Range"}));
    EXPECT_EQ(c->mainTools->title(), "&Tools");
    EXPECT_EQ(captions(c->mainTools), QStringList({"mainMonitor=&Monitor"}));
    EXPECT_EQ(c->mainHelp->title(), "&Help");
    EXPECT_EQ(captions(c->mainHelp), QStringList({"menuHelp=Help Topics", "mainAbout=A&bout"}));
    EXPECT_EQ(c->findChild<QAction*>(QStringLiteral("mainAbout")), c->mainAbout);
}

TEST_F(ConsoleWindow, NoBoardShowsTheMessageDisablesSendingAndStaysOpen) {
    ASSERT_TRUE(world("chip blank2\n  kind gen2\n  eeprom 64\n  image blank\n"));
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{std::string(kBoardNotFound)});
    EXPECT_EQ(ui.ui.events_processed, 0) << "no splash screen";
    EXPECT_EQ(shared().FirmwareVersionText, "") << "no version query";
    EXPECT_FALSE(c->panel0->SendButton->isEnabled());
    EXPECT_FALSE(c->panel0->Nonstop->isEnabled());
    EXPECT_FALSE(c->frm_Block_Cmd->SendBlock->isEnabled());
    EXPECT_FALSE(c->mainFile->menuAction()->isEnabled());
    EXPECT_FALSE(c->mainTools->menuAction()->isEnabled());
    EXPECT_TRUE(c->View->menuAction()->isEnabled());
    EXPECT_TRUE(c->mainEdit->menuAction()->isEnabled());
    EXPECT_TRUE(c->mainHelp->menuAction()->isEnabled());
    EXPECT_EQ(console_window(), c);
    EXPECT_EQ(c->panel0->CmdProtocol->count(), 0);
    c->show();
    QComboBox* format = c->panel0->TranslationMode;
    EXPECT_GE(format->lineEdit()->width(),
              format->fontMetrics().horizontalAdvance("Select Format"));
}

TEST_F(ConsoleWindow, KeyOnTheSplashEndsTheWaitAtOnce) {
    int polls = 0;
    ui.ui.on_process_events = [&] {
        if (++polls == 3) press_key(top_level<frmSplash>("frmSplash"));
    };
    const double before = ui.clock.now;
    ASSERT_NE(load(), nullptr);
    EXPECT_EQ(polls, 3);
    EXPECT_LT(ui.clock.now - before, 3.0);
}

TEST_F(ConsoleWindow, ClickOnTheSplashEndsTheWaitToo) {
    int polls = 0;
    ui.ui.on_process_events = [&] {
        if (++polls == 2) click(top_level<frmSplash>("frmSplash")->lblWarning);
    };
    ASSERT_NE(load(), nullptr);
    EXPECT_EQ(polls, 2);
}

TEST_F(ConsoleWindow, WithoutAKeyTheSplashWaitsFiveSeconds) {
    const double before = ui.clock.now;
    ASSERT_NE(load(), nullptr);
    EXPECT_GE(ui.clock.now - before, 4.0);
    EXPECT_LT(ui.clock.now - before, 7.0);
}

// With nothing happening the splash sleeps once, until its five seconds are up, instead of
// polling the clock.
TEST_F(ConsoleWindow, TheSplashSleepsUntilItsTimeIsUpInsteadOfPolling) {
    size_t slept = 0;
    ui.ui.on_process_events = [&] {  // no event comes: each sleep lasts as long as it may
        if (ui.ui.waits.size() > slept) ui.clock.advance(ui.ui.waits[slept++]);
    };
    const double before = ui.clock.now;
    ASSERT_NE(load(), nullptr);
    EXPECT_EQ(ui.ui.events_processed, 1);
    EXPECT_GE(ui.clock.now - before, 4.0);
    EXPECT_LT(ui.clock.now - before, 6.0);
}

TEST_F(ConsoleWindow, ClockLeftByAnEarlierSplashDoesNotShortenTheWait) {
    shared().SplashClock = 1 << 30;  // as a key on the splash of a load just before leaves it
    const double before = ui.clock.now;
    ASSERT_NE(load(), nullptr);
    EXPECT_GE(ui.clock.now - before, 4.0);
}

TEST_F(ConsoleWindow, FirmwareTwoGreysTheMonitorItemOnly) {
    ASSERT_TRUE(world(testing::board_world(2)));
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->mainMonitor->isEnabled());
    EXPECT_TRUE(c->mainTools->menuAction()->isEnabled());
    EXPECT_TRUE(c->panel0->SendButton->isEnabled());
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(ConsoleWindow, FirmwareThreeEnablesEverything) {
    ASSERT_TRUE(world(testing::board_world(3)));
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->mainMonitor->isEnabled());
    EXPECT_TRUE(c->mainFile->menuAction()->isEnabled());
    EXPECT_TRUE(c->frm_Block_Cmd->SendBlock->isEnabled());
}

TEST_F(ConsoleWindow, FirmwareZeroShowsTheInitialisationErrorAndEnds) {
    ASSERT_TRUE(world(testing::board_world(0)));
    EXPECT_EQ(frmSendSMB_cmds::Load(), nullptr);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{std::string(kInitializationError)});
    EXPECT_EQ(console_window(), nullptr);
    EXPECT_EQ(RLSIM_IsOpen(0), 0) << "the link is closed";
}

TEST_F(ConsoleWindow, ClosingTheConsoleUnloadsEveryPanelAndClosesLinkAndHelp) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->show();
    Control(2);
    Control(5).show();
    ASSERT_EQ(RLSIM_IsOpen(0), 1);
    c->close();
    EXPECT_EQ(console_window(), nullptr);
    for (int n = 1; n <= kPanelWindows; ++n) EXPECT_EQ(Loaded_Control(n), nullptr) << n;
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
    ASSERT_FALSE(ui.ui.help_calls.empty());
    EXPECT_EQ(ui.ui.help_calls.back().command, platform::ui::kHelpCloseAll);
}

TEST_F(ConsoleWindow, ExitClosesTheLinkAndUnloads) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->show();
    Control(1).show();
    c->Exit->trigger();
    EXPECT_EQ(console_window(), nullptr);
    EXPECT_EQ(Loaded_Control(1), nullptr);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(ConsoleWindow, LoadingAgainRunsTheWholeStartUpFromTheDesignState) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("0D"));
    c->Unload();
    EXPECT_EQ(console_window(), nullptr);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int polls = ui.ui.events_processed;
    c = load();
    ASSERT_NE(c, nullptr);
    EXPECT_GT(ui.ui.events_processed, polls) << "the splash screen again";
    EXPECT_EQ(c->panel0->txt_Device_Cmd->text(), "16");
    EXPECT_EQ(c->panel0->CmdProtocol->count(), 6);
    EXPECT_EQ(RLSIM_IsOpen(0), 1);
}

TEST_F(ConsoleWindow, HelpItemsShowTheirTopicsFromPagesBesideTheProgram) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    const std::pair<QAction*, int> items[] = {{c->Ascii, 109},
                                              {c->mnuSBS, 108},
                                              {c->mnuSSR, 114},
                                              {c->PowerMBus, 107},
                                              {c->menuHelp, 113}};
    for (const auto& [action, topic] : items) {
        action->trigger();
        ASSERT_FALSE(ui.ui.help_calls.empty());
        const auto& call = ui.ui.help_calls.back();
        EXPECT_EQ(call.topic, topic);
        EXPECT_EQ(call.command, platform::ui::kHelpDisplayTopic);
        const QFileInfo chm(QString::fromStdString(call.file));
        EXPECT_EQ(chm.fileName(), "QX7310help.chm");
        EXPECT_TRUE(QFileInfo::exists(chm.absolutePath() + "/QX7310help/" + QString::number(topic) +
                                      ".html"))
            << topic;
    }
}

TEST_F(ConsoleWindow, WorkspaceAndMonitorItemsRunTheirHooks) {
    std::vector<std::string> ran;
    ConsoleHooks& h = console_hooks();
    h.menuopen_Click = [&] { ran.push_back("menuopen"); };
    h.mainAdd_Click = [&] { ran.push_back("mainAdd"); };
    h.mainMonitor_Click = [&] { ran.push_back("mainMonitor"); };
    h.I2C_Click = [&] { ran.push_back("I2C"); };
    h.SBS_Click = [&] { ran.push_back("SBS"); };
    h.Groupsetbut_Click = [&] { ran.push_back("Groupsetbut"); };
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->menuopen->trigger();
    c->mainAdd->trigger();
    c->mainMonitor->trigger();
    c->I2C->setChecked(true);
    c->I2C->setChecked(true);  // selected already: no second run
    c->SBS->setChecked(true);
    c->Groupsetbut->setEnabled(true);
    c->Groupsetbut->click();
    c->mainDelete->trigger();  // no hook installed: nothing happens
    EXPECT_EQ(ran, (std::vector<std::string>{"menuopen", "mainAdd", "mainMonitor", "I2C", "SBS",
                                             "Groupsetbut"}));
}

TEST_F(ConsoleWindow, MainPanelReadWordOfVoltage) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    writes();
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    EXPECT_EQ(c->panel0->PMBuscmd->text(), "VOLTAGE (mV)");
    c->panel0->SendButton->click();
    EXPECT_EQ(writes(), "34 16 09 0D\n");
    EXPECT_EQ(shared().ResultLSB[0], 0x34);
    EXPECT_EQ(shared().ResultMSB[0], 0x30);
    EXPECT_EQ(shared().ResultReady[0], True);
    EXPECT_EQ(shared().BusBusy, False);
}

TEST_F(ConsoleWindow, MismatchOnTheMainPanelUnticksItsRepeatBox) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("20"));  // class 7: always refused
    c->panel0->Nonstop->setChecked(true);
    writes();
    c->cmd_Send_Click();
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{"Device command mismatch with SMB transaction type in "
                                       "MAIN Control. Command not executed"});
    EXPECT_FALSE(c->panel0->Nonstop->isChecked());
    EXPECT_EQ(writes(), "");
}

TEST_F(ConsoleWindow, RepeatTickInsideAMessageBoxDoesNotHang) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("20"));
    Control(1).txt_Device_Cmd->setText(QStringLiteral("09"));
    int boxes = 0;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) {
        ++boxes;
        c->cmd_Send_Click();  // the same panel again
        Send1_Click();        // and another one
    };
    writes();
    c->cmd_Send_Click();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(shared().BusBusy, False);
}

TEST_F(ConsoleWindow, SendBlockStopsRepeatAllAndEveryOpenRepeatBox) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    shared().PanelCount = 1;
    c->set_Repeatall_BackColor(kRepeatRunning);
    c->Repeatall->setText(QStringLiteral("Click to Stop"));
    c->panel0->Nonstop->setChecked(true);
    Control(1).Nonstop->setChecked(true);
    Control(2).Nonstop->setChecked(true);  // beyond PanelCount: not touched
    writes();
    c->frm_Block_Cmd->SendBlock->click();
    EXPECT_EQ(writes(), "47 16 20 0D\n");
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    EXPECT_EQ(c->Repeatall->text(), "Repeat All");
    EXPECT_FALSE(c->panel0->Nonstop->isChecked());
    EXPECT_FALSE(Control(1).Nonstop->isChecked());
    EXPECT_TRUE(Control(2).Nonstop->isChecked());
}

TEST_F(ConsoleWindow, BlockWriteSendsTheDataBoxLines) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    BlockCommandFrame* b = c->frm_Block_Cmd;
    b->btn_Block_Write_Cmd->setChecked(true);
    EXPECT_EQ(b->txt_Block_Count->text(), "2");
    EXPECT_EQ(b->Block_Data_Text(), "A1\r\nA2\r\n");
    b->set_Block_Data_Text("05\r\n02\r\n07\r\n");
    b->txt_Block_Count->setText(QStringLiteral("3"));
    writes();
    c->SendBlock_Click();
    EXPECT_EQ(writes(), "46 16 20 03\n05\n02\n07\n0D\n");
}

TEST_F(ConsoleWindow, BlockOptionsLayOutTheFrame) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    BlockCommandFrame* b = c->frm_Block_Cmd;
    EXPECT_TRUE(has_read_look(b->txt_Block_Data));
    EXPECT_EQ(b->Block_Data_Text(), "A1\r\n04\r\n2B\r\n33\r\n");
    b->BlockWRPrc->setChecked(true);
    EXPECT_EQ(b->Label9->text(), "Write");
    EXPECT_FALSE(b->txt_Block_Data1->isHidden());
    EXPECT_FALSE(b->Label10->isHidden());
    EXPECT_FALSE(has_read_look(b->txt_Block_Count));
    EXPECT_EQ(b->txt_Block_Count->text(), "4") << "no pre-fill";
    b->btn_Block_Write_Cmd->setChecked(true);
    EXPECT_TRUE(b->txt_Block1_Count->isHidden());
    EXPECT_EQ(b->txt_Block_Count->text(), "2");
    b->txt_Block_Count->setText(QStringLiteral("9"));
    b->btn_Block_Read_Cmd->setChecked(true);
    EXPECT_EQ(b->Label9->text(), "Read");
    EXPECT_TRUE(has_read_look(b->txt_Block_Count));
    EXPECT_EQ(b->txt_Block_Count->text(), "9");
}

TEST_F(ConsoleWindow, AboutBoxShowsVersionsAndClosesOnAKey) {
    frmSendSMB_cmds* c = load();
    ASSERT_NE(c, nullptr);
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* about = top_level<frmSplash1>("frmSplash1");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->objectName(), "frmSplash1");
        EXPECT_EQ(about->lblVersion->text(), "Version 1.02");
        EXPECT_EQ(about->firmwareversionlabel->text(), "Firmware version:3");
        press_key(about);
        closed = !about->isVisible();
    });
    c->mainAbout->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(QCoreApplication::applicationName(), "QX7310B Unreleased");
}

TEST_F(ConsoleWindow, OnlyTheListedControlsEndTheSplashOrCloseTheAboutBox) {
    frmSplash s;
    s.show();
    click(s.Label3);
    click(s.firmwarelabel);
    EXPECT_FALSE(s.unloaded());
    click(s.Label2);
    EXPECT_TRUE(s.unloaded());
    frmSplash1 about;
    about.show();
    click(about.firmwareversionlabel);
    EXPECT_TRUE(about.isVisible());
    click(about.Label3);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(ConsoleWindow, SplashScreenCaptions) {
    frmSplash s;
    EXPECT_EQ(s.lblVersion->text(), "Version 1.02");
    EXPECT_EQ(s.Label1->text(), "Press any key to continue");
    EXPECT_EQ(s.Label3->text(), "06/23/2009");
    EXPECT_TRUE(s.lblWarning->text().startsWith("Warning: If connecting two or more QX7310"));
    EXPECT_FALSE(s.imgLogo->pixmap().isNull());
    shared().SplashClock = 100;
    s.Form_KeyPress();
    EXPECT_EQ(shared().SplashClock, 105);
    EXPECT_TRUE(s.unloaded());
}

}  // namespace
}  // namespace velmora
