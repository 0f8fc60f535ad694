// Command-name tables: the names and expected transaction classes of the command codes,
// per bus mode and device. Two table sets: the main panel's and the one that the command
// panels Control1..Control8 share. Constant data; rows sorted by code.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velmora {

struct CommandRow {
    uint8_t code;
    std::string_view name;  // caption text, spacing and case as shown
    int8_t cmd_class;       // expected transaction class, 0..10
};

enum class TableSet { Main, Panels };

struct CommandTables {
    std::span<const CommandRow> battery;   // address "16"
    std::span<const CommandRow> charger;   // main: "12"; panels: "12" or "14"
    std::span<const CommandRow> selector;  // main: "14"; panels: none
    std::span<const CommandRow> pmbus;     // main: any address; panels: "B8"/"b8" only
};

const CommandTables& command_tables(TableSet set);

// The row of `code`, or nullptr when the table does not hold it.
const CommandRow* find_command(std::span<const CommandRow> table, uint8_t code);

}  // namespace velmora
