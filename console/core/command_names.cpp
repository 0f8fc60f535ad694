#include "command_names.h"

#include "formats/number_text.h"
#include "transaction_types.h"

namespace velmora {
namespace {

std::span<const CommandRow> sbs_table(const CommandTables& t, TableSet set, std::string_view addr) {
    if (addr == "16") return t.battery;
    if (addr == "12") return t.charger;
    if (addr == "14") return set == TableSet::Main ? t.selector : t.charger;
    return {};
}

std::span<const CommandRow> pmbus_table(const CommandTables& t, TableSet set,
                                        std::string_view addr) {
    if (set == TableSet::Main || addr == "B8" || addr == "b8") return t.pmbus;
    return {};
}

}  // namespace

std::optional<uint8_t> command_code(std::string_view text) {
    return formats::hex_byte(text);
}

NameLookup lookup_command_name(TableSet set, BusMode mode, std::string_view addr_text,
                               std::string_view cmd_text, std::string_view type_text) {
    if (mode == BusMode::I2C) return {};
    const CommandTables& tables = command_tables(set);
    const bool sbs = mode == BusMode::SBS;
    auto table = sbs ? sbs_table(tables, set, addr_text) : pmbus_table(tables, set, addr_text);
    auto code = command_code(cmd_text);
    const CommandRow* row = code ? find_command(table, *code) : nullptr;

    NameLookup out;
    if (row) {
        out.caption = row->name;
        out.cmd_class = row->cmd_class;
    } else {
        out.caption = sbs ? kSbsUndefined : kPmbusUndefined;
    }
    // Ext override. The command panels apply it too: without it a panel set to an Ext
    // type would take the class of the code typed and then refuse its own Ext request.
    if (!sbs && is_ext_type(type_text)) {
        out.caption = kExtendedCommands;
        out.cmd_class = kClassNoTest;
    }
    return out;
}

}  // namespace velmora
