// Any typed texts in the value and exponent boxes: no crash, and every conversion that
// writes the data bytes writes two hex digits into each.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/result_view.h"
#include "formats/value_entry.h"

namespace f = velmora::formats;

namespace {

bool two_hex(const std::string& s) {
    return s.size() == 2 &&
           std::string_view("0123456789ABCDEF").find(s[0]) != std::string_view::npos &&
           std::string_view("0123456789ABCDEF").find(s[1]) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t cut = text.find('|');
    std::string_view value = text.substr(0, cut);
    std::string_view xtext = cut == std::string_view::npos ? "-13" : text.substr(cut + 1);
    for (auto mode : {f::BusMode::SBS, f::BusMode::PMBus, f::BusMode::I2C}) {
        for (auto format : f::kFormatItems) {
            f::ValueEntryOutcome out =
                f::value_entry_outcome(mode, {"Write Word", value, "15", format, xtext});
            if (out.write_bytes && !(two_hex(out.bytes.ls_byte) && two_hex(out.bytes.ms_byte)))
                std::abort();
            f::decode_word_value({mode, "16", value, format, xtext}, 0xFF, 0x7F);
        }
    }
    f::xtext_repair(xtext);
    if (auto v = f::whole_number(value)) {
        auto back = f::whole_number(f::real_to_text(*v));
        if (std::isfinite(*v) && (!back || std::fabs(*back - *v) > std::fabs(*v) * 1e-14 + 1e-300))
            std::abort();
    }
    return 0;
}
