#include "command_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "command_tables.h"

namespace velmora {
namespace {

// "05-0F, 34" style code lists as the tables are described.
std::vector<int> codes(const std::string& list) {
    std::vector<int> out;
    size_t i = 0;
    while (i < list.size()) {
        size_t end = list.find(',', i);
        if (end == std::string::npos) end = list.size();
        std::string item = list.substr(i, end - i);
        while (!item.empty() && item.front() == ' ') item.erase(0, 1);
        size_t dash = item.find('-');
        int first = std::stoi(item.substr(0, dash), nullptr, 16);
        int last =
            dash == std::string::npos ? first : std::stoi(item.substr(dash + 1), nullptr, 16);
        for (int c = first; c <= last; ++c) out.push_back(c);
        i = end + 1;
    }
    return out;
}

std::set<int> held(std::span<const CommandRow> table) {
    std::set<int> out;
    for (const auto& r : table) out.insert(r.code);
    return out;
}

TEST(CommandTables, RowCountsOfBothSets) {
    const auto& m = command_tables(TableSet::Main);
    const auto& p = command_tables(TableSet::Panels);
    EXPECT_EQ(m.battery.size(), 33u);
    EXPECT_EQ(m.charger.size(), 6u);
    EXPECT_EQ(m.selector.size(), 3u);
    EXPECT_EQ(m.pmbus.size(), 243u);
    EXPECT_EQ(p.battery.size(), 33u);
    EXPECT_EQ(p.charger.size(), 6u);
    EXPECT_TRUE(p.selector.empty());
    EXPECT_EQ(p.pmbus.size(), 135u);
}

TEST(CommandTables, MainPmbusHoldsEveryCodeButThreeGaps) {
    std::set<int> expected;
    for (int c = 0; c < 256; ++c) expected.insert(c);
    for (int c : codes("1A-1F, 2B-2F, 4D-4E")) expected.erase(c);
    EXPECT_EQ(held(command_tables(TableSet::Main).pmbus), expected);
}

TEST(CommandTables, MainPmbusClassesAsListed) {
    const std::vector<std::pair<int, std::string>> classes = {
        {0, "03, 11, 12, 15, 16"},
        {1, "13, 14, 17, 18"},
        {2, "19"},
        {3, "A0-A9"},
        {4,
         "00, 01, 02, 04, 10, 20, 3A, 3D, 41, 45, 47, 49, 4C, 50, 54, 56, 5A, 5C, 63, 69, 78, "
         "7A-82, 98"},
        {5,
         "21-2A, 31-33, 35-39, 3B, 3C, 3E, 3F, 40, 42-44, 46, 48, 4A, 4B, 4F, 51-53, 55, "
         "57-59, 5B, 5D-62, 64-66, 68, 6A, 6B, 79, 88-97"},
        {9, "30, 99-9E, AA, AB, B0-BF"},
        {10, "05-0F, 34, 67, 6C-77, 83-87, 9F, AC-AF, C0-FF"},
    };
    const auto table = command_tables(TableSet::Main).pmbus;
    size_t listed = 0;
    for (const auto& [cls, list] : classes) {
        for (int c : codes(list)) {
            const CommandRow* row = find_command(table, static_cast<uint8_t>(c));
            ASSERT_NE(row, nullptr) << std::hex << c;
            EXPECT_EQ(row->cmd_class, cls) << std::hex << c;
            ++listed;
        }
    }
    EXPECT_EQ(listed, table.size());
}

TEST(CommandTables, MainPmbusNamesTellReservedFromRESERVEDAndNumberTheRanges) {
    const auto table = command_tables(TableSet::Main).pmbus;
    auto name = [&](int c) {
        return std::string(find_command(table, static_cast<uint8_t>(c))->name);
    };
    for (int c : codes("05-0F")) EXPECT_EQ(name(c), "Reserved");
    for (int c : codes("34, 67, 6C-77, 83-87, 9F, AC-AF, C0-CF")) EXPECT_EQ(name(c), "RESERVED");
    EXPECT_EQ(name(0xB0), "USER_DATA_00");
    EXPECT_EQ(name(0xBF), "USER_DATA_15");
    EXPECT_EQ(name(0xD0), "MFR_SPECIFIC_00");
    EXPECT_EQ(name(0xD9), "MFR_SPECIFIC_09");
    EXPECT_EQ(name(0xFD), "MFR_SPECIFIC_45");
    EXPECT_EQ(name(0xFE), "MFR_SPECIFIC_COMMAND_EXT");
    EXPECT_EQ(name(0xFF), "PMBUS_COMMAND_EXT");
    EXPECT_EQ(name(0x8B), "READ_VOUT");
    EXPECT_EQ(name(0x4F), "OT_FAULT_LIMIT");
}

TEST(CommandTables, PanelPmbusHeldCodesNamesAndClasses) {
    const auto panel = command_tables(TableSet::Panels).pmbus;
    const auto main = command_tables(TableSet::Main).pmbus;
    const auto expected =
        codes("00-19, 20-2A, 30-4C, 4F-5A, 5E-64, 78-7A, 7C-7E, 80, 88, 8B, 8D, 98, D0-EF, F7-FD");
    EXPECT_EQ(held(panel), std::set<int>(expected.begin(), expected.end()));
    for (const auto& r : panel) {
        const CommandRow* m = find_command(main, r.code);
        ASSERT_NE(m, nullptr);
        if (r.code < 0xD0) {
            EXPECT_EQ(r.name, m->name) << std::hex << int(r.code);
        }
        // Rows that name a command only take the main table's class.
        EXPECT_EQ(r.cmd_class, m->cmd_class) << std::hex << int(r.code);
    }
    EXPECT_EQ(find_command(panel, 0xD2)->name, "MFR_FAULTBz0_PROPAGATE");
    EXPECT_EQ(find_command(panel, 0xE1)->name, "MFR_POWERGOOD_ASSERTION_DELAY");
    EXPECT_EQ(find_command(panel, 0xFD)->name, "MFR_TEMPERATURE_MIN");
}

TEST(CommandTables, PanelBatteryDropsFiveUnitsOnly) {
    const auto main = command_tables(TableSet::Main).battery;
    const auto panel = command_tables(TableSet::Panels).battery;
    ASSERT_EQ(main.size(), panel.size());
    int differing = 0;
    for (size_t i = 0; i < main.size(); ++i) {
        EXPECT_EQ(main[i].code, panel[i].code);
        EXPECT_EQ(main[i].cmd_class, panel[i].cmd_class);
        if (main[i].name != panel[i].name) ++differing;
    }
    EXPECT_EQ(differing, 5);
    EXPECT_EQ(find_command(panel, 0x15)->name, "CHARGING VOLTAGE");
    EXPECT_EQ(find_command(main, 0x15)->name, "CHARGING VOLTAGE (mV)");
    EXPECT_EQ(held(main),
              std::set<int>({0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                             0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15,
                             0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x20, 0x21, 0x22, 0x23}));
    for (const auto& r : main) EXPECT_EQ(r.cmd_class, r.code <= 3 ? 5 : r.code <= 0x1C ? 3 : 7);
}

struct FormCase {
    const char* text;
    int code;  // -1: names nothing
};

TEST(CommandCode, AcceptedFormsOnly) {
    const FormCase cases[] = {
        {"a", 0x0A},  {"A", 0x0A},  {"0a", 0x0A}, {"0A", 0x0A}, {"Ab", 0xAB}, {"aB", 0xAB},
        {"ab", 0xAB}, {"8b", 0x8B}, {"1", 0x01},  {"08", 0x08}, {"FF", 0xFF}, {"00", 0x00},
        {"", -1},     {" 8", -1},   {"8 ", -1},   {"008", -1},  {"0x8", -1},  {"&H8", -1},
        {"g", -1},    {"-1", -1},   {"1g", -1},
    };
    for (const auto& c : cases) {
        auto code = command_code(c.text);
        if (c.code < 0)
            EXPECT_FALSE(code.has_value()) << '"' << c.text << '"';
        else
            EXPECT_EQ(code, std::optional<uint8_t>(static_cast<uint8_t>(c.code))) << c.text;
    }
}

struct LookupCase {
    TableSet set;
    BusMode mode;
    const char* addr;
    const char* cmd;
    const char* type;
    const char* caption;  // nullptr: left as it was
    int cls;              // -1: left as it was
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << (c.set == TableSet::Main ? "main" : "panel") << " mode " << int(c.mode) << " addr '"
        << c.addr << "' cmd '" << c.cmd << "' type '" << c.type << "'";
}

class Lookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, CaptionAndClass) {
    const LookupCase& c = GetParam();
    NameLookup out = lookup_command_name(c.set, c.mode, c.addr, c.cmd, c.type);
    if (c.caption)
        EXPECT_EQ(out.caption, std::optional<std::string_view>(c.caption));
    else
        EXPECT_FALSE(out.caption.has_value());
    if (c.cls >= 0)
        EXPECT_EQ(out.cmd_class, std::optional<int16_t>(static_cast<int16_t>(c.cls)));
    else
        EXPECT_FALSE(out.cmd_class.has_value());
}

constexpr TableSet M = TableSet::Main, P = TableSet::Panels;
constexpr BusMode SBS = BusMode::SBS, PMB = BusMode::PMBus, I2C = BusMode::I2C;

INSTANTIATE_TEST_SUITE_P(
    Cases, Lookup,
    ::testing::Values(
        // Smart Battery: units on the main panel only, class 3 either way.
        LookupCase{M, SBS, "16", "8", "Read Word", "TEMPERATURE (degC)", 3},
        LookupCase{M, SBS, "16", "08", "Read Word", "TEMPERATURE (degC)", 3},
        LookupCase{P, SBS, "16", "08", "Read Word", "TEMPERATURE", 3},
        // Address 14: the main panel's selector, the panels' charger.
        LookupCase{M, SBS, "14", "01", "Read Word", "SELECTOR STATE", 5},
        LookupCase{P, SBS, "14", "01", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "14", "12", "Read Word", "UNDEFINED", -1},
        LookupCase{P, SBS, "14", "12", "Read Word", "CHARGER MODE", 6},
        LookupCase{M, SBS, "12", "13", "Read Word", "CHARGER STATUS", 3},
        LookupCase{M, SBS, "16", "13", "Read Word", "AVERAGE TIME TO FULL", 3},
        LookupCase{M, SBS, "12", "14", "Read Word", "CHARGING_CURRENT (mA)", 6},
        LookupCase{P, SBS, "12", "14", "Read Word", "CHARGING_CURRENT", 6},
        // Other addresses, prefixed or blank addresses name nothing in Smart Battery mode.
        LookupCase{M, SBS, "20", "16", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "0x16", "16", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, " 16", "16", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "", "16", "Read Word", "UNDEFINED", -1},
        LookupCase{P, SBS, "20", "16", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "16", "1D", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "16", "", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "16", "016", "Read Word", "UNDEFINED", -1},
        LookupCase{M, SBS, "16", "20", "Read Word", "MANUFACTURER NAME", 7},
        // The Ext override belongs to PMBus mode only.
        LookupCase{M, SBS, "16", "09", "Ext Read Word", "VOLTAGE (mV)", 3},
        // PMBus, main panel: any address.
        LookupCase{M, PMB, "anything", "1A", "Read Word", "Undefined", -1},
        LookupCase{M, PMB, "B8", "FE", "Read Word", "MFR_SPECIFIC_COMMAND_EXT", 10},
        LookupCase{M, PMB, "B8", "05", "Read Word", "Reserved", 10},
        LookupCase{M, PMB, "B8", "34", "Read Word", "RESERVED", 10},
        LookupCase{M, PMB, "", "8b", "Read Word", "READ_VOUT", 5},
        LookupCase{M, PMB, "B8", "8B", "Ext Read Word", "Extended Commands", 10},
        LookupCase{M, PMB, "B8", "1A", "Ext Write Byte", "Extended Commands", 10},
        // PMBus, command panels: address B8 or b8 only.
        LookupCase{P, PMB, "B9", "00", "Read Word", "Undefined", -1},
        LookupCase{P, PMB, "b8", "00", "Read Word", "PAGE", 4},
        LookupCase{P, PMB, "bB8", "00", "Read Word", "Undefined", -1},
        LookupCase{P, PMB, "B8", "99", "Read Word", "Undefined", -1},
        LookupCase{P, PMB, "B8", "E7", "Read Word", "MFR_ID", 10},
        LookupCase{P, PMB, "B8", "79", "Read Word", "STATUS_WORD", 5},
        // The panels take the Ext override too.
        LookupCase{P, PMB, "B8", "8B", "Ext Read Word", "Extended Commands", 10},
        LookupCase{P, PMB, "B9", "8B", "Ext Read Byte", "Extended Commands", 10},
        // I2C: nothing changes.
        LookupCase{M, I2C, "16", "16", "Read Word", nullptr, -1},
        LookupCase{P, I2C, "B8", "00", "Ext Read Word", nullptr, -1}));

}  // namespace
}  // namespace velmora
