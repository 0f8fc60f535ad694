// Feeds arbitrary bytes to the hive loader. Whatever it accepts must save and load back
// to the same tree and the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "win/hive_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace win = platform::win;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    win::Hive hive;
    win::TextError error;
    if (!win::parse_hive(text, &hive, &error)) return 0;
    const std::string saved = win::format_hive(hive);
    win::Hive again;
    if (!win::parse_hive(saved, &again, &error) || !(again == hive) ||
        win::format_hive(again) != saved)
        std::abort();
    return 0;
}
