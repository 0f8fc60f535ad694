#include "shared_state.h"

#include <algorithm>

namespace velmora {
namespace {

// Stands in while no console window is loaded: the link layer's writes go nowhere and the
// block data box reads as empty.
class NoConsole : public ConsoleControls {
  public:
    void set_SNlabel(const std::string&) override {}
    void hide_page_number_controls() override {}
    std::string txt_Block_Data() override { return {}; }
    void stop_repeat_all() override {}
    void untick_nonstop(int) override {}
};

NoConsole g_no_console;
ConsoleControls* g_console = &g_no_console;

}  // namespace

SharedState& shared() {
    static SharedState state;
    return state;
}

int open_panel_count() {
    return std::clamp<int>(shared().PanelCount, 0, kPanelWindows);
}

ConsoleControls& console_controls() {
    return *g_console;
}

void install_console_controls(ConsoleControls* c) {
    g_console = c ? c : &g_no_console;
}

}  // namespace velmora
