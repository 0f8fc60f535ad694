// Any bytes as a settings file: the reader never crashes, never yields more than the
// count allows, and what it reads is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "formats/settings_file.h"

namespace f = velmora::formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    f::SettingsRead read = f::read_settings(file);
    if (!read.panel_count) return 0;
    int count = *read.panel_count;
    if (count < 0 || count > f::kMaxOpenPanels) std::abort();
    size_t wanted = f::kRecordFields * static_cast<size_t>(count + 1);
    if (read.fields.size() > wanted) std::abort();
    if (!read.mode || read.fields.size() != wanted) return 0;

    std::vector<f::PanelRecord> records(static_cast<size_t>(count + 1));
    for (size_t i = 0; i < wanted; ++i)
        records[i / f::kRecordFields][i % f::kRecordFields] = read.fields[i];
    f::SettingsRead again = f::read_settings(f::settings_text(*read.mode, records));
    if (again.panel_count != count || again.mode != read.mode || again.fields != read.fields)
        std::abort();
    return 0;
}
