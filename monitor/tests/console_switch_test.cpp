// The switch between the console and the monitor wired as the program wires it: Tools >
// Monitor sends "M" CR, unloads the console and shows the monitor; Return leaves the
// monitor and loads the console again, whose start-up re-opens the command link.
#include <QAction>

#include "command_panel.h"
#include "console_hooks.h"
#include "frm_send_smb_cmds.h"
#include "monitor_fixture.h"
#include "panel_windows.h"
#include "velmora_wiring.h"

namespace velmora::monitor::testing {
namespace {

class ConsoleSwitchTest : public MonitorFixture {
  protected:
    void SetUp() override {
        RLSIM_LoadDefaultWorld();
        install_velmora_hooks();
    }
    void TearDown() override {
        if (frmSendSMB_cmds* c = console_window()) c->Unload();
        console_hooks() = ConsoleHooks{};
        monitor_hooks() = MonitorHooks{};
    }
};

TEST_F(ConsoleSwitchTest, MonitorThenReturnRunsTheConsolesWholeStartUpAgain) {
    frmSendSMB_cmds* console = frmSendSMB_cmds::Load();
    ASSERT_NE(console, nullptr);
    console->show();
    writes();

    console->mainMonitor->trigger();
    EXPECT_EQ(writes(), "4D 0D\n");
    EXPECT_EQ(console_window(), nullptr);
    Frm_Monitor* m = monitor_window();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(RLSIM_IsOpen(0), 0) << "the console's close step closed the command link";

    m->monReturn->trigger();
    const std::string written = writes();
    EXPECT_EQ(written.substr(0, 30), "4E 4E 4E 4E 4E 4E 4E 4E 4E 4E\n");
    // The start-up's firmware queries: the splash screen's, then the console's.
    EXPECT_EQ(written.substr(30), "56 0D\n57 0D\n56 0D\n57 0D\n");
    EXPECT_EQ(monitor_window(), nullptr);
    ASSERT_NE(console_window(), nullptr);
    EXPECT_TRUE(console_window()->isVisible());
    EXPECT_EQ(RLSIM_IsOpen(0), 1) << "the command link is open again";
    EXPECT_FALSE(shared().BoardSerial.empty());
}

TEST_F(ConsoleSwitchTest, WorkspaceMenusReachTheirHandlers) {
    frmSendSMB_cmds* console = frmSendSMB_cmds::Load();
    ASSERT_NE(console, nullptr);
    console->findChild<QAction*>(QStringLiteral("mainAdd"))->trigger();
    EXPECT_EQ(shared().PanelCount, 1);
    ASSERT_NE(Loaded_Control(1), nullptr);
    EXPECT_TRUE(Loaded_Control(1)->isVisible());
    console->findChild<QAction*>(QStringLiteral("mainDelete"))->trigger();
    EXPECT_EQ(shared().PanelCount, 0);
    for (int n = 1; n <= kPanelWindows; ++n) Unload_Control(n);
}

}  // namespace
}  // namespace velmora::monitor::testing
