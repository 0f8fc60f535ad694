// What the value box, the format list and the exponent box of a command panel do with
// what the user typed. The window's handlers (`Linear16bit_Change`,
// `TranslationMode_Click`, `Xtext_Change`) ask these functions and only move texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/bus_mode.h"
#include "formats/number_text.h"
#include "formats/word_formats.h"

namespace velmora::formats {

using BusMode = velmora::BusMode;

inline constexpr std::string_view kOverflowMessage = "Number overflow, please clear and reenter";
inline constexpr std::string_view kXtextStart = "-13";

// The panel's boxes that the value conversion reads.
struct ValueEntry {
    std::string_view protocol;  // `CmdProtocol` text
    std::string_view value;     // `Linear16bit` text
    std::string_view command;   // `txt_Device_Cmd` text
    std::string_view format;    // `TranslationMode` text
    std::string_view xtext;     // `Xtext` text
};

// Steps for `Linear16bit_Change`, applied in this order:
// 1. value_to_zero: write "0" into `Linear16bit` (that write runs the handler once for
//    "0"; the outcome below is already the one for "0").
// 2. message not empty: show it (OK button only).
// 3. write_bytes: `txt_RW_LSByte` := bytes.ls_byte, then `txt_RW_MSByte` := bytes.ms_byte.
//    Every failure writes "00" and "00"; the value box keeps its text.
struct ValueEntryOutcome {
    bool value_to_zero = false;
    std::string message;
    bool write_bytes = false;
    RwBytes bytes;
};

ValueEntryOutcome value_entry_outcome(BusMode mode, const ValueEntry& entry,
                                      const NumberFormat& number_format = {});

// `TranslationMode_Click`: what happens to `Xtext` and `Xlabel`, and whether the panel
// reads the device's output mode register once (command panels 1 to 8 only).
enum class ExponentBox { Show, Hide, Keep };
struct FormatChoice {
    ExponentBox exponent_box = ExponentBox::Hide;
    bool read_vout_mode = false;
};
FormatChoice translation_mode_choice(std::string_view item, bool command_panel);

// The one read of "Exp(2^X) Auto input": message first, then a read byte ("D") of
// VOUT_MODE from the fixed address, whatever the panel's own address box holds. The
// reply is left where the request layer puts it; nothing is converted.
inline constexpr std::string_view kVoutModeMessage =
    "Attempting to read VOUT_MODE (3bit Mode, 5bit Parameter) register from PMBus device ... "
    "please confirm hardware connections. Please input the Slave Address of the PMBus device";
inline constexpr std::string_view kVoutModeProtocol = "D";
inline constexpr int16_t kVoutModeAddress = 0xB8;
inline constexpr int16_t kVoutModeCommand = 0x20;

// `Xtext_Change`: "-13" when the leading number of the text lies outside -15..15 (the
// write runs the handler again, which accepts it); nothing leaves the text as it is.
std::optional<std::string> xtext_repair(std::string_view text);

}  // namespace velmora::formats
