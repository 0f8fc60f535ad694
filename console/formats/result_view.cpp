#include "formats/result_view.h"

#include <algorithm>
#include <array>

#include "formats/word_formats.h"

namespace velmora::formats {
namespace {

enum class Decode { Empty, Unsigned, Signed, Temperature };

struct CommandDecode {
    std::string_view command;
    Decode decode;
};

// The battery's commands as users type them (with and without the leading zero, either
// case of the hex letter); exact spellings, nothing trimmed.
constexpr std::array<CommandDecode, 49> kBatteryTable{{
    {"01", Decode::Unsigned},    {"1", Decode::Unsigned},    {"02", Decode::Unsigned},
    {"2", Decode::Unsigned},     {"05", Decode::Unsigned},   {"5", Decode::Unsigned},
    {"06", Decode::Unsigned},    {"6", Decode::Unsigned},    {"09", Decode::Unsigned},
    {"9", Decode::Unsigned},     {"0B", Decode::Unsigned},   {"0b", Decode::Unsigned},
    {"B", Decode::Unsigned},     {"b", Decode::Unsigned},    {"0C", Decode::Unsigned},
    {"0c", Decode::Unsigned},    {"C", Decode::Unsigned},    {"c", Decode::Unsigned},
    {"0D", Decode::Unsigned},    {"0d", Decode::Unsigned},   {"D", Decode::Unsigned},
    {"d", Decode::Unsigned},     {"0E", Decode::Unsigned},   {"0e", Decode::Unsigned},
    {"E", Decode::Unsigned},     {"e", Decode::Unsigned},    {"0F", Decode::Unsigned},
    {"0f", Decode::Unsigned},    {"F", Decode::Unsigned},    {"f", Decode::Unsigned},
    {"10", Decode::Unsigned},    {"11", Decode::Unsigned},   {"12", Decode::Unsigned},
    {"13", Decode::Unsigned},    {"15", Decode::Unsigned},   {"17", Decode::Unsigned},
    {"18", Decode::Unsigned},    {"19", Decode::Unsigned},   {"1B", Decode::Unsigned},
    {"1b", Decode::Unsigned},    {"1C", Decode::Unsigned},   {"1c", Decode::Unsigned},
    {"08", Decode::Temperature}, {"8", Decode::Temperature}, {"0A", Decode::Signed},
    {"0a", Decode::Signed},      {"A", Decode::Signed},      {"a", Decode::Signed},
    {"14", Decode::Signed},
}};

// Charger and selector: charging voltage unsigned, charging current signed.
constexpr std::array<CommandDecode, 2> kChargerTable{{
    {"15", Decode::Unsigned},
    {"14", Decode::Signed},
}};

template <size_t N>
Decode lookup(const std::array<CommandDecode, N>& table, std::string_view command) {
    auto it = std::find_if(table.begin(), table.end(),
                           [&](const CommandDecode& c) { return c.command == command; });
    return it == table.end() ? Decode::Empty : it->decode;
}

Decode battery_decode(std::string_view main_address, std::string_view command) {
    if (main_address == "16") return lookup(kBatteryTable, command);
    if (main_address == "12" || main_address == "14") return lookup(kChargerTable, command);
    return Decode::Empty;
}

std::string smart_battery_text(Decode d, uint16_t w, const NumberFormat& number_format) {
    switch (d) {
        case Decode::Unsigned:
            return std::to_string(w);
        case Decode::Signed:
            return std::to_string(static_cast<int16_t>(w));
        case Decode::Temperature:  // tenths of a kelvin to degrees Celsius
            return real_to_text(w / 10.0 - 273.15, number_format);
        case Decode::Empty:
            break;
    }
    return {};
}

std::string pmbus_text(const DecodeContext& ctx, uint8_t msb, uint8_t lsb,
                       const NumberFormat& number_format) {
    std::string high = Byte_To_Bin(msb);
    std::string low = Byte_To_Bin(lsb);
    if (ctx.format == kExpManual) {
        // The exponent box is held to -15..15 by its own handling; anything beyond 16 bits
        // here cannot be decoded and shows the empty text.
        auto x = round_to_int16(leading_number(ctx.xtext));
        if (!x) return {};
        return real_to_text(Linear16_To_Real(*x, high, low), number_format);
    }
    if (ctx.format == kExp5bMan11b) return real_to_text(Linear11_To_Real(high, low), number_format);
    return {};
}

bool is_one_of(std::string_view letter, std::initializer_list<std::string_view> set) {
    return std::find(set.begin(), set.end(), letter) != set.end();
}

}  // namespace

std::optional<std::string> decode_word_value(const DecodeContext& ctx, uint8_t msb, uint8_t lsb,
                                             const NumberFormat& number_format) {
    switch (ctx.mode) {
        case BusMode::SBS: {
            uint16_t w = static_cast<uint16_t>(msb * 256 + lsb);
            return smart_battery_text(battery_decode(ctx.main_address, ctx.command), w,
                                      number_format);
        }
        case BusMode::PMBus:
            return pmbus_text(ctx, msb, lsb, number_format);
        case BusMode::I2C:
            break;
    }
    return std::nullopt;
}

ResultView result_view(const PanelResult& result, const DecodeContext& ctx,
                       const NumberFormat& number_format) {
    ResultView view;
    auto show_bytes = [&](std::string high, std::string low) {
        if (result.panel_error) {
            high = low = "Err";
            view.stop_repeat_all = true;
        }
        view.show_bytes = true;
        view.ms_byte = std::move(high);
        view.ls_byte = std::move(low);
    };
    const std::string_view letter = result.letter;
    if (is_one_of(letter, {"3", "C", "P", "R"})) {  // writes that carry data bytes
        if (result.panel_error) show_bytes("Err", "Err");
    } else if (is_one_of(letter, {"2", "D", "O"})) {  // byte reads
        show_bytes("00", two_hex_digits(result.lsb));
    } else if (is_one_of(letter, {"4", "Q"})) {  // word reads
        show_bytes(two_hex_digits(result.msb), two_hex_digits(result.lsb));
        view.value = decode_word_value(ctx, result.msb, result.lsb, number_format);
        if (view.value && result.panel_error) view.value = "Err";
    }
    if (letter == "G") view.block = BlockBoxes::Read;
    if (letter == "U") view.block = BlockBoxes::WriteRead;
    if (view.block != BlockBoxes::None && !result.panel_error) {
        view.block_count = result.block_count;
        view.block_data = result.block_data;
    }
    return view;
}

AllPanelButtons all_panel_buttons(int panel_count, BusMode mode) {
    if (panel_count <= 0) return {};  // no command panel open
    return {true, true, mode == BusMode::PMBus};
}

}  // namespace velmora::formats
