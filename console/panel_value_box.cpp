// A command panel's value box, format list and exponent box: the rules live in the
// formats library; these handlers move its texts into the boxes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "command_panel.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "number_formats.h"
#include "panel_windows.h"
#include "qt_controls.h"
#include "ui/services.h"

namespace velmora {

void CommandPanel::Linear16bit_Change() {
    const std::string protocol = CmdProtocol_Text();
    const std::string value = ss(Linear16bit->text());
    const std::string command = ss(txt_Device_Cmd->text());
    const std::string format = ss(TranslationMode->currentText());
    const std::string xtext = ss(Xtext->text());
    const formats::ValueEntryOutcome out = formats::value_entry_outcome(
        current_bus_mode(), {protocol, value, command, format, xtext},
        user_number_format());
    if (out.value_to_zero) write_box(Linear16bit, QStringLiteral("0"));  // runs this again first
    if (!out.message.empty()) platform::ui::show_message(out.message);
    if (!out.write_bytes) return;
    write_box(txt_RW_LSByte, qs(out.bytes.ls_byte));
    write_box(txt_RW_MSByte, qs(out.bytes.ms_byte));
}

void CommandPanel::TranslationMode_Click() {
    const formats::FormatChoice choice =
        formats::translation_mode_choice(ss(TranslationMode->currentText()), n_ != 0);
    if (choice.exponent_box != formats::ExponentBox::Keep) {
        const bool shown = choice.exponent_box == formats::ExponentBox::Show;
        Xtext->setVisible(shown);
        Xlabel->setVisible(shown);
    }
    if (choice.read_vout_mode) Read_Vout_Mode();
}

void CommandPanel::Read_Vout_Mode() {
    platform::ui::show_message(std::string(formats::kVoutModeMessage));
    SharedState& s = shared();
    s.ResultReady[static_cast<size_t>(n_)] = False;
    s.Protocol = std::string(formats::kVoutModeProtocol);
    s.DevAddr = formats::kVoutModeAddress;
    s.DevCmd = formats::kVoutModeCommand;
    s.CommsError = False;
    // The reply stays in Reply1: nothing is derived from it.
    SMB_Transaction();
}

void CommandPanel::Xtext_Change() {
    if (std::optional<std::string> repaired = formats::xtext_repair(ss(Xtext->text())))
        write_box(Xtext, qs(*repaired));  // runs this again, which accepts it
}

}  // namespace velmora
