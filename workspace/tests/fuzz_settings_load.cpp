// Any bytes loaded as a settings file into a console without windows: the load never
// crashes, never reaches a panel outside 1..8, leaves 0..8 panels counted and exactly
// those shown, and a load that runs to its end leaves every panel's text fields as the
// file gives them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fake_workspace.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "settings_commands.h"

namespace ws = velmora::workspace;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    velmora::shared() = velmora::SharedState{};
    ws::testing::FakeWorkspace w;
    const bool complete = ws::Load_Settings(w, file, true);

    const int count = velmora::shared().PanelCount;
    if (count < 0 || count > velmora::kPanelWindows) std::abort();
    for (int k = 1; k <= velmora::kPanelWindows; ++k)
        if (w.shown[static_cast<size_t>(k)] != (k <= count)) std::abort();
    if (!complete) return 0;

    const velmora::formats::SettingsRead read = velmora::formats::read_settings(file);
    for (int n = 0; n <= count; ++n) {
        const velmora::formats::PanelRecord r = ws::Panel_Record(w.fake(n));
        for (size_t i = 0; i < r.size(); ++i) {
            if (i == velmora::formats::kSendBytePgNumber || i == velmora::formats::kNonstop)
                continue;
            if (r[i] != read.fields[static_cast<size_t>(n) * r.size() + i]) std::abort();
        }
    }
    return 0;
}
