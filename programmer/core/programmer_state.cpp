#include "programmer_state.h"

#include "window_steps.h"

namespace pelmo {
namespace {

ProgrammerState g_state;

// No window loaded: lines and steps go nowhere, the settings read as empty.
class SilentWindow : public WindowSteps {
  public:
    void clear_log() override {}
    void add_log_line(const std::string&) override {}
    StringFields string_fields() override { return {}; }
    bool ignore_upper_type() override { return false; }
    void FormToProgramData(int) override {}
    void LockBasicDetails() override {}
    void UpdateDeviceTypePage() override {}
    void ProgramDataToForm() override {}
    void ShowBasicDetails(const BasicDetails&) override {}
};

SilentWindow g_silent;
WindowSteps* g_window = &g_silent;

}  // namespace

ProgrammerState& state() {
    return g_state;
}
void ResetState() {
    g_state = ProgrammerState{};
}

WindowSteps& window() {
    return *g_window;
}
void install_window(WindowSteps* w) {
    g_window = w ? w : &g_silent;
}

}  // namespace pelmo
