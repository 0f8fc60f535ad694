// The monitor window outside a capture: entering it from the console, its controls and
// menus, the small commands, and leaving it by Exit, Return or the close box.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "monitor_fixture.h"

namespace velmora::monitor::testing {
namespace {

using platform::ui::kHelpDisplayTopic;

const std::string kLeaveWrite = "4E 4E 4E 4E 4E 4E 4E 4E 4E 4E\n";

class MonitorWindowTest : public MonitorFixture {
  protected:
    void SetUp() override { enter(replay_world("S101100100P")); }
};

TEST_F(MonitorWindowTest, EnteringSendsMCrOnTheCommandLinkAndShowsTheWindowWithItsHelpTopic) {
    EXPECT_EQ(RLSIM_TakeWriteLog(0, nullptr, 0), 0u);  // taken by enter()
    ASSERT_EQ(monitor_window(), mon);
    EXPECT_TRUE(mon->isVisible());
    EXPECT_EQ(mon->windowTitle(), "Monitor I2C/SMBus/PMBus (100kHz max)");
    EXPECT_EQ(mon->objectName(), "Frm_Monitor");
    ASSERT_EQ(ui.ui.help_calls.size(), 1u);
    EXPECT_EQ(ui.ui.help_calls[0].command, kHelpDisplayTopic);
    EXPECT_EQ(ui.ui.help_calls[0].topic, 100);
    EXPECT_EQ(fs::path(ui.ui.help_calls[0].file).filename(), "QX7310help.chm");
    // Every capture logs; the box is out of reach.
    EXPECT_TRUE(mon->Datalog->isChecked());
    EXPECT_TRUE(mon->Datalog->isHidden());
    EXPECT_TRUE(mon->DisplayON->isChecked());
    EXPECT_TRUE(mon->btnHex->isChecked());
    EXPECT_FALSE(mon->Timechk->isChecked());
    EXPECT_EQ(mon->RX_BackColor(), kButtonFace);
}

using MonitorEntryTest = MonitorFixture;

TEST_F(MonitorEntryTest, TheSwitchWritesMCrBeforeTheConsoleUnloads) {
    ASSERT_EQ(RLSIM_LoadWorldText(replay_world("S0P").c_str()), 0);
    shared().BoardSerial = Find_Board();
    Open_USB_Cmd();
    writes();
    std::string seen_at_unload;
    mon = enter_monitor([&] {
        seen_at_unload = writes();
        Close_USB();
    });
    EXPECT_EQ(seen_at_unload, "4D 0D\n");
    EXPECT_EQ(mon, monitor_window());
}

TEST_F(MonitorEntryTest, AFailedMWriteSetsCommsErrorAndTheMonitorOpensAnyway) {
    ASSERT_EQ(RLSIM_LoadWorldText(replay_world("S0P").c_str()), 0);
    shared().BoardSerial = Find_Board();
    Open_USB_Cmd();
    shared().CommsError = False;
    RLSIM_InjectFault(0, "write_fail", -1, 0);
    mon = enter_monitor([] { Close_USB(); });
    EXPECT_EQ(shared().CommsError, True);
    ASSERT_EQ(monitor_window(), mon);
    EXPECT_TRUE(mon->isVisible());
}

TEST_F(MonitorWindowTest, ControlsAndMenusCarryTheirNamesAndCaptions) {
    const std::pair<const char*, const char*> widgets[] = {
        {"RX", "Start"},           {"RXStop", "Stop"},
        {"Clearmsg", "Clear"},     {"DisplayON", "Display On"},
        {"Datalog", "Datalog On"}, {"Timechk", "Time"},
        {"btnPMB", "PMBus"},       {"btnSBS", "SBS"},
        {"btnHex", "Hex"},
    };
    for (const auto& [name, caption] : widgets) {
        auto* b = mon->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), caption) << name;
    }
    // No caption of the window's own beyond these.
    for (const QGroupBox* g : mon->findChildren<QGroupBox*>()) EXPECT_TRUE(g->title().isEmpty());
    EXPECT_TRUE(mon->findChildren<QLabel*>().isEmpty());
    EXPECT_NE(mon->findChild<QPlainTextEdit*>("Data"), nullptr);
    EXPECT_NE(mon->findChild<QPlainTextEdit*>("Msgtextbox"), nullptr);

    const std::pair<const char*, const char*> menus[] = {
        {"monFile", "&File"},    {"monEdit", "&Edit"}, {"monView", "&View"},
        {"monsbs", "SBS Table"}, {"monHelp", "&Help"},
    };
    for (const auto& [name, caption] : menus) {
        auto* m = mon->findChild<QMenu*>(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->title(), caption) << name;
    }
    const std::pair<const char*, const char*> items[] = {
        {"monOpen", "Open"},
        {"monReturn", "Return"},
        {"monExit", "Exit"},
        {"monCopy", "Copy to Clipboard"},
        {"monASCII", "&ASCII Table"},
        {"monsbstable", "SBS Table"},
        {"monSSR", "&Safety Signal Range"},
        {"monPMBus", "&PMBus"},
        {"monAbout", "About"},
    };
    for (const auto& [name, caption] : items) {
        QAction* a = nullptr;
        for (QAction* candidate : mon->findChildren<QAction*>(name))
            if (!candidate->menu()) a = candidate;
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), caption) << name;
    }
}

TEST_F(MonitorWindowTest, ViewItemsOpenTheirHelpTopics) {
    ui.ui.help_calls.clear();
    const std::pair<QAction*, int> items[] = {
        {mon->monASCII, 109}, {mon->monsbstable, 108}, {mon->monSSR, 114}, {mon->monPMBus, 107}};
    for (const auto& [item, topic] : items) item->trigger();
    ASSERT_EQ(ui.ui.help_calls.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ui.ui.help_calls[i].topic, items[i].second);
        EXPECT_EQ(ui.ui.help_calls[i].command, kHelpDisplayTopic);
    }
}

TEST_F(MonitorWindowTest, AboutShowsTheProgramsAboutBoxOverTheMonitor) {
    QWidget* parent = nullptr;
    monitor_hooks().show_about = [&](QWidget* p) { parent = p; };
    mon->monAbout->trigger();
    EXPECT_EQ(parent, mon);
}

TEST_F(MonitorWindowTest, OpenShowsTheProgramFolder) {
    mon->monOpen->trigger();
    ASSERT_EQ(ui.ui.shell_calls.size(), 1u);
    EXPECT_EQ(ui.ui.shell_calls[0].path, App_Folder());
    EXPECT_EQ(ui.ui.shell_calls[0].verb, "explore");
}

TEST_F(MonitorWindowTest, CopyPutsTheWholeTrafficBoxOnTheClipboardWithCrLf) {
    mon->Data->setPlainText("Data capture in process ...\n#1  \t[S]B2[A][P]\n");
    ui.ui.clipboard = "old";
    mon->monCopy->trigger();
    EXPECT_EQ(ui.ui.clipboard, "Data capture in process ...\r\n#1  \t[S]B2[A][P]\r\n");
}

TEST_F(MonitorWindowTest, ClearEmptiesTheBoxAndTheLineTexts) {
    mon->Data->setPlainText("old lines");
    mon->capture().decoder().HexLineText = "#4  \t[S]16";
    mon->Clearmsg->click();
    EXPECT_TRUE(mon->Data->toPlainText().isEmpty());
    EXPECT_TRUE(mon->capture().decoder().HexLineText.empty());
}

TEST_F(MonitorWindowTest, OptionsReachTheDecoder) {
    mon->btnSBS->click();
    EXPECT_EQ(mon->capture().decoder().mode, DecodeMode::SBS);
    mon->btnPMB->click();
    EXPECT_EQ(mon->capture().decoder().mode, DecodeMode::PMBus);
    mon->Timechk->click();
    EXPECT_TRUE(mon->capture().decoder().Timechk);
    mon->Datalog->setChecked(false);
    mon->DisplayON->click();  // unticked: logging is ticked again
    EXPECT_FALSE(mon->capture().decoder().DisplayON);
    EXPECT_TRUE(mon->Datalog->isChecked());
}

TEST_F(MonitorWindowTest, ExitSendsTheLeaveSequenceOnceAndUnloadsTheWindow) {
    mon->monExit->trigger();
    EXPECT_EQ(writes(), kLeaveWrite);
    EXPECT_EQ(monitor_window(), nullptr);
    EXPECT_EQ(shared().USB_Handle, nullptr);
    // The program ends: its help pages close with it.
    EXPECT_EQ(ui.ui.help_calls.back().command, platform::ui::kHelpCloseAll);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(MonitorWindowTest, TheCloseBoxSendsTheLeaveSequenceOnce) {
    mon->close();
    EXPECT_EQ(writes(), kLeaveWrite);
    EXPECT_EQ(monitor_window(), nullptr);
    EXPECT_FALSE(mon->isVisible());
}

TEST_F(MonitorWindowTest, ReturnLeavesAndThenShowsTheConsole) {
    std::string written_before_console;
    int consoles = 0;
    monitor_hooks().show_console = [&] {
        ++consoles;
        written_before_console = writes();
        EXPECT_EQ(RLSIM_IsOpen(0), 0);  // free for the console's start-up
    };
    mon->monReturn->trigger();
    EXPECT_EQ(consoles, 1);
    EXPECT_EQ(written_before_console, kLeaveWrite);
    EXPECT_EQ(monitor_window(), nullptr);
    EXPECT_EQ(ui.ui.help_calls.back().command, kHelpDisplayTopic);  // the program goes on
}

TEST_F(MonitorWindowTest, AFailedLeaveWriteSetsCommsErrorAndStillClosesTheLink) {
    RLSIM_InjectFault(0, "write_fail", -1, 0);
    shared().CommsError = False;
    mon->monExit->trigger();
    EXPECT_EQ(shared().CommsError, True);
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

}  // namespace
}  // namespace velmora::monitor::testing
