// Transaction types of a command panel: the texts of its type list, the protocol letter
// and entry boxes of each type, the field layout that picking a type applies, and the
// check of a command's expected class against the type. A type is the exact text of the
// panel's type box; a text that names no type is sent as a read word.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/bus_mode.h"

namespace velmora {

// The type list: six basic types, then in PMBus mode the four Ext types. A list of
// exactly 10 items counts as holding the Ext types.
inline constexpr std::array<std::string_view, 6> kBasicTypes{
    "Read Word", "Write Word", "Read Byte", "Write Byte", "Send Byte", "Receive Byte"};
inline constexpr std::array<std::string_view, 4> kExtTypes{"Ext Write Byte", "Ext Read Byte",
                                                           "Ext Write Word", "Ext Read Word"};
inline constexpr int kTypeListWithExt = 10;
// Never offered in a list, but a valid type when typed.
inline constexpr std::string_view kQuickCmd = "Quick Cmd";

bool is_ext_type(std::string_view type_text);

// Field layout of one type. Keep: the property is left as it is.
enum class Vis : uint8_t { Keep, Hidden, Shown };
// Read: pale cyan and locked; Write: window colour and editable; Unlocked: editable only.
enum class Look : uint8_t { Keep, Read, Write, Unlocked };
struct BoxLayout {
    Vis vis;
    Look look;
};
struct PanelLayout {
    Vis ext;         // txt_Device_Cmdlsb
    Vis cmd;         // txt_Device_Cmd with label_Device_Command
    BoxLayout low;   // txt_RW_LSByte with label_RW_LSByte
    BoxLayout high;  // txt_RW_MSByte with label_RW_MSByte
    Look value;      // Linear16bit; every layout also empties it
};

struct TransactionType {
    std::string_view text;
    char letter;  // protocol letter on the command link
    bool parses_ext, parses_lsb, parses_msb;
    PanelLayout layout;
};

// The type of an exact text, or nullptr.
const TransactionType* find_transaction_type(std::string_view type_text);
// Protocol letter of a type text; any other text is a read word, "4".
char protocol_letter(std::string_view type_text);

// Classes of the command-name tables that the send check tests (0..9); anything else,
// such as 10 (reserved and extension codes) and 11 (an Ext type picked), is not tested.
inline constexpr int16_t kClassNoTest = 10;
inline constexpr int16_t kClassExtPicked = 11;
// Whether the check refuses `type_text` for a command of `cmd_class` in `mode`.
bool command_mismatch(BusMode mode, int16_t cmd_class, std::string_view type_text);
// The type texts the check accepts for a command of `cmd_class`: none for the block
// classes 7 to 9, and none for a class it does not test.
std::vector<std::string_view> accepted_types(int16_t cmd_class);
// The refusal's text for panel n (0 = main panel). Panel 1 ends it with a full stop for
// classes 0 to 5, a quirk that is kept.
std::string mismatch_message(int panel, int16_t cmd_class);

// Page number of the PAGE-first write, held in 0..7.
struct PageClamp {
    int16_t page;
    std::optional<std::string> rewrite;  // new text of `PageNumber` when clamped
};
PageClamp clamp_page_number(int16_t page);

// Start-up of a command panel window by the console's bus mode.
struct PanelStartup {
    std::optional<std::string_view> pmbus_heading;  // caption of `Pmbus`; empty: keep
    bool names_shown;                               // Pmbus, PMBuscmd, Linear16bit
    std::string_view addr, cmd;
    bool page_shown;    // SendBytePgNumber, PageNumber
    bool format_shown;  // TranslationMode
};
inline constexpr std::array<PanelStartup, 3> kPanelStartups{{
    // I2C, PMBus, SBS (order of BusMode)
    {std::nullopt, false, "", "", false, false},
    {"PMBus Command", true, "B8", "88", true, true},
    {"SBS Command", true, "16", "16", false, false},
}};
// The bus mode switches write the same texts into the open panels.
constexpr const PanelStartup& panel_startup(BusMode mode) {
    return kPanelStartups[static_cast<size_t>(mode)];
}

// Block command frame of the main panel.
enum class BlockOption { Read, Write, WriteRead };
struct BlockLayout {
    std::string_view label9;
    bool readback_shown;  // Label10, Label8, Label12, txt_Block_Data1, txt_Block1_Count
    bool read_look;       // txt_Block_Count and txt_Block_Data pale cyan, else window colour
    std::optional<std::string_view> count_prefill, data_prefill;  // data with CR LF lines
    char letter;
};
const BlockLayout& block_layout(BlockOption option);

}  // namespace velmora
