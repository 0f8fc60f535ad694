#include "panel_windows.h"

#include <QPointer>
#include <array>

#include "command_panel.h"
#include "frm_send_smb_cmds.h"

namespace velmora {
namespace {

std::array<QPointer<CommandPanel>, kPanelWindows + 1>& windows() {
    static std::array<QPointer<CommandPanel>, kPanelWindows + 1> w;
    return w;
}

bool valid(int n) {
    return n >= 1 && n <= kPanelWindows;
}

}  // namespace

CommandPanel& Control(int n) {
    if (!valid(n)) n = n < 1 ? 1 : kPanelWindows;
    auto& slot = windows()[static_cast<size_t>(n)];
    if (!slot) slot = new CommandPanel(n);
    return *slot;
}

CommandPanel* Loaded_Control(int n) {
    return valid(n) ? windows()[static_cast<size_t>(n)].data() : nullptr;
}

void Unload_Control(int n) {
    if (!valid(n)) return;
    auto& slot = windows()[static_cast<size_t>(n)];
    if (!slot) return;
    CommandPanel* w = slot;
    slot = nullptr;
    // Nothing pending for the panel outlives it: a later panel of that number starts afresh.
    Discard_Result(n);
    shared().CmdClass[static_cast<size_t>(n)] = SharedState{}.CmdClass[static_cast<size_t>(n)];
    w->hide();
    w->deleteLater();  // it may be unloading itself from one of its own handlers
}

CommandPanel* Panel(int n) {
    if (n == 0) return console_window() ? console_window()->panel0 : nullptr;
    return &Control(n);
}

void Send1_Click() {
    Control(1).Send_Click();
}
void Send2_Click() {
    Control(2).Send_Click();
}
void Send3_Click() {
    Control(3).Send_Click();
}
void Send4_Click() {
    Control(4).Send_Click();
}
void Send5_Click() {
    Control(5).Send_Click();
}
void Send6_Click() {
    Control(6).Send_Click();
}
void Send7_Click() {
    Control(7).Send_Click();
}
void Send8_Click() {
    Control(8).Send_Click();
}

BusMode current_bus_mode() {
    frmSendSMB_cmds* c = console_window();
    return c ? c->bus_mode() : BusMode::SBS;
}

}  // namespace velmora
