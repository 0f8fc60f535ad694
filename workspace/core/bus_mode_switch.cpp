#include "bus_mode_switch.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>

#include "mod_Miscellaneous_Subroutines.h"
#include "panel_send.h"
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
    PanelField field = PanelField::CmdProtocol;
    std::string_view text = {};
    bool main_only = false;  // once for the console, in the main panel's turn
};

constexpr Step once(Op op) {
    return {op, PanelField::CmdProtocol, {}, true};
}
constexpr Step show(PanelField f) {
    return {Op::Show, f};
}
constexpr Step hide(PanelField f) {
    return {Op::Hide, f};
}
constexpr Step write(PanelField f, std::string_view text) {
    return {Op::Write, f, text};
}

using F = PanelField;
using Steps = std::span<const Step>;

// Pieces of the switches, in the order each runs them.
constexpr Step kExtOut[] = {{Op::ExtToBasic}, {Op::RemoveExtTypes}};
constexpr Step kExtIn[] = {{Op::AddExtTypes}, {Op::CmdlsbFollowsType}};
constexpr Step kStopRepeat[] = {once(Op::StopRepeatAll)};
constexpr Step kEnableSendBlock[] = {once(Op::EnableSendBlock)};
constexpr Step kClearResults[] = {once(Op::ClearResults)};
constexpr Step kHideFormat[] = {hide(F::TranslationMode), hide(F::Xlabel), hide(F::Xtext)};
constexpr Step kShowFormat[] = {show(F::TranslationMode), hide(F::Xlabel), hide(F::Xtext)};
constexpr Step kHidePage[] = {hide(F::SendBytePgNumber), hide(F::PageNumber)};
constexpr Step kShowPage[] = {show(F::SendBytePgNumber), show(F::PageNumber)};
constexpr Step kHideNames[] = {hide(F::Pmbus), hide(F::PMBuscmd), hide(F::Linear16bit)};
constexpr Step kShowNames[] = {show(F::Pmbus), show(F::PMBuscmd), show(F::Linear16bit)};
constexpr Step kUntick[] = {{Op::UntickNonstop}};
// A switch leaves the address, command and heading a panel window starts with.
constexpr const PanelStartup& kI2CStart = panel_startup(BusMode::I2C);
constexpr const PanelStartup& kPMBusStart = panel_startup(BusMode::PMBus);
constexpr const PanelStartup& kSBSStart = panel_startup(BusMode::SBS);
constexpr Step kNoAddress[] = {write(F::txt_Device_Addr, kI2CStart.addr),
                               write(F::txt_Device_Cmd, kI2CStart.cmd)};
constexpr Step kPMBusAddress[] = {write(F::txt_Device_Addr, kPMBusStart.addr),
                                  write(F::txt_Device_Cmd, kPMBusStart.cmd)};
constexpr Step kSBSAddress[] = {write(F::txt_Device_Addr, kSBSStart.addr),
                                write(F::txt_Device_Cmd, kSBSStart.cmd)};
constexpr Step kMainExtByte[] = {{Op::Write, F::txt_Device_Cmdlsb, "00", true}};
constexpr Step kPMBusHeading[] = {write(F::Pmbus, *kPMBusStart.pmbus_heading)};
constexpr Step kSBSHeading[] = {write(F::Pmbus, *kSBSStart.pmbus_heading)};
constexpr Step kEmptyLow[] = {write(F::txt_RW_LSByte, "")};
constexpr Step kEmptyHigh[] = {write(F::txt_RW_MSByte, "")};
constexpr Step kEmptyValue[] = {write(F::Linear16bit, "")};

constexpr Steps kI2C[] = {kExtOut,    kClearResults, kHideFormat, kHidePage, kUntick,
                          kHideNames, kNoAddress,    kEmptyLow,   kEmptyHigh};
// The main panel and panel 1 empty the data boxes before the value box, so a data byte
// that the value box handling writes then stays; panels 2 to 8 empty the value box first
// and the data boxes last, which clears it again.
constexpr Steps kPMBusFirst[] = {
    kExtIn,  kStopRepeat,   kEnableSendBlock, kClearResults, kShowFormat, kShowNames, kShowPage,
    kUntick, kPMBusAddress, kMainExtByte,     kPMBusHeading, kEmptyLow,   kEmptyHigh, kEmptyValue};
constexpr Steps kPMBusLater[] = {kExtIn,  kShowFormat,   kEmptyValue,   kShowNames, kShowPage,
                                 kUntick, kPMBusAddress, kPMBusHeading, kEmptyLow,  kEmptyHigh};
// Panels 5 and 7 empty the value box between the two data boxes.
constexpr Steps kSBS[] = {kExtOut,    kStopRepeat, kClearResults, kHideFormat,
                          kShowNames, kHidePage,   kSBSAddress,   kSBSHeading,
                          kUntick,    kEmptyLow,   kEmptyHigh,    kEmptyValue};
constexpr Steps kSBSPanels5And7[] = {kExtOut,    kStopRepeat, kClearResults, kHideFormat,
                                     kShowNames, kHidePage,   kSBSAddress,   kSBSHeading,
                                     kUntick,    kEmptyLow,   kEmptyValue,   kEmptyHigh};

std::span<const Steps> switch_plan(BusMode mode, int n) {
    switch (mode) {
        case BusMode::I2C:
            return kI2C;
        case BusMode::PMBus:
            return n <= 1 ? std::span<const Steps>(kPMBusFirst) : kPMBusLater;
        case BusMode::SBS:
            break;
    }
    return n == 5 || n == 7 ? std::span<const Steps>(kSBSPanels5And7) : kSBS;
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
            const std::string type = p.text(PanelField::CmdProtocol);
            for (const auto& [ext, basic] : kBasicOfExt) {
                if (type != ext) continue;
                p.set_text(PanelField::CmdProtocol, std::string(basic));
                break;
            }
            return;
        }
        case Op::RemoveExtTypes:
            if (p.CmdProtocol_ListCount() != kTypeListWithExt) return;
            for (size_t i = 0; i < kExtTypes.size(); ++i) p.CmdProtocol_RemoveItem(kFirstExtItem);
            p.set_visible(PanelField::txt_Device_Cmdlsb, false);
            return;
        case Op::AddExtTypes:
            Add_Ext_Types(p);
            return;
        case Op::CmdlsbFollowsType:
            Cmdlsb_Follows_Type(p);
            return;
        case Op::StopRepeatAll:
            Stop_Repeat_All();
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
            p.set_ticked(PanelField::Nonstop, false);
            return;
        case Op::Write:
            p.set_text(s.field, std::string(s.text));
            return;
    }
}

void run_turn(WorkspaceWindows& w, PanelControls& p, BusMode mode) {
    for (Steps steps : switch_plan(mode, p.number()))
        for (const Step& s : steps)
            if (!s.main_only || p.number() == 0) run_step(w, p, s);
}

}  // namespace

void Cmdlsb_Follows_Type(PanelControls& p) {
    p.set_visible(PanelField::txt_Device_Cmdlsb, is_ext_type(p.text(PanelField::CmdProtocol)));
}

void Add_Ext_Types(PanelControls& p) {
    if (p.CmdProtocol_ListCount() >= kTypeListWithExt) return;
    for (std::string_view t : kExtTypes) p.CmdProtocol_AddItem(t);
}

void run_bus_mode_switch(WorkspaceWindows& w, BusMode mode) {
    run_turn(w, w.main_panel(), mode);
    // PanelCount is read afresh for each panel, as the open panels are walked.
    for (int k = 1; k <= kPanelWindows && shared().PanelCount >= k; ++k)
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
