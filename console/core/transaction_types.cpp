#include "transaction_types.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr Vis H = Vis::Hidden, S = Vis::Shown;
constexpr Look R = Look::Read, W = Look::Write;

constexpr std::array<TransactionType, 11> kTypes{{
    // text, letter, ext, lsb, msb, {ext box, cmd box, low box, high box, value box}
    {"Quick Cmd", '0', false, false, false, {H, H, {H, Look::Keep}, {H, Look::Keep}, Look::Keep}},
    {"Send Byte", '1', false, false, false, {H, S, {H, W}, {H, Look::Keep}, Look::Unlocked}},
    {"Receive Byte", '2', false, false, false, {H, H, {S, R}, {H, Look::Keep}, R}},
    {"Write Byte", 'C', false, true, false, {H, S, {S, W}, {H, Look::Keep}, W}},
    {"Read Byte", 'D', false, false, false, {H, S, {S, R}, {H, Look::Keep}, R}},
    {"Write Word", '3', false, true, true, {H, S, {S, W}, {S, W}, W}},
    {"Read Word", '4', false, false, false, {H, S, {S, R}, {S, R}, R}},
    {"Ext Write Byte", 'P', true, true, false, {S, S, {S, W}, {H, Look::Keep}, W}},
    {"Ext Read Byte", 'O', true, false, false, {S, S, {S, R}, {H, Look::Keep}, R}},
    {"Ext Write Word", 'R', true, true, true, {S, S, {S, W}, {S, W}, W}},
    {"Ext Read Word", 'Q', true, false, false, {S, S, {S, R}, {S, R}, R}},
}};

// Type texts each tested class accepts (class = index); 7 to 9 accept none.
constexpr std::array<std::array<std::string_view, 2>, 10> kAccepted{{
    {"Send Byte", ""},
    {"Write Byte", ""},
    {"Read Byte", ""},
    {"Read Word", ""},
    {"Write Byte", "Read Byte"},
    {"Read Word", "Write Word"},
    {"Write Word", ""},
    {"", ""},
    {"", ""},
    {"", ""},
}};

constexpr std::array<BlockLayout, 3> kBlockLayouts{{
    {"Read", false, true, std::nullopt, std::nullopt, 'G'},
    {"Write", false, false, "2", "A1\r\nA2\r\n", 'F'},
    {"Write", true, false, std::nullopt, std::nullopt, 'T'},
}};

}  // namespace

bool is_ext_type(std::string_view type_text) {
    return std::find(kExtTypes.begin(), kExtTypes.end(), type_text) != kExtTypes.end();
}

const TransactionType* find_transaction_type(std::string_view type_text) {
    for (const auto& t : kTypes)
        if (t.text == type_text) return &t;
    return nullptr;
}

char protocol_letter(std::string_view type_text) {
    const TransactionType* t = find_transaction_type(type_text);
    return t ? t->letter : '4';
}

bool command_mismatch(BusMode mode, int16_t cmd_class, std::string_view type_text) {
    if (mode == BusMode::I2C || type_text == kQuickCmd) return false;
    if (cmd_class < 0 || cmd_class >= static_cast<int16_t>(kAccepted.size())) return false;
    for (std::string_view accepted : kAccepted[static_cast<size_t>(cmd_class)])
        if (!accepted.empty() && accepted == type_text) return false;
    return true;
}

std::vector<std::string_view> accepted_types(int16_t cmd_class) {
    std::vector<std::string_view> types;
    if (cmd_class < 0 || cmd_class >= static_cast<int16_t>(kAccepted.size())) return types;
    for (std::string_view accepted : kAccepted[static_cast<size_t>(cmd_class)])
        if (!accepted.empty()) types.push_back(accepted);
    return types;
}

std::string mismatch_message(int panel, int16_t cmd_class) {
    std::string where = panel == 0 ? "MAIN Control" : "Control" + std::to_string(panel);
    std::string text =
        "Device command mismatch with SMB transaction type in " + where + ". Command not executed";
    if (panel == 1 && cmd_class >= 0 && cmd_class <= 5) text += '.';
    return text;
}

PageClamp clamp_page_number(int16_t page) {
    if (page > 7) return {7, "7"};
    if (page < 0) return {0, "0"};
    return {page, std::nullopt};
}

const BlockLayout& block_layout(BlockOption option) {
    return kBlockLayouts[static_cast<size_t>(option)];
}

}  // namespace velmora
