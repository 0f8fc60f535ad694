// Command-name lookup of a panel: which caption its `PMBuscmd` label shows and which
// transaction class it records in `CmdClass(n)`, from the panel's command and address
// texts and the bus mode. Run on every change of the command or the address box.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "command_tables.h"
#include "formats/bus_mode.h"

namespace velmora {

inline constexpr std::string_view kSbsUndefined = "UNDEFINED";
inline constexpr std::string_view kPmbusUndefined = "Undefined";
inline constexpr std::string_view kExtendedCommands = "Extended Commands";

// The code a typed text names: exactly two hex digits of either case, or one digit for
// 00..0F. Nothing else (no blanks, prefix or third digit; the empty text names nothing).
std::optional<uint8_t> command_code(std::string_view text);

// What a lookup writes; an empty member leaves that output as it was.
struct NameLookup {
    std::optional<std::string_view> caption;
    std::optional<int16_t> cmd_class;
};

// set: the main panel's tables or the command panels'; type_text: the panel's
// `CmdProtocol` text, which matters only for the Ext override in PMBus mode.
NameLookup lookup_command_name(TableSet set, BusMode mode, std::string_view addr_text,
                               std::string_view cmd_text, std::string_view type_text);

}  // namespace velmora
