#include "transaction_types.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "console_startup.h"

namespace velmora {
namespace {

const char* const kAllTypes[] = {
    "Quick Cmd", "Send Byte",      "Receive Byte",  "Write Byte",     "Read Byte",     "Write Word",
    "Read Word", "Ext Write Byte", "Ext Read Byte", "Ext Write Word", "Ext Read Word", "read word",
    "",          "Read Word "};

TEST(TransactionTypes, LettersAndParsedBoxes) {
    struct Row {
        char letter;
        bool ext, lsb, msb;
    };
    const std::map<std::string, Row> expected = {
        {"Quick Cmd", {'0', false, false, false}},    {"Send Byte", {'1', false, false, false}},
        {"Receive Byte", {'2', false, false, false}}, {"Write Byte", {'C', false, true, false}},
        {"Read Byte", {'D', false, false, false}},    {"Write Word", {'3', false, true, true}},
        {"Read Word", {'4', false, false, false}},    {"Ext Write Word", {'R', true, true, true}},
        {"Ext Read Word", {'Q', true, false, false}}, {"Ext Write Byte", {'P', true, true, false}},
        {"Ext Read Byte", {'O', true, false, false}},
    };
    for (const char* text : kAllTypes) {
        auto it = expected.find(text);
        const TransactionType* t = find_transaction_type(text);
        if (it == expected.end()) {
            EXPECT_EQ(t, nullptr) << text;
            EXPECT_EQ(protocol_letter(text), '4') << "any other text is a read word: " << text;
            continue;
        }
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(protocol_letter(text), it->second.letter) << text;
        EXPECT_EQ(t->parses_ext, it->second.ext) << text;
        EXPECT_EQ(t->parses_lsb, it->second.lsb) << text;
        EXPECT_EQ(t->parses_msb, it->second.msb) << text;
        EXPECT_EQ(t->layout.ext == Vis::Shown, is_ext_type(text)) << text;
    }
}

TEST(TransactionTypes, LayoutsOfTheUnusualRows) {
    const auto& quick = find_transaction_type("Quick Cmd")->layout;
    EXPECT_EQ(quick.cmd, Vis::Hidden);
    EXPECT_EQ(quick.low.vis, Vis::Hidden);
    EXPECT_EQ(quick.high.vis, Vis::Hidden);
    EXPECT_EQ(quick.value, Look::Keep);
    const auto& send = find_transaction_type("Send Byte")->layout;
    EXPECT_EQ(send.low.vis, Vis::Hidden);
    EXPECT_EQ(send.low.look, Look::Write);
    EXPECT_EQ(send.value, Look::Unlocked);
    const auto& receive = find_transaction_type("Receive Byte")->layout;
    EXPECT_EQ(receive.cmd, Vis::Hidden);
    EXPECT_EQ(receive.low.look, Look::Read);
    const auto& ext_write = find_transaction_type("Ext Write Word")->layout;
    EXPECT_EQ(ext_write.high.look, Look::Write);
    EXPECT_EQ(ext_write.value, Look::Write);
}

TEST(TransactionTypes, ListsAndExtTest) {
    EXPECT_EQ(kBasicTypes.size() + kExtTypes.size(), static_cast<size_t>(kTypeListWithExt));
    EXPECT_EQ(kBasicTypes[0], "Read Word");
    EXPECT_EQ(kExtTypes[3], "Ext Read Word");
    EXPECT_FALSE(is_ext_type("ext read word"));
    EXPECT_FALSE(is_ext_type("Read Word"));
}

// The accepted types of each tested class, as the check is described.
const std::map<int, std::set<std::string>> kAcceptedByClass = {
    {0, {"Send Byte"}},
    {1, {"Write Byte"}},
    {2, {"Read Byte"}},
    {3, {"Read Word"}},
    {4, {"Write Byte", "Read Byte"}},
    {5, {"Read Word", "Write Word"}},
    {6, {"Write Word"}},
    {7, {}},
    {8, {}},
    {9, {}},
};

TEST(CommandCheck, EveryClassAgainstEveryTypeInEachMode) {
    for (BusMode mode : {BusMode::SBS, BusMode::PMBus, BusMode::I2C}) {
        for (int cls = -1; cls <= 12; ++cls) {
            for (const char* type : kAllTypes) {
                bool expected = false;
                auto it = kAcceptedByClass.find(cls);
                if (mode != BusMode::I2C && std::string(type) != "Quick Cmd" &&
                    it != kAcceptedByClass.end())
                    expected = it->second.count(type) == 0;
                EXPECT_EQ(command_mismatch(mode, static_cast<int16_t>(cls), type), expected)
                    << "mode " << int(mode) << " class " << cls << " type '" << type << "'";
            }
        }
    }
}

TEST(CommandCheck, MessagePerPanelWithPanelOnesFullStop) {
    for (int panel = 0; panel <= 8; ++panel) {
        for (int16_t cls = 0; cls <= 9; ++cls) {
            std::string where = panel == 0 ? "MAIN Control" : "Control" + std::to_string(panel);
            std::string expected = "Device command mismatch with SMB transaction type in " + where +
                                   ". Command not executed";
            if (panel == 1 && cls <= 5) expected += ".";
            EXPECT_EQ(mismatch_message(panel, cls), expected) << panel << " " << cls;
        }
    }
}

TEST(PageNumber, HeldInZeroToSeven) {
    for (int16_t p = 0; p <= 7; ++p) {
        EXPECT_EQ(clamp_page_number(p).page, p);
        EXPECT_FALSE(clamp_page_number(p).rewrite.has_value());
    }
    EXPECT_EQ(clamp_page_number(10).page, 7);
    EXPECT_EQ(clamp_page_number(10).rewrite, std::optional<std::string>("7"));
    EXPECT_EQ(clamp_page_number(255).page, 7);
    EXPECT_EQ(clamp_page_number(-1).page, 0);
    EXPECT_EQ(clamp_page_number(-1).rewrite, std::optional<std::string>("0"));
}

TEST(PanelStartup, PerBusMode) {
    EXPECT_EQ(panel_startup(BusMode::SBS).pmbus_heading,
              std::optional<std::string_view>("SBS Command"));
    EXPECT_EQ(panel_startup(BusMode::SBS).addr, "16");
    EXPECT_FALSE(panel_startup(BusMode::SBS).format_shown);
    EXPECT_EQ(panel_startup(BusMode::PMBus).cmd, "88");
    EXPECT_TRUE(panel_startup(BusMode::PMBus).page_shown);
    EXPECT_FALSE(panel_startup(BusMode::I2C).pmbus_heading.has_value());
    EXPECT_FALSE(panel_startup(BusMode::I2C).names_shown);
    EXPECT_EQ(panel_startup(BusMode::I2C).addr, "");
}

TEST(BlockLayouts, LettersAndPrefill) {
    EXPECT_EQ(block_layout(BlockOption::Read).letter, 'G');
    EXPECT_TRUE(block_layout(BlockOption::Read).read_look);
    EXPECT_EQ(block_layout(BlockOption::Write).letter, 'F');
    EXPECT_EQ(block_layout(BlockOption::Write).data_prefill,
              std::optional<std::string_view>("A1\r\nA2\r\n"));
    EXPECT_EQ(block_layout(BlockOption::WriteRead).letter, 'T');
    EXPECT_TRUE(block_layout(BlockOption::WriteRead).readback_shown);
    EXPECT_FALSE(block_layout(BlockOption::WriteRead).count_prefill.has_value());
}

TEST(Firmware, VersionDecidesTheStart) {
    EXPECT_EQ(firmware_action("2"), FirmwareAction::DisableMonitor);
    EXPECT_EQ(firmware_action("02"), FirmwareAction::DisableMonitor);
    EXPECT_EQ(firmware_action("0"), FirmwareAction::InitializationError);
    EXPECT_EQ(firmware_action(""), FirmwareAction::InitializationError);
    EXPECT_EQ(firmware_action("3"), FirmwareAction::None);
    EXPECT_EQ(firmware_action("255"), FirmwareAction::None);
    EXPECT_EQ(firmware_action("20"), FirmwareAction::None);
    EXPECT_EQ(firmware_action("99999999999999999999999"), FirmwareAction::None);
}

}  // namespace
}  // namespace velmora
