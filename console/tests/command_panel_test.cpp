#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "console_startup.h"
#include "qt_controls.h"
#include "window_fixture.h"

namespace velmora {
namespace {

class PanelTest : public testing::WindowFixture {
  protected:
    void SetUp() override {
        c = load();
        ASSERT_NE(c, nullptr);
    }
    frmSendSMB_cmds* c = nullptr;
};

TEST_F(PanelTest, PickingATypeUnticksRepeatAndEmptiesTheValueBox) {
    CommandPanel& p = *c->panel0;
    p.Nonstop->setChecked(true);
    p.Linear16bit->setText(QStringLiteral("12.5"));
    pick(p, "Read Word");
    EXPECT_FALSE(p.Nonstop->isChecked());
    EXPECT_EQ(p.Linear16bit->text(), "");
}

// A change of a list's item with the list closed is a pick too: the wheel and the arrow
// keys run the click handling, on the main panel and on a panel window. They move on from
// the item shown, also when code wrote it.
TEST_F(PanelTest, WheelAndArrowKeysOnAClosedListRunItsClickHandling) {
    c->PMBus_sel->setChecked(true);  // no switch installed: only the mode changes
    for (CommandPanel* p : {c->panel0, &Control(1)}) {
        p->set_CmdProtocol_Text("Write Word");
        p->Nonstop->setChecked(true);
        wheel(p->CmdProtocol, 1);
        EXPECT_EQ(p->CmdProtocol_Text(), "Read Word");
        EXPECT_FALSE(p->Nonstop->isChecked()) << "a change of type ends the repetition";
        p->Nonstop->setChecked(true);
        wheel(p->CmdProtocol, -1);
        EXPECT_EQ(p->CmdProtocol_Text(), "Write Word");
        EXPECT_FALSE(p->Nonstop->isChecked());
        EXPECT_FALSE(p->txt_RW_MSByte->isReadOnly());
        p->Nonstop->setChecked(true);
        focus(p->CmdProtocol);
        QTest::keyClick(p->CmdProtocol, Qt::Key_Down);
        EXPECT_EQ(p->CmdProtocol_Text(), "Read Byte");
        EXPECT_FALSE(p->Nonstop->isChecked());
        EXPECT_TRUE(p->txt_RW_MSByte->isHidden());

        p->set_text(PanelField::TranslationMode, "Exp5b Man11b");
        focus(p->TranslationMode);
        QTest::keyClick(p->TranslationMode, Qt::Key_Down);
        EXPECT_FALSE(p->Xtext->isHidden());
        wheel(p->TranslationMode, 1);
        EXPECT_EQ(p->TranslationMode->currentText(), "Exp5b Man11b");
        EXPECT_TRUE(p->Xtext->isHidden());
    }
}

TEST_F(PanelTest, WritingTheTypeTextRunsNoLayout) {
    CommandPanel& p = *c->panel0;
    p.Nonstop->setChecked(true);
    p.set_CmdProtocol_Text("Write Word");
    EXPECT_EQ(p.CmdProtocol_Text(), "Write Word");
    EXPECT_FALSE(p.Nonstop->isChecked()) << "a repeating panel never turns into a write";
    EXPECT_TRUE(has_read_look(p.txt_RW_LSByte));
    EXPECT_TRUE(p.txt_RW_LSByte->isReadOnly());
}

TEST_F(PanelTest, LayoutOfEachPickedType) {
    CommandPanel& p = *c->panel0;
    pick(p, "Write Word");
    EXPECT_FALSE(p.txt_RW_LSByte->isReadOnly());
    EXPECT_FALSE(has_read_look(p.txt_RW_MSByte));
    EXPECT_FALSE(p.txt_RW_MSByte->isHidden());
    EXPECT_FALSE(has_read_look(p.Linear16bit));
    pick(p, "Read Byte");
    EXPECT_TRUE(p.txt_RW_MSByte->isHidden());
    EXPECT_TRUE(p.label_RW_MSByte->isHidden());
    EXPECT_TRUE(has_read_look(p.txt_RW_LSByte));
    EXPECT_TRUE(p.Linear16bit->isReadOnly());
    pick(p, "Receive Byte");
    EXPECT_TRUE(p.txt_Device_Cmd->isHidden());
    EXPECT_TRUE(p.label_Device_Command->isHidden());
    pick(p, "Send Byte");
    EXPECT_FALSE(p.txt_Device_Cmd->isHidden());
    EXPECT_TRUE(p.txt_RW_LSByte->isHidden());
    EXPECT_FALSE(p.txt_RW_LSByte->isReadOnly());
    EXPECT_FALSE(p.Linear16bit->isReadOnly()) << "unlocked";
    EXPECT_TRUE(has_read_look(p.Linear16bit)) << "colour kept";
    EXPECT_FALSE(p.txt_Device_Addr->isHidden());
}

TEST_F(PanelTest, ExtTypeShowsTheExtendedBoxAndItsClassOutlivesTheNextPick) {
    c->PMBus_sel->setChecked(true);  // no switch installed: only the mode changes
    CommandPanel& p = *c->panel0;
    for (std::string_view t : kExtTypes) p.CmdProtocol_AddItem(std::string(t));
    pick(p, "Ext Read Word");
    EXPECT_FALSE(p.txt_Device_Cmdlsb->isHidden());
    EXPECT_EQ(p.PMBuscmd->text(), "Extended Commands");
    EXPECT_EQ(shared().CmdClass[0], 11);
    pick(p, "Read Word");
    EXPECT_TRUE(p.txt_Device_Cmdlsb->isHidden());
    EXPECT_EQ(shared().CmdClass[0], 11);
    p.txt_Device_Cmd->setText(QStringLiteral("8B"));
    EXPECT_EQ(p.PMBuscmd->text(), "READ_VOUT");
    EXPECT_EQ(shared().CmdClass[0], 5);
}

TEST_F(PanelTest, QuickCmdFromCodeHidesAllButTheAddress) {
    CommandPanel& p = Control(4);
    p.set_CmdProtocol_Text("Quick Cmd");
    p.CmdProtocol_Click();
    EXPECT_TRUE(p.txt_Device_Cmd->isHidden());
    EXPECT_TRUE(p.txt_RW_LSByte->isHidden());
    EXPECT_TRUE(p.txt_RW_MSByte->isHidden());
    EXPECT_TRUE(p.txt_Device_Cmdlsb->isHidden());
    EXPECT_FALSE(p.txt_Device_Addr->isHidden());
}

TEST_F(PanelTest, UnknownTypeTextOnlyHidesTheExtendedBoxAndUnticksRepeat) {
    CommandPanel& p = *c->panel0;
    p.txt_Device_Cmdlsb->show();
    p.Nonstop->setChecked(true);
    p.Linear16bit->setText(QStringLiteral("5"));
    p.set_CmdProtocol_Text("read word");
    p.CmdProtocol_Click();
    EXPECT_TRUE(p.txt_Device_Cmdlsb->isHidden());
    EXPECT_FALSE(p.Nonstop->isChecked());
    EXPECT_EQ(p.Linear16bit->text(), "5");
}

TEST_F(PanelTest, TypeListEditsKeepTheText) {
    CommandPanel& p = Control(1);
    p.set_CmdProtocol_Text("Ext Write Word");
    for (std::string_view t : kExtTypes) p.CmdProtocol_AddItem(std::string(t));
    EXPECT_EQ(p.CmdProtocol_ListCount(), kTypeListWithExt);
    p.CmdProtocol->setCurrentIndex(8);
    p.set_CmdProtocol_Text("Write Word");
    for (int i = 0; i < 4; ++i) p.CmdProtocol_RemoveItem(6);
    EXPECT_EQ(p.CmdProtocol_ListCount(), 6);
    EXPECT_EQ(p.CmdProtocol_Text(), "Write Word");
}

TEST_F(PanelTest, PanelWindowStartsHiddenInSmartBatteryMode) {
    CommandPanel& p = Control(1);
    EXPECT_EQ(&p, &Control(1)) << "loaded once";
    EXPECT_EQ(p.objectName(), "Control1");
    EXPECT_EQ(p.windowTitle(), "Control1");
    EXPECT_TRUE(p.isWindow());
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(p.SendButton->objectName(), "Send1");
    EXPECT_EQ(p.Nonstop->text(), "Rpt.");
    EXPECT_EQ(p.CmdProtocol->count(), 6);
    EXPECT_EQ(p.TranslationMode->count(), 4);
    EXPECT_EQ(p.TranslationMode->itemText(3), "Exp(2^X) Auto input");
    EXPECT_EQ(p.TranslationMode->currentText(), "Select Format");
    EXPECT_TRUE(p.TranslationMode->isHidden());
    EXPECT_TRUE(p.SendBytePgNumber->isHidden());
    EXPECT_EQ(p.txt_Device_Addr->text(), "16");
    EXPECT_EQ(p.Pmbus->text(), "SBS Command");
    EXPECT_EQ(p.PMBuscmd->text(), "BATTERY STATUS");
    EXPECT_EQ(p.Xtext->text(), "-13");
    EXPECT_TRUE(p.Xtext->isHidden());
    EXPECT_EQ(p.CmdProtocol_Text(), "Read Word");
    EXPECT_TRUE(has_read_look(p.txt_RW_LSByte));
}

TEST_F(PanelTest, PanelWindowStartsInPmbusMode) {
    c->PMBus_sel->setChecked(true);
    CommandPanel& p = Control(2);
    EXPECT_EQ(p.Pmbus->text(), "PMBus Command");
    EXPECT_EQ(p.txt_Device_Addr->text(), "B8");
    EXPECT_EQ(p.txt_Device_Cmd->text(), "88");
    EXPECT_EQ(p.PMBuscmd->text(), "READ_VIN");
    EXPECT_EQ(shared().CmdClass[2], 5);
    EXPECT_FALSE(p.SendBytePgNumber->isHidden());
    EXPECT_FALSE(p.PageNumber->isHidden());
    EXPECT_FALSE(p.TranslationMode->isHidden());
    EXPECT_EQ(p.CmdProtocol->count(), 6)
        << "opening the panel adds the Ext types, not its start-up";
}

TEST_F(PanelTest, PanelWindowStartsInI2cModeWithEmptyBoxesAndNoNames) {
    c->I2C->setChecked(true);
    CommandPanel& p = Control(3);
    EXPECT_EQ(p.txt_Device_Addr->text(), "");
    EXPECT_EQ(p.txt_Device_Cmd->text(), "");
    EXPECT_TRUE(p.Pmbus->isHidden());
    EXPECT_TRUE(p.PMBuscmd->isHidden());
    EXPECT_TRUE(p.Linear16bit->isHidden());
    EXPECT_EQ(p.Pmbus->text(), "SBS Command");
}

TEST_F(PanelTest, UnloadedPanelComesBackWithFreshFields) {
    Control(6).txt_Device_Cmd->setText(QStringLiteral("0D"));
    Unload_Control(6);
    EXPECT_EQ(Loaded_Control(6), nullptr);
    EXPECT_EQ(Control(6).txt_Device_Cmd->text(), "16");
}

TEST_F(PanelTest, ClosingAPanelWindowUnloadsIt) {
    Control(7).show();
    Control(7).close();
    EXPECT_EQ(Loaded_Control(7), nullptr);
}

TEST_F(PanelTest, AddressChangeRenamesTheCommand) {
    CommandPanel& p = *c->panel0;
    p.txt_Device_Cmd->setText(QStringLiteral("13"));
    EXPECT_EQ(p.PMBuscmd->text(), "AVERAGE TIME TO FULL");
    p.txt_Device_Addr->setText(QStringLiteral("12"));
    EXPECT_EQ(p.PMBuscmd->text(), "CHARGER STATUS");
    EXPECT_EQ(shared().CmdClass[0], 3);
    p.txt_Device_Addr->setText(QStringLiteral("14"));
    EXPECT_EQ(p.PMBuscmd->text(), "UNDEFINED");
    EXPECT_EQ(shared().CmdClass[0], 3);
}

TEST_F(PanelTest, CommandPanelsUseTheirOwnTables) {
    CommandPanel& p = Control(2);
    p.txt_Device_Addr->setText(QStringLiteral("14"));
    p.txt_Device_Cmd->setText(QStringLiteral("12"));
    EXPECT_EQ(p.PMBuscmd->text(), "CHARGER MODE");
    EXPECT_EQ(shared().CmdClass[2], 6);
    p.txt_Device_Addr->setText(QStringLiteral("16"));
    p.txt_Device_Cmd->setText(QStringLiteral("8"));
    EXPECT_EQ(p.PMBuscmd->text(), "TEMPERATURE");
}

TEST_F(PanelTest, I2cModeLeavesCaptionAndClass) {
    c->I2C->setChecked(true);
    CommandPanel& p = *c->panel0;
    shared().CmdClass[0] = 4;
    p.txt_Device_Cmd->setText(QStringLiteral("20"));
    p.txt_Device_Addr->setText(QStringLiteral("99"));
    EXPECT_EQ(p.PMBuscmd->text(), "BATTERY STATUS");
    EXPECT_EQ(shared().CmdClass[0], 4);
}

TEST_F(PanelTest, PanelThreeSendsItsOwnExtendedByte) {
    c->PMBus_sel->setChecked(true);
    CommandPanel& p = Control(3);
    p.set_CmdProtocol_Text("Ext Read Word");  // as a settings file loads it
    p.CmdProtocol_Click();
    p.txt_Device_Cmdlsb->setText(QStringLiteral("5a"));
    c->panel0->txt_Device_Cmdlsb->setText(QStringLiteral("11"));
    writes();
    Send3_Click();
    EXPECT_EQ(writes(), "51 B8 88 5A 0D\n");
    EXPECT_EQ(shared().RowProtocol[3], "Q");
    EXPECT_EQ(shared().ResultReady[3], True);
}

TEST_F(PanelTest, PanelOneMismatchEndsWithAFullStopForClassesUpToFive) {
    CommandPanel& p = Control(1);
    p.txt_Device_Cmd->setText(QStringLiteral("09"));  // class 3
    p.set_CmdProtocol_Text("Write Word");
    p.Nonstop->setChecked(true);
    Send1_Click();
    p.txt_Device_Addr->setText(QStringLiteral("12"));
    p.txt_Device_Cmd->setText(QStringLiteral("12"));  // class 6
    p.set_CmdProtocol_Text("Read Word");
    Send1_Click();
    EXPECT_EQ(ui.ui.message_texts(),
              (std::vector<std::string>{
                  "Device command mismatch with SMB transaction type in Control1. Command not "
                  "executed.",
                  "Device command mismatch with SMB transaction type in Control1. Command not "
                  "executed"}));
    EXPECT_FALSE(p.Nonstop->isChecked());
}

TEST_F(PanelTest, PageNumberAboveSevenIsRewritten) {
    c->PMBus_sel->setChecked(true);
    CommandPanel& p = *c->panel0;
    p.SendBytePgNumber->show();
    p.SendBytePgNumber->setChecked(true);
    p.PageNumber->setText(QStringLiteral("A"));
    p.txt_Device_Addr->setText(QStringLiteral("B8"));
    p.txt_Device_Cmd->setText(QStringLiteral("8B"));
    writes();
    c->cmd_Send_Click();
    EXPECT_EQ(p.PageNumber->text(), "7");
    EXPECT_EQ(writes(), "43 B8 00 07 0D\n34 B8 8B 0D\n");
}

}  // namespace
}  // namespace velmora
