#include "panel_send.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sim_fixture.h"

namespace velmora {
namespace {

// The boxes of one panel as plain texts.
class FakePanel : public PanelFields {
  public:
    explicit FakePanel(int n) : n_(n) {}
    std::map<PanelField, std::string> texts = {
        {PanelField::CmdProtocol, "Read Word"}, {PanelField::txt_Device_Addr, "16"},
        {PanelField::txt_Device_Cmd, "09"},     {PanelField::txt_Device_Cmdlsb, ""},
        {PanelField::txt_RW_LSByte, ""},        {PanelField::txt_RW_MSByte, ""},
        {PanelField::PageNumber, "0"}};
    bool page_first = false;
    bool nonstop = true;
    int page_writes = 0;

    int panel_number() const override { return n_; }
    std::string text(PanelField f) const override { return texts.at(f); }
    bool SendBytePgNumber_ticked() const override { return page_first; }
    void set_PageNumber(const std::string& t) override {
        texts[PanelField::PageNumber] = t;
        ++page_writes;
    }
    void untick_Nonstop() override { nonstop = false; }

  private:
    int n_;
};

class FakeBlock : public BlockFields {
  public:
    std::optional<BlockOption> option = BlockOption::Read;
    std::map<BlockField, std::string> texts = {{BlockField::txt_Block_Cmd_Addr, "16"},
                                               {BlockField::txt_Block_Device_Cmd, "20"},
                                               {BlockField::txt_Block_Count, "4"}};
    std::optional<BlockOption> selected_option() const override { return option; }
    std::string text(BlockField f) const override { return texts.at(f); }
};

// Records what the link layer does to the console's controls.
class RecordingControls : public ConsoleControls {
  public:
    std::string block_data = "A1\r\nA2\r\n";
    int repeat_stops = 0;
    void set_SNlabel(const std::string&) override {}
    void hide_page_number_controls() override {}
    std::string txt_Block_Data() override { return block_data; }
    void stop_repeat_all() override { ++repeat_stops; }
    void untick_nonstop(int) override {}
};

class PanelSend : public testing::SimFixture {
  protected:
    PanelSend() {
        install_console_controls(&controls);
        Initialize_Variables();
        writes();
    }
    ~PanelSend() override { install_console_controls(nullptr); }
    RecordingControls controls;
};

constexpr const char* kInvalid = "One of the Addr, Cmd, Data entries are not valid";

TEST_F(PanelSend, ReadWordOfVoltageLeavesBothBytes) {
    FakePanel p(0);
    Send_Panel_Request(p, BusMode::SBS);
    EXPECT_EQ(writes(), "34 16 09 0D\n");
    EXPECT_EQ(shared().ResultLSB[0], 0x34);
    EXPECT_EQ(shared().ResultMSB[0], 0x30);
    EXPECT_EQ(shared().ResultReady[0], True);
    EXPECT_EQ(shared().RowProtocol[0], "4");
    EXPECT_EQ(shared().BusBusy, False);
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(PanelSend, EveryClassAgainstEveryTypeOnEveryPanel) {
    const char* types[] = {"Quick Cmd",     "Send Byte",  "Receive Byte", "Write Byte",
                           "Read Byte",     "Write Word", "Read Word",    "Ext Write Byte",
                           "Ext Read Word", "read word"};
    for (BusMode mode : {BusMode::SBS, BusMode::PMBus, BusMode::I2C}) {
        for (int n = 0; n <= 8; ++n) {
            for (int16_t cls = 0; cls <= 11; ++cls) {
                for (const char* type : types) {
                    FakePanel p(n);
                    p.texts[PanelField::CmdProtocol] = type;
                    p.texts[PanelField::txt_Device_Cmdlsb] = "00";
                    p.texts[PanelField::txt_RW_LSByte] = "01";
                    p.texts[PanelField::txt_RW_MSByte] = "02";
                    shared().CmdClass[n] = cls;
                    ui.ui.messages.clear();
                    writes();
                    Send_Panel_Request(p, mode);
                    const bool refused = command_mismatch(mode, cls, type);
                    SCOPED_TRACE(std::to_string(n) + " class " + std::to_string(cls) + " '" + type +
                                 "' mode " + std::to_string(int(mode)));
                    if (refused) {
                        ASSERT_EQ(ui.ui.message_texts(),
                                  std::vector<std::string>{mismatch_message(n, cls)});
                        EXPECT_EQ(writes(), "");
                        EXPECT_FALSE(p.nonstop);
                    } else {
                        EXPECT_TRUE(ui.ui.messages.empty());
                        EXPECT_NE(writes(), "");
                        EXPECT_TRUE(p.nonstop);
                    }
                    EXPECT_EQ(shared().CmdMismatch[n], False);
                    EXPECT_EQ(shared().BusBusy, False);
                }
            }
        }
    }
}

TEST_F(PanelSend, ProtocolLettersAndParsedBoxesOnTheWire) {
    struct Case {
        const char* type;
        const char* wire;
    };
    const Case cases[] = {
        {"Quick Cmd", "30 B8 0D"},           {"Send Byte", "31 B8 03 0D"},
        {"Receive Byte", "32 B8 0D"},        {"Write Byte", "43 B8 03 11 0D"},
        {"Read Byte", "44 B8 03 0D"},        {"Write Word", "33 B8 03 11 22 0D"},
        {"Read Word", "34 B8 03 0D"},        {"Ext Write Byte", "50 B8 03 EE 11 0D"},
        {"Ext Read Byte", "4F B8 03 EE 0D"}, {"Ext Write Word", "52 B8 03 EE 11 22 0D"},
        {"Ext Read Word", "51 B8 03 EE 0D"}, {"Read word", "34 B8 03 0D"},
    };
    for (const auto& c : cases) {
        FakePanel p(3);
        p.texts = {{PanelField::CmdProtocol, c.type}, {PanelField::txt_Device_Addr, "b8"},
                   {PanelField::txt_Device_Cmd, "3"}, {PanelField::txt_Device_Cmdlsb, "ee"},
                   {PanelField::txt_RW_LSByte, "11"}, {PanelField::txt_RW_MSByte, "22"},
                   {PanelField::PageNumber, "0"}};
        Send_Panel_Request(p, BusMode::I2C);
        EXPECT_EQ(writes(), std::string(c.wire) + "\n") << c.type;
    }
}

TEST_F(PanelSend, HiddenBoxesStillParsedAndUnusedBoxesIgnored) {
    FakePanel p(0);
    p.texts[PanelField::CmdProtocol] = "Receive Byte";
    p.texts[PanelField::txt_Device_Cmd] = "";   // hidden for this type, but still parsed
    p.texts[PanelField::txt_RW_LSByte] = "zz";  // not parsed for a read
    Send_Panel_Request(p, BusMode::I2C);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kInvalid});
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(shared().EntryCmd, 0);
    EXPECT_EQ(shared().BusBusy, False);
}

TEST_F(PanelSend, InvalidEntryZeroesItsValueAndKeepsResultReady) {
    FakePanel p(2);
    p.texts[PanelField::CmdProtocol] = "Write Word";
    p.texts[PanelField::txt_RW_LSByte] = "12";
    p.texts[PanelField::txt_RW_MSByte] = "1G";
    shared().CmdClass[2] = 5;
    shared().ResultReady[2] = True;
    Send_Panel_Request(p, BusMode::SBS);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kInvalid});
    EXPECT_EQ(shared().EntryMSB, 0);
    EXPECT_EQ(shared().ResultReady[2], True);
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(controls.repeat_stops, 1);
}

TEST_F(PanelSend, PageTenIsWrittenAsSevenAndTheBoxRewritten) {
    FakePanel p(0);
    p.page_first = true;
    p.texts[PanelField::PageNumber] = "A";
    p.texts[PanelField::txt_Device_Addr] = "B8";
    p.texts[PanelField::txt_Device_Cmd] = "8B";
    shared().CmdClass[0] = 5;
    Send_Panel_Request(p, BusMode::PMBus);
    EXPECT_EQ(writes(), "43 B8 00 07 0D\n34 B8 8B 0D\n");
    EXPECT_EQ(p.texts[PanelField::PageNumber], "7");
    EXPECT_EQ(shared().RowProtocol[0], "4");
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(PanelSend, PageTextThatIsNotHexWritesPageZeroSilently) {
    FakePanel p(4);
    p.page_first = true;
    p.texts[PanelField::PageNumber] = "G";
    p.texts[PanelField::txt_Device_Addr] = "B8";
    p.texts[PanelField::txt_Device_Cmd] = "8B";
    Send_Panel_Request(p, BusMode::I2C);
    EXPECT_EQ(writes(), "43 B8 00 00 0D\n34 B8 8B 0D\n");
    EXPECT_EQ(p.page_writes, 0);
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(PanelSend, InvalidAddressWithPageFirstShowsTheMessageTwiceAndSendsNothing) {
    FakePanel p(0);
    p.page_first = true;
    p.texts[PanelField::txt_Device_Addr] = "X8";
    Send_Panel_Request(p, BusMode::I2C);
    EXPECT_EQ(ui.ui.message_texts(), (std::vector<std::string>{kInvalid, kInvalid}));
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(shared().BusBusy, False);
}

TEST_F(PanelSend, ReadByteClearsTheHighSlotAndWritesKeepBoth) {
    shared().ResultLSB[5] = 0x11;
    shared().ResultMSB[5] = 0x22;
    FakePanel w(5);
    w.texts[PanelField::CmdProtocol] = "Write Byte";
    w.texts[PanelField::txt_RW_LSByte] = "01";
    Send_Panel_Request(w, BusMode::I2C);
    EXPECT_EQ(shared().ResultLSB[5], 0x11);
    EXPECT_EQ(shared().ResultMSB[5], 0x22);
    FakePanel r(5);
    r.texts[PanelField::CmdProtocol] = "Read Byte";
    Send_Panel_Request(r, BusMode::I2C);
    EXPECT_EQ(shared().ResultMSB[5], 0);
}

TEST_F(PanelSend, TimedOutReplySetsPanelError) {
    RLSIM_InjectFault(0, "no_reply", 1, 0);
    FakePanel p(6);
    Send_Panel_Request(p, BusMode::I2C);
    EXPECT_EQ(shared().PanelError[6], True);
    EXPECT_EQ(shared().ResultReady[6], True);
    FakePanel again(6);
    Send_Panel_Request(again, BusMode::I2C);
    EXPECT_EQ(shared().PanelError[6], False);
}

TEST_F(PanelSend, SendStartedFromInsideAnotherSendsMessageBoxIsSkipped) {
    FakePanel inner(1);
    int nested = 0;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) {
        ++nested;
        Send_Panel_Request(inner, BusMode::I2C);  // a repeat tick inside the box
    };
    FakePanel outer(0);
    shared().CmdClass[0] = 7;  // always refused
    Send_Panel_Request(outer, BusMode::SBS);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(writes(), "");
    EXPECT_EQ(shared().BusBusy, False);
    ui.ui.on_message = nullptr;
    Send_Panel_Request(inner, BusMode::I2C);  // the next tick sends it
    EXPECT_EQ(writes(), "34 16 09 0D\n");
}

TEST_F(PanelSend, BlockReadWriteAndProcessCall) {
    FakeBlock b;
    SendBlock(b);
    EXPECT_EQ(writes(), "47 16 20 0D\n");
    EXPECT_EQ(shared().ResultReady[0], True);
    EXPECT_EQ(controls.repeat_stops, 1);
    EXPECT_FALSE(shared().BlockReadText.empty());

    b.option = BlockOption::Write;
    b.texts[BlockField::txt_Block_Count] = "2";
    SendBlock(b);
    EXPECT_EQ(writes(), "46 16 20 02\nA1\nA2\n0D\n");
    EXPECT_EQ(shared().RowProtocol[0], "F");

    b.option = BlockOption::WriteRead;
    SendBlock(b);
    EXPECT_EQ(writes(), "54 16 20 02\nA1\nA2\n55 16 0D\n");
    EXPECT_EQ(shared().RowProtocol[0], "U");
}

TEST_F(PanelSend, BlockCountIsNotParsedForARead) {
    FakeBlock b;
    b.texts[BlockField::txt_Block_Count] = "nonsense";
    shared().BlockTxCount = 9;
    SendBlock(b);
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_EQ(shared().BlockTxCount, 9);
    b.option = BlockOption::Write;
    SendBlock(b);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kInvalid});
    EXPECT_EQ(shared().BlockTxCount, 0);
}

TEST_F(PanelSend, BlockIgnoresBusBusy) {
    shared().BusBusy = True;
    FakeBlock b;
    SendBlock(b);
    EXPECT_EQ(writes(), "47 16 20 0D\n");
    EXPECT_EQ(shared().BusBusy, True);
}

}  // namespace
}  // namespace velmora
