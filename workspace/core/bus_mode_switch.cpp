#include "bus_mode_switch.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>

#include "mod_Miscellaneous_Subroutines.h"
#include "transaction_types.h"

namespace velmora::workspace {
namespace {

enum class Op : uint8_t {
    ExtToBasic,         // an Ext type text becomes its basic type
    RemoveExtTypes,     // at exactly 10 items: the four Ext items go, txt_Device_Cmdlsb hides
    AddExtTypes,        // below 10 items: the four Ext items are appended
    CmdlsbFollowsType,  // txt_Device_Cmdlsb shown exactly for an Ext type text
    StopRepeatAll,      // as Repeat All's own stop
    EnableSendBlock,    // when a board was found
    ClearResults,       // no result waiting for the timer is shown
    Show,
    Hide,
    UntickNonstop,
    Write,  // field := text, through its change handling
};

struct Step {
    Op op;
    Field field = Field::CmdProtocol;
    std::string_view text = {};
    bool main_only = false;  // once for the console, in the main panel's turn
};

constexpr Step once(Op op) {
    return {op, Field::CmdProtocol, {}, true};
}
constexpr Step show(Field f) {
    return {Op::Show, f};
}
constexpr Step hide(Field f) {
    return {Op::Hide, f};
}
constexpr Step write(Field f, std::string_view text) {
    return {Op::Write, f, text};
}

using F = Field;

constexpr Step kI2C[] = {
    {Op::ExtToBasic},
    {Op::RemoveExtTypes},
    once(Op::ClearResults),
    hide(F::TranslationMode),
    hide(F::Xlabel),
    hide(F::Xtext),
    hide(F::SendBytePgNumber),
    hide(F::PageNumber),
    {Op::UntickNonstop},
    hide(F::Pmbus),
    hide(F::PMBuscmd),
    hide(F::Linear16bit),
    write(F::txt_Device_Addr, ""),
    write(F::txt_Device_Cmd, ""),
    write(F::txt_RW_LSByte, ""),
    write(F::txt_RW_MSByte, ""),
};

// Main panel and panel 1 empty the data boxes before the value box, so a data byte that
// the value box handling writes then stays.
constexpr Step kPMBusFirst[] = {
    {Op::AddExtTypes},
    {Op::CmdlsbFollowsType},
    once(Op::StopRepeatAll),
    once(Op::EnableSendBlock),
    once(Op::ClearResults),
    show(F::TranslationMode),
    hide(F::Xlabel),
    hide(F::Xtext),
    show(F::Pmbus),
    show(F::PMBuscmd),
    show(F::Linear16bit),
    show(F::SendBytePgNumber),
    show(F::PageNumber),
    {Op::UntickNonstop},
    write(F::txt_Device_Addr, "B8"),
    write(F::txt_Device_Cmd, "88"),
    {Op::Write, F::txt_Device_Cmdlsb, "00", true},
    write(F::Pmbus, "PMBus Command"),
    write(F::txt_RW_LSByte, ""),
    write(F::txt_RW_MSByte, ""),
    write(F::Linear16bit, ""),
};

// Panels 2 to 8 empty the value box first and the data boxes last, which clears again
// what the value box handling wrote.
constexpr Step kPMBusLater[] = {
    {Op::AddExtTypes},
    {Op::CmdlsbFollowsType},
    show(F::TranslationMode),
    hide(F::Xlabel),
    hide(F::Xtext),
    write(F::Linear16bit, ""),
    show(F::Pmbus),
    show(F::PMBuscmd),
    show(F::Linear16bit),
    show(F::SendBytePgNumber),
    show(F::PageNumber),
    {Op::UntickNonstop},
    write(F::txt_Device_Addr, "B8"),
    write(F::txt_Device_Cmd, "88"),
    write(F::Pmbus, "PMBus Command"),
    write(F::txt_RW_LSByte, ""),
    write(F::txt_RW_MSByte, ""),
};

constexpr Step kSBS[] = {
    {Op::ExtToBasic},
    {Op::RemoveExtTypes},
    once(Op::StopRepeatAll),
    once(Op::ClearResults),
    hide(F::TranslationMode),
    hide(F::Xlabel),
    hide(F::Xtext),
    show(F::Pmbus),
    show(F::PMBuscmd),
    show(F::Linear16bit),
    hide(F::SendBytePgNumber),
    hide(F::PageNumber),
    write(F::txt_Device_Addr, "16"),
    write(F::txt_Device_Cmd, "16"),
    write(F::Pmbus, "SBS Command"),
    {Op::UntickNonstop},
};
// The last step of the Smart Battery switch empties the data and value boxes; panels 5
// and 7 empty the value box between the two data boxes.
constexpr Step kSBSEmpty[] = {
    write(F::txt_RW_LSByte, ""),
    write(F::txt_RW_MSByte, ""),
    write(F::Linear16bit, ""),
};
constexpr Step kSBSEmptyPanels5And7[] = {
    write(F::txt_RW_LSByte, ""),
    write(F::Linear16bit, ""),
    write(F::txt_RW_MSByte, ""),
};

// The steps of one panel's turn: a head, then a tail.
using Plan = std::pair<std::span<const Step>, std::span<const Step>>;

Plan switch_plan(BusMode mode, int n) {
    switch (mode) {
        case BusMode::I2C:
            return {kI2C, {}};
        case BusMode::PMBus:
            return {n <= 1 ? std::span<const Step>(kPMBusFirst) : kPMBusLater, {}};
        case BusMode::SBS:
            break;
    }
    return {kSBS, n == 5 || n == 7 ? std::span<const Step>(kSBSEmptyPanels5And7) : kSBSEmpty};
}

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kBasicOfExt{{
    {"Ext Read Word", "Read Word"},
    {"Ext Read Byte", "Read Byte"},
    {"Ext Write Word", "Write Word"},
    {"Ext Write Byte", "Write Byte"},
}};

// Where the Ext items start in a type list that holds them.
constexpr int kFirstExtItem = static_cast<int>(kBasicTypes.size());

void run_step(WorkspaceWindows& w, PanelControls& p, const Step& s) {
    switch (s.op) {
        case Op::ExtToBasic: {
            const std::string type = p.text(Field::CmdProtocol);
            for (const auto& [ext, basic] : kBasicOfExt) {
                if (type != ext) continue;
                p.set_text(Field::CmdProtocol, std::string(basic));
                break;
            }
            return;
        }
        case Op::RemoveExtTypes:
            if (p.CmdProtocol_ListCount() != kTypeListWithExt) return;
            for (size_t i = 0; i < kExtTypes.size(); ++i) p.CmdProtocol_RemoveItem(kFirstExtItem);
            p.set_visible(Field::txt_Device_Cmdlsb, false);
            return;
        case Op::AddExtTypes:
            Add_Ext_Types(p);
            return;
        case Op::CmdlsbFollowsType:
            Cmdlsb_Follows_Type(p);
            return;
        case Op::StopRepeatAll:
            console_controls().stop_repeat_all();
            Clear_Nonstop();
            return;
        case Op::EnableSendBlock:
            if (!shared().BoardSerial.empty()) w.enable_SendBlock();
            return;
        case Op::ClearResults:
            shared().ResultReady.fill(False);
            return;
        case Op::Show:
        case Op::Hide:
            p.set_visible(s.field, s.op == Op::Show);
            return;
        case Op::UntickNonstop:
            p.set_ticked(Field::Nonstop, false);
            return;
        case Op::Write:
            p.set_text(s.field, std::string(s.text));
            return;
    }
}

void run_turn(WorkspaceWindows& w, PanelControls& p, BusMode mode) {
    const auto [head, tail] = switch_plan(mode, p.number());
    for (std::span<const Step> steps : {head, tail})
        for (const Step& s : steps)
            if (!s.main_only || p.number() == 0) run_step(w, p, s);
}

}  // namespace

void Cmdlsb_Follows_Type(PanelControls& p) {
    p.set_visible(Field::txt_Device_Cmdlsb, is_ext_type(p.text(Field::CmdProtocol)));
}

void Add_Ext_Types(PanelControls& p) {
    if (p.CmdProtocol_ListCount() >= kTypeListWithExt) return;
    for (std::string_view t : kExtTypes) p.CmdProtocol_AddItem(t);
}

void run_bus_mode_switch(WorkspaceWindows& w, BusMode mode) {
    run_turn(w, w.main_panel(), mode);
    // PanelCount is read afresh for each panel, as the open panels are walked.
    for (int k = 1; k <= kPanelWindowCount && shared().PanelCount >= k; ++k)
        run_turn(w, w.panel(k), mode);
}

void I2C_Click(WorkspaceWindows& w) {
    run_bus_mode_switch(w, BusMode::I2C);
}

void PMBus_sel_Click(WorkspaceWindows& w) {
    run_bus_mode_switch(w, BusMode::PMBus);
}

void SBS_Click(WorkspaceWindows& w) {
    run_bus_mode_switch(w, BusMode::SBS);
}

}  // namespace velmora::workspace
