// Handlers of the console that other parts of velmora supply: the workspace (bus mode
// switches, command panels, settings files, Group Set Send) and the monitor. The console
// calls the installed function; an empty one does nothing. Installed once by the program.
#pragma once

#include <functional>

namespace velmora {

struct ConsoleHooks {
    // Workspace
    std::function<void()> menuopen_Click;
    std::function<void()> menuSaveassettings_Click;
    std::function<void()> mainAdd_Click;
    std::function<void()> mainDelete_Click;
    std::function<void()> mainRearrange_Click;
    std::function<void()> I2C_Click;
    std::function<void()> PMBus_sel_Click;
    std::function<void()> SBS_Click;
    std::function<void()> Groupsetbut_Click;
    // Monitor: the whole switch ("M" CR, unload the console, show the monitor).
    std::function<void()> mainMonitor_Click;
};

ConsoleHooks& console_hooks();

// Runs an installed hook.
inline void run_hook(const std::function<void()>& hook) {
    if (hook) hook();
}

}  // namespace velmora
