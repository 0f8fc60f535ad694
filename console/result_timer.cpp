// The console's timer `Timer_1sec` and the buttons that act on every panel at once. The
// send handlers leave their results in the shared per-panel slots; each tick shows them,
// and sends again every open panel whose repeat box is ticked.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "block_frame.h"
#include "command_panel.h"
#include "console_startup.h"
#include "formats/result_view.h"
#include "frm_send_smb_cmds.h"
#include "number_formats.h"
#include "panel_windows.h"
#include "qt_controls.h"

namespace velmora {
void frmSendSMB_cmds::Timer_1sec_Timer() {
    const formats::AllPanelButtons buttons =
        formats::all_panel_buttons(open_panel_count(), bus_mode());
    SendAll->setEnabled(buttons.send_all);
    Repeatall->setEnabled(buttons.repeat_all);
    Groupsetbut->setEnabled(buttons.group_set);
    // A send's message box runs the event loop, in which the console may go.
    const QPointer<frmSendSMB_cmds> alive(this);
    for (int n = 0; n < kPanels && alive; ++n) {
        const bool open = n == 0 || n <= open_panel_count();
        if (shared().ResultReady[static_cast<size_t>(n)] != False) {
            // A panel closed since its send shows nothing: touching it would load it hidden.
            if (open)
                Show_Result(n);
            else
                Discard_Result(n);
        }
        if (!alive) return;
        Label_KELD_Comms_Failure->setVisible(shared().CommsError != False);
        if (open) Repeat_Panel(n);
    }
}

void frmSendSMB_cmds::Show_Result(int n) {
    SharedState& s = shared();
    const auto i = static_cast<size_t>(n);
    const CommandPanel* p = Panel(n);
    // Changed since its request (a read's reply over a write's typed bytes): dropped. A
    // failure still ends every repetition, as a shown one does.
    if (!p->Result_Answers()) {
        const bool failed = s.PanelError[i] != False;
        Discard_Result(n);
        if (failed) Stop_Repeat_All();
        return;
    }
    s.ResultReady[i] = False;
    const std::string letter = s.RowProtocol[i];
    const std::string main_address = ss(panel0->txt_Device_Addr->text());
    const std::string command = Get_Panel_Cmd(n);
    const std::string format = ss(p->TranslationMode->currentText());
    const std::string xtext = ss(p->Xtext->text());
    const formats::ResultView view = formats::result_view(
        {letter, s.PanelError[i] != False, s.ResultMSB[i], s.ResultLSB[i], s.BlockCountHex,
         s.BlockReadText},
        {bus_mode(), main_address, command, format, xtext}, user_number_format());
    if (view.show_bytes) Show_Read_Bytes(view, n);
    if (view.value) Show_Value_Panel(*view.value, n);  // none: the value box keeps its text
    switch (view.block) {
        case formats::BlockBoxes::Read:
            frm_Block_Cmd->set_Block_Data_Text(view.block_data);
            write_box(frm_Block_Cmd->txt_Block_Count, qs(view.block_count));
            break;
        case formats::BlockBoxes::WriteRead:
            frm_Block_Cmd->set_Block_Data1_Text(view.block_data);
            write_box(frm_Block_Cmd->txt_Block1_Count, qs(view.block_count));
            break;
        case formats::BlockBoxes::None:
            break;
    }
}

void frmSendSMB_cmds::Repeat_Panel(int n) {
    CommandPanel* p = Panel(n);
    // A type text changed while its change handling was held back still ends repetition.
    if (p->Nonstop->isChecked() && !p->Repeats_Its_Own_Type()) p->Nonstop->setChecked(false);
    const bool repeating = p->Nonstop->isChecked();
    p->txt_Device_Addr->setEnabled(!repeating);
    p->txt_Device_Cmd->setEnabled(!repeating);
    if (!repeating) return;
    // cmd_Send_Click or Send1_Click..Send8_Click. The send handler skips the request while
    // BusBusy is held further down the stack (this tick then runs inside one of that
    // request's message boxes).
    p->Send_Click();
}

void frmSendSMB_cmds::Show_Read_Bytes(const formats::ResultView& view, int n) {
    if (view.stop_repeat_all) Stop_Repeat_All();
    CommandPanel* p = Panel(n);
    write_box(p->txt_RW_MSByte, qs(view.ms_byte));
    write_box(p->txt_RW_LSByte, qs(view.ls_byte));
}

void frmSendSMB_cmds::Show_Value_Panel(const std::string& value, int n) {
    write_box(Panel(n)->Linear16bit, qs(value));
}

std::string frmSendSMB_cmds::Get_Panel_Cmd(int n) const {
    return ss(Panel(n)->txt_Device_Cmd->text());
}

void frmSendSMB_cmds::SendAll_Click() {
    const int open = open_panel_count();
    // cmd_Send_Click, then Send1_Click.. in order, each to its end.
    for (int n = 0; n <= open; ++n) Panel(n)->Send_Click();
}

void frmSendSMB_cmds::Repeatall_Click() {
    if (Repeatall_BackColor() != kButtonFace) {
        Stop_Repeat_All();
        return;
    }
    set_Repeatall_BackColor(kRepeatRunning);
    Repeatall->setText(QStringLiteral("Click to Stop"));
    const int open = open_panel_count();
    for (int n = 0; n <= open; ++n) Panel(n)->Nonstop->setChecked(true);
}

}  // namespace velmora
