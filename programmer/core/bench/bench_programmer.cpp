// Programming 16 simulated chips with fixed serial numbers; each is read back and
// decoded as part of the run.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/recording_window.h"
#include "device_operations.h"
#include "rawlnk_sim.h"
#include "ui/doubles.h"

namespace {

constexpr int kChips = 16;

std::string SixteenBlankChips() {
    std::string text;
    for (int i = 0; i < kChips; ++i) text += "chip c" + std::to_string(i) + "\n  image blank\n";
    return text;
}

void BM_ProgramAndVerify16Chips(benchmark::State& st) {
    using namespace pelmo;
    platform::ui::ScopedDoubles doubles;
    testing::RecordingWindow win;
    install_window(&win);
    RLSIM_SetStateDir(nullptr);
    RLSIM_UseVirtualClock(1);
    if (RLSIM_LoadWorldText(SixteenBlankChips().c_str()) != 0) {
        st.SkipWithError(RLSIM_LastError());
        return;
    }
    ResetState();
    state().Kinds.KindT2 = true;
    state().OnlyBlank = false;
    win.kinds = state().Kinds;
    win.settings = {.VendorId = 0x4B1D,
                    .ProductId = 0xE001,
                    .MaxPower = 100,
                    .IsT2 = 1,
                    .SerNumEnable = 1,
                    .UsbVersionEnable = 1,
                    .UsbVersion = 0x0200};
    win.fields = {"KELD", "RL", "USB <-> Serial Cable", "00000001", true};

    for (auto _ : st) {
        win.history.clear();
        ProgramAllDevices();
        int programmed = 0;
        for (const auto& line : win.history) {
            programmed += line.rfind("Programmed Serial Number : ", 0) == 0;
        }
        if (programmed != kChips || !doubles.ui.messages.empty()) {
            st.SkipWithError("not every chip was programmed");
            break;
        }
    }
    install_window(nullptr);
    RLSIM_LoadDefaultWorld();
}
BENCHMARK(BM_ProgramAndVerify16Chips)->Unit(benchmark::kMillisecond);

}  // namespace
