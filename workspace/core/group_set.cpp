#include "group_set.h"

#include <string>
#include <vector>

#include "formats/group_send.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "panel_send.h"
#include "ui/services.h"

namespace velmora::workspace {
namespace {

formats::GroupPanel boxes_of(const PanelControls& p) {
    return {p.text(PanelField::CmdProtocol), p.text(PanelField::txt_Device_Addr),
            p.text(PanelField::txt_Device_Cmd), p.text(PanelField::txt_RW_LSByte),
            p.text(PanelField::txt_RW_MSByte)};
}

}  // namespace

void Groupsetbut_Click(WorkspaceWindows& w) {
    SharedState& s = shared();
    const int open = open_panel_count();
    std::vector<formats::GroupPanel> panels;
    for (int k = 1; k <= open; ++k) panels.push_back(boxes_of(w.panel(k)));

    const formats::GroupRequest req = formats::group_set_request(boxes_of(w.main_panel()), panels);
    switch (req.refusal) {
        case formats::GroupRefusal::InvalidEntry:
            s.HexValid = False;
            Check_Entries();
            return;
        case formats::GroupRefusal::NotAWrite:
            platform::ui::show_message(req.message);
            return;
        case formats::GroupRefusal::None:
            break;
    }
    s.BlockBuffer = req.bytes;
    s.RawLength = req.raw_length;
    // The group send shows nothing, so a result of the main panel still waiting for the
    // timer (a failure that must end Repeat All) keeps its letter and error.
    const std::string letter = s.RowProtocol[0];
    const Flag error = s.PanelError[0];
    s.RowProtocol[0].assign(1, 'S');
    Send_SW_MB905_Cmd(0);
    if (s.ResultReady[0] != False) {
        s.RowProtocol[0] = letter;
        s.PanelError[0] = error;
    }
}

}  // namespace velmora::workspace
