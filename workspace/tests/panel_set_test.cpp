#include <QPlainTextEdit>

#include "workspace_fixture.h"

namespace velmora {
namespace {

class PanelSet : public testing::WorkspaceFixture {};

TEST_F(PanelSet, AddNineTimesOpensOneToEightThenShowsEightAgain) {
    for (int k = 1; k <= kPanelWindows; ++k) {
        add();
        EXPECT_EQ(shared().PanelCount, k);
        ASSERT_NE(Loaded_Control(k), nullptr);
        EXPECT_TRUE(Control(k).isVisible());
        EXPECT_EQ(Control(k).windowTitle(), QStringLiteral("Control%1").arg(k));
        if (k < kPanelWindows) {
            EXPECT_EQ(Loaded_Control(k + 1), nullptr);
        }
    }
    Control(8).hide();
    add();
    EXPECT_EQ(shared().PanelCount, 8);
    EXPECT_TRUE(Control(8).isVisible());
}

// The menu keys run their items wherever the caret is, though a text box takes Ctrl+A as
// select-all when nothing claims it first.
TEST_F(PanelSet, MenuKeysWorkFromEveryBoxOfTheConsole) {
    for (QWidget* box :
         {static_cast<QWidget*>(main().txt_Device_Addr), static_cast<QWidget*>(main().CmdProtocol),
          static_cast<QWidget*>(c->frm_Block_Cmd->txt_Block_Data)}) {
        focus(box);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    }
    EXPECT_EQ(shared().PanelCount, 3);
    focus(main().TranslationMode);
    QTest::keyClick(main().TranslationMode, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(shared().PanelCount, 2);
}

TEST_F(PanelSet, DeleteWithNoneOpenClosesNothing) {
    c->mainDelete->trigger();
    EXPECT_EQ(shared().PanelCount, 0);
    for (int k = 1; k <= kPanelWindows; ++k) EXPECT_EQ(Loaded_Control(k), nullptr);
}

TEST_F(PanelSet, DeleteClosesTheHighestPanel) {
    add(3);
    c->mainDelete->trigger();
    EXPECT_EQ(shared().PanelCount, 2);
    EXPECT_EQ(Loaded_Control(3), nullptr);
    EXPECT_NE(Loaded_Control(2), nullptr);
    // The close box of the highest panel is Delete; the others' are refused.
    EXPECT_FALSE(Control(1).close());
    EXPECT_TRUE(Control(2).close());
    EXPECT_EQ(shared().PanelCount, 1);
}

TEST_F(PanelSet, DeletingARepeatingPanelEndsItsRepetition) {
    add(2);
    type_over(Control(2).txt_Device_Cmd, "0D");
    Control(2).Nonstop->setChecked(true);
    c->Timer_1sec_Timer();
    EXPECT_NE(writes(), "");
    c->mainDelete->trigger();
    c->Timer_1sec_Timer();
    EXPECT_EQ(writes(), "");
    add();
    EXPECT_EQ(Control(2).txt_RW_LSByte->text(), "") << "not the reply the panel waited for";
}

// The start-up writes "16" into boxes that hold it by design: the lookup runs anyway and
// drops the class that the closed panel's command left.
TEST_F(PanelSet, APanelOpenedAgainLooksItsStartUpCommandUpAfresh) {
    add();
    type_over(Control(1).txt_Device_Cmd, "20");
    c->mainDelete->trigger();
    add();
    writes();
    Control(1).SendButton->click();
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_EQ(Control(1).PMBuscmd->text(), "BATTERY STATUS");
    EXPECT_EQ(writes(), "34 16 16 0D\n");
}

TEST_F(PanelSet, DeleteThenAddGivesTheFieldsOfTheStartUp) {
    add();
    Control(1).txt_Device_Addr->setText(QStringLiteral("AA"));
    Control(1).txt_RW_LSByte->setText(QStringLiteral("55"));
    Control(1).Nonstop->setChecked(true);
    c->mainDelete->trigger();
    add();
    EXPECT_EQ(Control(1).txt_Device_Addr->text(), "16");
    EXPECT_EQ(Control(1).txt_RW_LSByte->text(), "");
    EXPECT_FALSE(Control(1).Nonstop->isChecked());
}

TEST_F(PanelSet, APanelOpenedInPMBusHoldsTheExtTypes) {
    choose(c->PMBus_sel);
    add();
    EXPECT_EQ(items(Control(1).CmdProtocol), type_list(true));
    EXPECT_EQ(Control(1).txt_Device_Addr->text(), "B8");
    choose(c->I2C);
    add();
    EXPECT_EQ(items(Control(2).CmdProtocol), type_list(false));
    EXPECT_EQ(Control(2).txt_Device_Addr->text(), "");
    EXPECT_TRUE(Control(2).PMBuscmd->isHidden());
}

TEST_F(PanelSet, AddShowsTheExtendedByteBoxByTheTypeTextInEveryMode) {
    Control(1).set_CmdProtocol_Text("Ext Read Byte");  // loaded hidden, then typed into
    add();
    EXPECT_FALSE(Control(1).txt_Device_Cmdlsb->isHidden());
    Control(2).txt_Device_Cmdlsb->show();
    add();
    EXPECT_TRUE(Control(2).txt_Device_Cmdlsb->isHidden());
}

TEST_F(PanelSet, RearrangeWithNoPanelOpenLoadsAllEightHidden) {
    c->mainRearrange->trigger();
    EXPECT_EQ(c->pos(), QPoint(1, 33));
    EXPECT_EQ(shared().PanelCount, 0);
    for (int k = 1; k <= kPanelWindows; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(Loaded_Control(k), nullptr);
        EXPECT_TRUE(Control(k).isHidden());
    }
    const QPoint place = Control(1).pos();
    // A later Add shows the fields that the start-up gave at the time of Rearrange.
    choose(c->PMBus_sel);
    add();
    EXPECT_TRUE(Control(1).isVisible());
    EXPECT_EQ(Control(1).txt_Device_Addr->text(), "16");
    EXPECT_TRUE(Control(1).TranslationMode->isHidden());
    EXPECT_EQ(Control(1).CmdProtocol->count(), 10) << "the Ext types come with the opening";
    EXPECT_EQ(Control(1).pos(), place) << "the place stays";
}

TEST_F(PanelSet, RearrangedWindowsCoverNeitherTheConsoleNorEachOther) {
    c->show();
    add(kPanelWindows);
    Control(3).resize(400, 330);  // by the user
    c->mainRearrange->trigger();
    EXPECT_EQ(Control(3).size(), QSize(400, 330));
    for (int k = 1; k <= kPanelWindows; ++k)
        for (int j = 0; j < k; ++j)
            EXPECT_FALSE(Control(k).frameGeometry().intersects(j ? Control(j).frameGeometry()
                                                                 : c->frameGeometry()));
}

TEST_F(PanelSet, ACountBelowZeroClimbsBackBeforeAPanelOpens) {
    shared().PanelCount = -2;
    add();
    EXPECT_EQ(shared().PanelCount, -1);
    add();
    EXPECT_EQ(shared().PanelCount, 0);
    EXPECT_EQ(Loaded_Control(1), nullptr);
    add();
    EXPECT_EQ(shared().PanelCount, 1);
    EXPECT_TRUE(Control(1).isVisible());
    shared().PanelCount = -3;
    c->mainDelete->trigger();
    EXPECT_EQ(shared().PanelCount, 0);
    EXPECT_NE(Loaded_Control(1), nullptr) << "nothing closed";
}

}  // namespace
}  // namespace velmora
