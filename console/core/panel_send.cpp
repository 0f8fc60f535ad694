#include "panel_send.h"

#include "mod_Miscellaneous_Subroutines.h"
#include "ui/services.h"

namespace velmora {
namespace {

// Parses one hex box into `into`. An invalid text shows the invalid-entry message and
// stops repetition (Check_Entries), zeroes `into` and returns false.
bool parse_entry(const std::string& text, int16_t& into) {
    into = Hex_To_Byte(text);
    if (Check_Entries() == 1) {
        into = 0;
        return false;
    }
    return true;
}

}  // namespace

std::string Panel_Question(const PanelFields& panel) {
    const std::string type = panel.text(PanelField::CmdProtocol);
    std::string q = type + '\n' + panel.text(PanelField::txt_Device_Addr) + '\n' +
                    panel.text(PanelField::txt_Device_Cmd);
    if (is_ext_type(type)) q += '\n' + panel.text(PanelField::txt_Device_Cmdlsb);
    // A reply read after a page write answers that page only.
    if (panel.SendBytePgNumber_ticked()) q += "\npage " + panel.text(PanelField::PageNumber);
    return q;
}

bool Result_Answers(const PanelFields& panel) {
    const std::string& asked = shared().ResultAsked[panel.panel_number()];
    return asked.empty() || asked == Panel_Question(panel);
}

void Discard_Result(int n) {
    SharedState& s = shared();
    s.ResultReady[n] = False;
    s.PanelError[n] = False;
}

void Send_Panel_Request(PanelFields& panel, BusMode mode) {
    SharedState& s = shared();
    const int n = panel.panel_number();
    // There is one thread, so a holder of BusBusy is always further down this very call
    // stack, held in one of its message boxes while a repeat tick (or Send All) reached
    // here. Waiting for it could never end: this request is skipped instead.
    if (s.BusBusy) return;
    s.BusBusy = True;

    Check_Cmd_Protocol(panel, mode);
    if (s.CmdMismatch[n]) {
        s.CmdMismatch[n] = False;
        s.BusBusy = False;
        return;
    }
    Send_Page_First(panel);

    const std::string type = panel.text(PanelField::CmdProtocol);
    const std::string question = Panel_Question(panel);
    const TransactionType* t = find_transaction_type(type);
    s.RowProtocol[n] = std::string(1, protocol_letter(type));
    const bool ok =
        parse_entry(panel.text(PanelField::txt_Device_Addr), s.EntryAddr) &&
        parse_entry(panel.text(PanelField::txt_Device_Cmd), s.EntryCmd) &&
        (!t || !t->parses_ext ||
         parse_entry(panel.text(PanelField::txt_Device_Cmdlsb), s.EntryExt)) &&
        (!t || !t->parses_lsb || parse_entry(panel.text(PanelField::txt_RW_LSByte), s.EntryLSB)) &&
        (!t || !t->parses_msb || parse_entry(panel.text(PanelField::txt_RW_MSByte), s.EntryMSB));
    if (!ok) {
        s.BusBusy = False;
        return;
    }
    s.ResultReady[n] = False;
    Send_SW_MB905_Cmd(n);
    s.ResultAsked[n] = question;
    s.ResultReady[n] = True;
    s.BusBusy = False;
}

void Check_Cmd_Protocol(PanelFields& panel, BusMode mode) {
    SharedState& s = shared();
    const int n = panel.panel_number();
    if (command_mismatch(mode, s.CmdClass[n], panel.text(PanelField::CmdProtocol))) {
        // The refused panel stops repeating before its box opens: the ticks that run while
        // the box is open must not show it as repeating.
        panel.untick_Nonstop();
        platform::ui::show_message(mismatch_message(n, s.CmdClass[n]));
        s.CmdMismatch[n] = True;
    }
}

void Send_Page_First(PanelFields& panel) {
    if (!panel.SendBytePgNumber_ticked()) return;
    SharedState& s = shared();
    const int n = panel.panel_number();
    s.RowProtocol[n].assign(1, 'C');  // write byte
    // Not checked: a page text that is not hex writes page 0 without a message.
    s.EntryLSB = Hex_To_Byte(panel.text(PanelField::PageNumber));
    Clamp_Page_Number(panel);
    if (!parse_entry(panel.text(PanelField::txt_Device_Addr), s.EntryAddr)) return;
    s.EntryCmd = 0;  // PAGE
    Send_SW_MB905_Cmd(n);
}

void Clamp_Page_Number(PanelFields& panel) {
    SharedState& s = shared();
    PageClamp c = clamp_page_number(s.EntryLSB);
    s.EntryLSB = c.page;
    if (c.rewrite) panel.set_PageNumber(*c.rewrite);
}

void Send_SW_MB905_Cmd(int n) {
    SharedState& s = shared();
    s.Protocol = s.RowProtocol[n];
    s.DevAddr = s.EntryAddr;
    s.DevCmd = s.EntryCmd;
    s.Data0 = s.EntryExt;
    s.Data1 = s.EntryLSB;
    s.Data2 = s.EntryMSB;
    // Only the main panel sends blocks.
    if (n == 0) s.BlockCount = static_cast<uint8_t>(s.BlockTxCount & 0xFF);
    s.CommsError = False;
    SMB_Transaction();
    // Any reply that did not come whole failed, a read error as much as a time-out.
    s.PanelError[n] = (s.TimeoutFlag != False || s.ReadErrFlag != False) ? True : False;
    const std::string& letter = s.RowProtocol[n];
    if (letter == "2" || letter == "D" || letter == "O") {
        s.ResultLSB[n] = static_cast<uint8_t>(s.Reply1);
        s.ResultMSB[n] = 0;
    } else if (letter == "4" || letter == "Q") {
        s.ResultLSB[n] = static_cast<uint8_t>(s.Reply1);
        s.ResultMSB[n] = static_cast<uint8_t>(s.Reply2);
    }
}

void SendBlock(BlockFields& block) {
    SharedState& s = shared();
    Stop_Repeat_All();
    const std::optional<BlockOption> option = block.selected_option();
    if (option) s.RowProtocol[0] = std::string(1, block_layout(*option).letter);
    if (!parse_entry(block.text(BlockField::txt_Block_Cmd_Addr), s.EntryAddr)) return;
    if (!parse_entry(block.text(BlockField::txt_Block_Device_Cmd), s.EntryCmd)) return;
    if (option == BlockOption::Write || option == BlockOption::WriteRead) {
        int16_t count = 0;
        const bool ok = parse_entry(block.text(BlockField::txt_Block_Count), count);
        s.BlockTxCount = count;
        if (!ok) return;
    }
    s.ResultReady[0] = False;
    Send_SW_MB905_Cmd(0);
    s.ResultAsked[0].clear();
    s.ResultReady[0] = True;
}

}  // namespace velmora
