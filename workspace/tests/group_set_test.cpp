#include "console_startup.h"
#include "workspace_fixture.h"

namespace velmora {
namespace {

class GroupSet : public testing::WorkspaceFixture {
  protected:
    // Panel 0, 1 and 2 as the request example has them, in PMBus mode.
    void SetUp() override {
        WorkspaceFixture::SetUp();
        choose(c->PMBus_sel);
        add(2);
        set(0, "Write Byte", "B8", "00", "01", "");
        set(1, "Write Word", "B8", "21", "00", "10");
        set(2, "Write Byte", "B8", "01", "80", "");
        c->Timer_1sec_Timer();  // enables the button: panels open in PMBus mode
        ASSERT_TRUE(c->Groupsetbut->isEnabled());
        writes();
    }
    void set(int n, const char* type, const char* addr, const char* cmd, const char* low,
             const char* high) {
        CommandPanel& p = panel(n);
        p.set_CmdProtocol_Text(type);
        p.txt_Device_Addr->setText(QString::fromLatin1(addr));
        p.txt_Device_Cmd->setText(QString::fromLatin1(cmd));
        p.txt_RW_LSByte->setText(QString::fromLatin1(low));
        p.txt_RW_MSByte->setText(QString::fromLatin1(high));
    }
    void group_send() { c->Groupsetbut->click(); }
};

TEST_F(GroupSet, SendsTheWritesOfEveryOpenPanelInOneRequest) {
    shared().BusBusy = True;  // neither waited for nor taken
    group_send();
    EXPECT_EQ(writes(), "53 32 31 B8 00 01 32 B8 21 00 10 31 B8 01 80 0D\n");
    EXPECT_EQ(shared().RawLength, 16);
    EXPECT_EQ(shared().RowProtocol[0], "S");
    EXPECT_FALSE(shared().ResultReady[0]) << "nothing for the timer to show";
    EXPECT_FALSE(shared().PanelError[0]);
    EXPECT_EQ(shared().BusBusy, True);
    EXPECT_TRUE(ui.ui.messages.empty());
    uint32_t word = 0;
    ASSERT_EQ(RLSIM_GetRegister(0, 0xB8, 0x21, -1, &word), 0);
    EXPECT_EQ(word, 0x1000u);
}

TEST_F(GroupSet, AReadOnTheMainPanelIsRefusedFirst) {
    set(0, "Read Word", "B8", "8B", "00", "");
    set(1, "Read Word", "ZZ", "8B", "", "");
    group_send();
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{
                  "Command must be Write Byte or Word in Main Control. Group send not executed."});
    EXPECT_EQ(writes(), "");
}

TEST_F(GroupSet, AnExtWriteOnPanelTwoRefusesTheWholeGroup) {
    Control(2).set_CmdProtocol_Text("Ext Write Byte");
    group_send();
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{
                  "Command must be Write Byte or Word in Control2. Group send not executed."});
    EXPECT_EQ(writes(), "");
}

TEST_F(GroupSet, AnInvalidBoxIsAnInvalidEntryEvenOnAReadPanel) {
    c->set_Repeatall_BackColor(kRepeatRunning);
    for (int n : {0, 1, 2}) panel(n).Nonstop->setChecked(true);
    set(2, "Read Byte", "B8", "01", "G0", "");
    group_send();
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{"One of the Addr, Cmd, Data entries are not valid"});
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    for (int n : {0, 1, 2}) EXPECT_FALSE(panel(n).Nonstop->isChecked()) << n;
}

TEST_F(GroupSet, ALoadedButClosedPanelTakesNoPart) {
    c->mainDelete->trigger();                      // panel 2 goes
    Control(3).set_CmdProtocol_Text("Read Word");  // loaded hidden, not open
    group_send();
    EXPECT_EQ(writes(), "53 31 31 B8 00 01 32 B8 21 00 10 0D\n");
    EXPECT_EQ(shared().RawLength, 12);
}

TEST_F(GroupSet, ATimeOutLandsInThePanelZeroError) {
    ASSERT_EQ(RLSIM_InjectFault(0, "no_reply", 1, 0), 0);
    c->cmd_Send_Click();  // its failure, waiting for the timer, outlives the group send
    group_send();
    EXPECT_TRUE(shared().PanelError[0]);
}

}  // namespace
}  // namespace velmora
