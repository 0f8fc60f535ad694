#include <malloc.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <string>
#include <vector>

#include "block_frame.h"
#include "console_startup.h"
#include "window_fixture.h"

namespace velmora {
namespace {

class ResultTimer : public testing::LoadedConsole {
  protected:
    void tick() { c->Timer_1sec_Timer(); }
    // A finished request of panel n, as the send path leaves it.
    static void result(int n, const char* letter, uint8_t msb, uint8_t lsb, bool error = false) {
        SharedState& s = shared();
        s.RowProtocol[n] = letter;
        s.ResultMSB[n] = msb;
        s.ResultLSB[n] = lsb;
        s.PanelError[n] = error ? True : False;
        s.ResultReady[n] = True;
    }
    static void open_panels(int count) {
        shared().PanelCount = static_cast<int16_t>(count);
        for (int n = 1; n <= count; ++n) Control(n);
    }
    static std::string value(int n) { return Panel(n)->Linear16bit->text().toStdString(); }
    static std::string bytes(int n) {
        return Panel(n)->txt_RW_MSByte->text().toStdString() + " " +
               Panel(n)->txt_RW_LSByte->text().toStdString();
    }
    bool repeat_all_running() const {
        return c->Repeatall_BackColor() != kButtonFace && c->Repeatall->text() == "Click to Stop";
    }
};

TEST_F(ResultTimer, AllPanelButtonsFollowThePanelCountAndTheMode) {
    for (QPushButton* b : {c->SendAll, c->Repeatall, c->Groupsetbut}) b->setEnabled(true);
    tick();
    EXPECT_FALSE(c->SendAll->isEnabled());
    EXPECT_FALSE(c->Repeatall->isEnabled());
    EXPECT_FALSE(c->Groupsetbut->isEnabled());
    open_panels(1);
    tick();
    EXPECT_TRUE(c->SendAll->isEnabled());
    EXPECT_TRUE(c->Repeatall->isEnabled());
    EXPECT_FALSE(c->Groupsetbut->isEnabled()) << "Smart Battery mode";
    c->PMBus_sel->setChecked(true);
    tick();
    EXPECT_TRUE(c->Groupsetbut->isEnabled());
    shared().PanelCount = 0;
    tick();
    EXPECT_FALSE(c->Groupsetbut->isEnabled());
}

std::string hex2(uint8_t b) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[b >> 4], kDigits[b & 15]};
}

struct WordCase {
    BusMode mode;
    const char* main_address;
    int panel;
    const char* command;
    const char* format;
    uint8_t msb, lsb;
    const char* value;
};

TEST_F(ResultTimer, WordReadsShowTheirBytesAndDecodedValue) {
    const WordCase cases[] = {
        {BusMode::SBS, "16", 0, "0D", "", 0xFF, 0xFF, "65535"},
        {BusMode::SBS, "16", 0, "0a", "", 0xFF, 0xFF, "-1"},
        {BusMode::SBS, "16", 0, "0B", "", 0xFF, 0xFF, "65535"},
        {BusMode::SBS, "16", 2, "14", "", 0xFF, 0xFF, "-1"},
        {BusMode::SBS, "16", 0, "08", "", 0x0B, 0xA6, "25.05"},
        {BusMode::SBS, "16", 1, "8", "", 0x0B, 0xA6, "25.05"},
        {BusMode::SBS, "16", 0, "08", "", 0x00, 0x00, "-273.15"},
        {BusMode::SBS, "16", 0, "0x08", "", 0x0B, 0xA6, ""},
        {BusMode::SBS, "16", 0, " 08", "", 0x0B, 0xA6, ""},
        {BusMode::SBS, "20", 0, "0D", "", 0xFF, 0xFF, ""},
        {BusMode::SBS, "12", 0, "15", "", 0x3A, 0x98, "15000"},
        {BusMode::SBS, "12", 3, "14", "", 0x80, 0x00, "-32768"},
        {BusMode::SBS, "14", 0, "16", "", 0x80, 0x00, ""},
        {BusMode::PMBus, "B8", 0, "8B", "Select Format", 0x60, 0x00, ""},
        {BusMode::PMBus, "B8", 4, "8B", "Exp(2^X) Manual input", 0x60, 0x00, "3"},
        {BusMode::PMBus, "B8", 0, "8B", "Exp5b Man11b", 0xF8, 0x02, "1"},
        {BusMode::PMBus, "B8", 5, "8B", "Exp5b Man11b", 0xB0, 0x06, "0.005859375"},
        {BusMode::PMBus, "B8", 5, "8B", "Exp(2^X) Auto input", 0x60, 0x00, ""},
    };
    open_panels(5);
    for (const WordCase& w : cases) {
        SCOPED_TRACE(std::string(w.main_address) + " '" + w.command + "' " + w.format);
        (w.mode == BusMode::SBS ? c->SBS : c->PMBus_sel)->setChecked(true);
        c->panel0->txt_Device_Addr->setText(QString::fromLatin1(w.main_address));
        CommandPanel& p = *Panel(w.panel);
        p.txt_Device_Cmd->setText(QString::fromLatin1(w.command));
        p.TranslationMode->setCurrentText(QString::fromLatin1(w.format));
        p.Linear16bit->setText(QStringLiteral("before"));
        result(w.panel, "4", w.msb, w.lsb);
        tick();
        EXPECT_EQ(value(w.panel), w.value);
        EXPECT_EQ(bytes(w.panel), hex2(w.msb) + " " + hex2(w.lsb));
        EXPECT_EQ(shared().ResultReady[w.panel], False);
    }
}

TEST_F(ResultTimer, TheMainAddressChoosesTheTableForEveryPanel) {
    open_panels(2);
    Control(2).txt_Device_Addr->setText(QStringLiteral("12"));
    Control(2).txt_Device_Cmd->setText(QStringLiteral("0D"));
    result(2, "4", 0xFF, 0xFF);
    result(1, "4", 0xFF, 0xFF);
    Control(1).txt_Device_Cmd->setText(QStringLiteral("0D"));
    c->panel0->txt_Device_Addr->setText(QStringLiteral("16"));
    tick();
    EXPECT_EQ(value(2), "65535") << "the battery table, though panel 2 reads the charger";
    c->panel0->txt_Device_Addr->setText(QStringLiteral("20"));
    result(1, "4", 0xFF, 0xFF);
    result(2, "Q", 0xFF, 0xFF);
    tick();
    EXPECT_EQ(value(1), "");
    EXPECT_EQ(value(2), "");
}

TEST_F(ResultTimer, DecimalSeparatorIsTheUsersOne) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("08"));
    result(0, "4", 0x0B, 0xA6);
    tick();
    EXPECT_EQ(value(0), "25,05");
}

TEST_F(ResultTimer, I2cModeShowsOnlyTheBytes) {
    c->I2C->setChecked(true);
    c->panel0->Linear16bit->setText(QStringLiteral("kept"));
    result(0, "4", 0x12, 0x34);
    tick();
    EXPECT_EQ(bytes(0), "12 34");
    EXPECT_EQ(value(0), "kept");
}

TEST_F(ResultTimer, ByteReadsShowTheirByteBelowAZeroHighByte) {
    for (const char* letter : {"2", "D", "O"}) {
        SCOPED_TRACE(letter);
        c->panel0->Linear16bit->setText(QStringLiteral("kept"));
        result(0, letter, 0x77, 0x5A);
        tick();
        EXPECT_EQ(bytes(0), "00 5A");
        EXPECT_EQ(value(0), "kept");
    }
}

TEST_F(ResultTimer, WritesShowOnlyTheirFailureAndOtherLettersNothing) {
    CommandPanel& p = *c->panel0;
    for (const char* letter : {"3", "C", "P", "R"}) {
        SCOPED_TRACE(letter);
        p.txt_RW_LSByte->setText(QStringLiteral("12"));
        p.txt_RW_MSByte->setText(QStringLiteral("34"));
        result(0, letter, 0, 0);
        tick();
        EXPECT_EQ(bytes(0), "34 12");
        result(0, letter, 0, 0, true);
        tick();
        EXPECT_EQ(bytes(0), "Err Err");
    }
    for (const char* letter : {"0", "1", "F", "T", "S"}) {
        SCOPED_TRACE(letter);
        p.txt_RW_LSByte->setText(QStringLiteral("12"));
        result(0, letter, 0, 0, true);
        tick();
        EXPECT_EQ(p.txt_RW_LSByte->text(), "12");
    }
}

TEST_F(ResultTimer, BlockResultsGoToTheirBoxes) {
    BlockCommandFrame* b = c->frm_Block_Cmd;
    shared().BlockReadText = "01\r\n02\r\n03\r\n";
    shared().BlockCountHex = "03";
    result(0, "G", 0, 0);
    tick();
    EXPECT_EQ(b->Block_Data_Text(), "01\r\n02\r\n03\r\n");
    EXPECT_EQ(b->txt_Block_Count->text(), "03");
    shared().BlockReadText = "AA\r\n";
    shared().BlockCountHex = "01";
    result(0, "U", 0, 0);
    tick();
    EXPECT_EQ(b->Block_Data1_Text(), "AA\r\n");
    EXPECT_EQ(b->txt_Block1_Count->text(), "01");
    EXPECT_EQ(b->Block_Data_Text(), "01\r\n02\r\n03\r\n");
}

// A read that failed, whichever way, never shows a value: "Err" in the byte boxes, and
// empty block boxes rather than a stale or partial block.
TEST_F(ResultTimer, EveryFailedReadShowsErrAndEmptiesTheBlockBoxes) {
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    ASSERT_EQ(RLSIM_InjectFault(0, "read_status", 1, 3), 0);
    c->cmd_Send_Click();
    tick();
    EXPECT_EQ(bytes(0), "Err Err");
    EXPECT_EQ(value(0), "Err");
    BlockCommandFrame* b = c->frm_Block_Cmd;
    for (const char* fault : {"no_reply", "short_reply"}) {
        b->SendBlock->click();
        tick();
        ASSERT_FALSE(b->txt_Block_Count->text().isEmpty());
        ASSERT_EQ(RLSIM_InjectFault(0, fault, 1, 0), 0);
        b->SendBlock->click();
        tick();
        EXPECT_EQ(b->txt_Block_Count->text(), "") << fault;
        EXPECT_EQ(b->Block_Data_Text(), "") << fault;
        EXPECT_FALSE(c->Label_KELD_Comms_Failure->isHidden()) << fault;
    }
}

TEST_F(ResultTimer, BlockReadOnTheBoardShownByTheNextTick) {
    c->frm_Block_Cmd->SendBlock->click();
    EXPECT_EQ(writes(), "47 16 20 0D\n");
    tick();
    EXPECT_EQ(c->frm_Block_Cmd->txt_Block_Count->text().toStdString(), shared().BlockCountHex);
    EXPECT_EQ(c->frm_Block_Cmd->Block_Data_Text(), shared().BlockReadText);
    EXPECT_FALSE(shared().BlockReadText.empty());
}

TEST_F(ResultTimer, RepeatAllTicksTheOpenPanelsAndASecondClickStopsThem) {
    open_panels(2);
    Control(3).Nonstop->setChecked(false);
    c->Repeatall_Click();
    EXPECT_EQ(c->Repeatall_BackColor(), kRepeatRunning);
    EXPECT_EQ(c->Repeatall->text(), "Click to Stop");
    for (int n : {0, 1, 2}) EXPECT_TRUE(Panel(n)->Nonstop->isChecked()) << n;
    EXPECT_FALSE(Control(3).Nonstop->isChecked());
    c->Repeatall_Click();
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    EXPECT_EQ(c->Repeatall->text(), "Repeat All");
    for (int n : {0, 1, 2}) EXPECT_FALSE(Panel(n)->Nonstop->isChecked()) << n;
}

TEST_F(ResultTimer, TimedOutWordReadDuringRepeatAllShowsErrAndStopsEveryRepeat) {
    open_panels(2);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    c->Repeatall->setEnabled(true);
    c->Repeatall->click();
    ASSERT_TRUE(repeat_all_running());
    ASSERT_EQ(RLSIM_InjectFault(0, "no_reply", -1, 0), 0);
    tick();  // sends the three panels; each times out
    EXPECT_EQ(shared().PanelError[0], True);
    EXPECT_TRUE(repeat_all_running()) << "nothing is shown before the next tick";
    EXPECT_FALSE(c->panel0->txt_Device_Addr->isEnabled());
    RLSIM_ClearFaults();
    writes();
    tick();
    for (int n : {0, 1, 2}) {
        EXPECT_EQ(bytes(n), "Err Err") << n;
        EXPECT_EQ(value(n), "Err") << n;
        EXPECT_FALSE(Panel(n)->Nonstop->isChecked()) << n;
        EXPECT_TRUE(Panel(n)->txt_Device_Addr->isEnabled()) << n;
        EXPECT_TRUE(Panel(n)->txt_Device_Cmd->isEnabled()) << n;
    }
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    EXPECT_EQ(c->Repeatall->text(), "Repeat All");
    EXPECT_FALSE(c->Label_KELD_Comms_Failure->isHidden());
    EXPECT_EQ(writes(), "") << "nothing is sent again";
}

TEST_F(ResultTimer, CommsLabelStaysUntilALaterRequestSucceedsAndATickRuns) {
    ASSERT_EQ(RLSIM_InjectFault(0, "no_reply", 1, 0), 0);
    c->cmd_Send_Click();
    EXPECT_TRUE(c->Label_KELD_Comms_Failure->isHidden()) << "shown by the tick only";
    tick();
    EXPECT_FALSE(c->Label_KELD_Comms_Failure->isHidden());
    EXPECT_EQ(
        c->Label_KELD_Comms_Failure->text(),
        "Comms Failure. Please resend data. If error persists, exit, reset S1 on QX7310A/B and "
        "check USB connection.");
    tick();
    EXPECT_FALSE(c->Label_KELD_Comms_Failure->isHidden());
    c->cmd_Send_Click();
    tick();
    EXPECT_TRUE(c->Label_KELD_Comms_Failure->isHidden());
}

TEST_F(ResultTimer, RepeatingMainPanelIsSentByEachTickAndShownByTheNext) {
    CommandPanel& p = *c->panel0;
    p.txt_Device_Cmd->setText(QStringLiteral("09"));
    p.SendBytePgNumber->setChecked(true);  // hidden in this mode: no page is written first
    p.Nonstop->setChecked(true);
    tick();
    EXPECT_EQ(writes(), "34 16 09 0D\n");
    EXPECT_EQ(value(0), "") << "the reply waits for the next tick";
    EXPECT_FALSE(p.txt_Device_Addr->isEnabled());
    EXPECT_FALSE(p.txt_Device_Cmd->isEnabled());
    ASSERT_EQ(RLSIM_SetRegister(0, 0x16, 0x09, -1, 12000), 0);
    tick();
    EXPECT_EQ(value(0), "12340");
    EXPECT_EQ(writes(), "34 16 09 0D\n");
    tick();
    EXPECT_EQ(value(0), "12000");
    p.Nonstop->setChecked(false);
    tick();
    EXPECT_EQ(writes(), "34 16 09 0D\n") << "the send of the tick before; none since";
    EXPECT_TRUE(p.txt_Device_Addr->isEnabled());
    EXPECT_TRUE(p.txt_Device_Cmd->isEnabled());
}

TEST_F(ResultTimer, AChangedTypeTextEndsRepetition) {
    open_panels(1);
    Control(1).txt_Device_Cmd->setText(QStringLiteral("01"));  // takes reads and writes
    for (bool heard : {true, false}) {
        Control(1).set_CmdProtocol_Text("Read Word");
        c->Repeatall_Click();
        const QSignalBlocker quiet(heard ? nullptr : Control(1).CmdProtocol);
        type_over(Control(1).CmdProtocol, "Write Word");
        writes();
        tick();
        EXPECT_EQ(writes(), "34 16 16 0D\n") << "the main panel alone";
        c->Repeatall_Click();
    }
    // A read's reply still waiting never lands in the boxes of the write picked after it.
    pick(Control(1), "Read Word");
    Control(1).SendButton->click();
    pick(Control(1), "Write Word");
    type_over(Control(1).txt_RW_LSByte, "12");
    type_over(Control(1).txt_RW_MSByte, "34");
    Control(1).Nonstop->setChecked(true);
    tick();
    EXPECT_EQ(writes(), "34 16 01 0D\n33 16 01 12 34 0D\n") << "the read, then the typed write";
    pick(Control(1), "Read Word");
    Control(1).SendButton->click();
    Control(1).txt_Device_Cmd->setText(QStringLiteral("08"));
    tick();
    EXPECT_EQ(value(1), "") << "the reply to 01 is no temperature of 08";
    Control(1).SendBytePgNumber->show();
    Control(1).SendBytePgNumber->setChecked(true);
    for (QLineEdit* b : {Control(1).txt_RW_LSByte, Control(1).txt_RW_MSByte}) b->clear();
    Control(1).SendButton->click();
    type_over(Control(1).PageNumber, "1");
    tick();
    EXPECT_EQ(bytes(1), " ") << "page 0's reply is not page 1's";
    // A dropped failure still ends Repeat All, as a shown one does.
    Control(1).SendBytePgNumber->setChecked(false);
    c->Repeatall_Click();
    ASSERT_EQ(RLSIM_InjectFault(0, "read_status", 1, 3), 0);
    Control(1).SendButton->click();
    type_over(Control(1).CmdProtocol, "Write Word");
    tick();
    EXPECT_FALSE(repeat_all_running());
}

TEST_F(ResultTimer, WaitingResultOfPanelThreeIsShownWhileTheMainPanelIsSentAgain) {
    open_panels(3);
    Control(3).txt_Device_Cmd->setText(QStringLiteral("0D"));
    result(3, "4", 0x00, 0x2A);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    c->panel0->Nonstop->setChecked(true);
    tick();
    EXPECT_EQ(value(3), "42");
    EXPECT_EQ(writes(), "34 16 09 0D\n");
    EXPECT_EQ(value(0), "");
    tick();
    EXPECT_EQ(value(0), "12340");
}

TEST_F(ResultTimer, PanelsBeyondTheCountAreNeverSentAgain) {
    open_panels(1);
    Control(1).txt_Device_Cmd->setText(QStringLiteral("0D"));
    Control(2).txt_Device_Cmd->setText(QStringLiteral("0E"));
    Control(1).Nonstop->setChecked(true);
    Control(2).Nonstop->setChecked(true);
    tick();
    EXPECT_EQ(writes(), "34 16 0D 0D\n");
    EXPECT_TRUE(Control(2).txt_Device_Addr->isEnabled());
}

TEST_F(ResultTimer, TickInsideASendsMessageBoxSkipsTheRepeatsThatFindTheBusBusy) {
    open_panels(1);
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    Control(1).txt_Device_Addr->setText(QStringLiteral("XY"));
    c->Repeatall_Click();
    int nested = 0;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) {
        ++nested;
        EXPECT_EQ(shared().BusBusy, True);
        EXPECT_FALSE(repeat_all_running()) << "stopped before the box: nothing looks repeating";
        tick();  // the timer fires in the box's event loop
    };
    tick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kInvalidEntryMessage});
    EXPECT_EQ(writes(), "34 16 09 0D\n") << "the main panel once, from the outer tick";
    EXPECT_EQ(value(0), "12340") << "the nested tick showed it";
    EXPECT_EQ(shared().BusBusy, False);
    EXPECT_FALSE(repeat_all_running());
    tick();
    EXPECT_EQ(writes(), "");
}

TEST_F(ResultTimer, SendAllGoesOnPastAPanelWithAnInvalidAddress) {
    open_panels(3);
    Control(1).txt_Device_Cmd->setText(QStringLiteral("0D"));
    Control(2).txt_Device_Addr->setText(QStringLiteral("G1"));
    Control(3).txt_Device_Cmd->setText(QStringLiteral("0E"));
    c->panel0->txt_Device_Cmd->setText(QStringLiteral("09"));
    c->SendAll->setEnabled(true);
    c->SendAll->click();
    EXPECT_EQ(writes(), "34 16 09 0D\n34 16 0D 0D\n34 16 0E 0D\n");
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kInvalidEntryMessage});
    EXPECT_EQ(value(0), "") << "the button shows nothing itself";
    tick();
    EXPECT_EQ(value(0), "12340");
    EXPECT_EQ(value(2), "");
    EXPECT_NE(value(3), "");
}

// The whole program on the default world: the battery voltage read again and again.
TEST_F(ResultTimer, RepeatingVoltageReadRunsTenThousandTicksWithoutGrowing) {
    CommandPanel& p = *c->panel0;
    p.txt_Device_Cmd->setText(QStringLiteral("09"));
    p.Nonstop->setChecked(true);
    auto run = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            tick();
            if (writes() != "34 16 09 0D\n" || (i > 0 && value(0) != "12340")) {
                ADD_FAILURE() << "tick " << i << ": value " << value(0);
                return;
            }
        }
    };
    run(200);  // first-use allocations of Qt and the simulator
    const size_t before = mallinfo2().uordblks;
    run(10000);
    const size_t after = mallinfo2().uordblks;
    EXPECT_EQ(value(0), "12340");
    EXPECT_EQ(bytes(0), "30 34");
    EXPECT_LT(after, before + 16 * 1024) << "bytes in use grew from " << before << " to " << after;
}

}  // namespace
}  // namespace velmora
