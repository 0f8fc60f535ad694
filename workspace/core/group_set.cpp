#include "group_set.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "formats/group_send.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "panel_send.h"
#include "ui/services.h"

namespace velmora::workspace {
namespace {

// The boxes of one panel, copied so that the request builder's views stay valid.
struct Boxes {
    std::array<std::string, 5> text;
    explicit Boxes(const PanelControls& p)
        : text{p.text(Field::CmdProtocol), p.text(Field::txt_Device_Addr),
               p.text(Field::txt_Device_Cmd), p.text(Field::txt_RW_LSByte),
               p.text(Field::txt_RW_MSByte)} {}
    formats::GroupPanel view() const { return {text[0], text[1], text[2], text[3], text[4]}; }
};

}  // namespace

void Groupsetbut_Click(WorkspaceWindows& w) {
    SharedState& s = shared();
    const int open = std::clamp<int>(s.PanelCount, 0, kPanelWindowCount);
    std::vector<Boxes> boxes;
    boxes.emplace_back(w.main_panel());
    for (int k = 1; k <= open; ++k) boxes.emplace_back(w.panel(k));
    std::vector<formats::GroupPanel> panels;
    for (const Boxes& b : boxes) panels.push_back(b.view());

    const formats::GroupRequest req =
        formats::group_set_request(panels.front(), std::span(panels).subspan(1));
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
    s.RowProtocol[0].assign(1, 'S');
    Send_SW_MB905_Cmd(0);
}

}  // namespace velmora::workspace
