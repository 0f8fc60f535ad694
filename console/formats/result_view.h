// What the console's timer shows for a panel's finished request: the data byte boxes,
// "Err", the decoded value of a word read, and where block results go. Pure: the timer
// passes the panel's result slots and boxes in and moves the texts out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/number_text.h"
#include "formats/value_entry.h"

namespace velmora::formats {

// The boxes the word decode reads.
struct DecodeContext {
    BusMode mode = BusMode::SBS;
    std::string_view main_address;  // the main window's `txt_Device_Addr` (selects the table)
    std::string_view command;       // `Get_Panel_Cmd(n)`, compared exactly
    std::string_view format;        // panel n's `TranslationMode`
    std::string_view xtext;         // panel n's `Xtext`
};

// Value text of a word read (high byte msb, low byte lsb): integers in plain decimal,
// reals through real_to_text, the empty text where the table knows no decoding. Nothing
// in I2C mode, where the value box keeps what it holds.
std::optional<std::string> decode_word_value(const DecodeContext& ctx, uint8_t msb, uint8_t lsb,
                                             const NumberFormat& number_format = {});

// A panel's result slots: `RowProtocol(n)`, `PanelError(n)`, `ResultMSB(n)`, `ResultLSB(n)`,
// and the texts of the last block read (`BlockCountHex`, `BlockReadText`).
struct PanelResult {
    std::string_view letter;
    bool panel_error = false;
    uint8_t msb = 0;
    uint8_t lsb = 0;
    std::string_view block_count;
    std::string_view block_data;
};

enum class BlockBoxes {
    None,
    Read,       // `BlockReadText` -> `txt_Block_Data`, `BlockCountHex` -> `txt_Block_Count`
    WriteRead,  // the same texts -> `txt_Block_Data1`, `txt_Block1_Count`
};

// Steps of one panel's display, applied in this order:
// 1. stop_repeat_all: `Repeatall` stopped, the main `Nonstop` unticked, `Clear_Nonstop`.
// 2. show_bytes: `txt_RW_MSByte` := ms_byte, `txt_RW_LSByte` := ls_byte.
// 3. value: `Linear16bit` := *value (runs the value box handling as typing would).
// 4. block: block_count and block_data into the boxes named; both empty after a failed
//    read, which left a stale or partial block behind.
struct ResultView {
    bool stop_repeat_all = false;
    bool show_bytes = false;
    std::string ms_byte;
    std::string ls_byte;
    std::optional<std::string> value;
    BlockBoxes block = BlockBoxes::None;
    std::string block_count;
    std::string block_data;
};

ResultView result_view(const PanelResult& result, const DecodeContext& ctx,
                       const NumberFormat& number_format = {});

// Timer step 1: the buttons that act on all panels.
struct AllPanelButtons {
    bool send_all = false;    // `SendAll`
    bool repeat_all = false;  // `Repeatall`
    bool group_set = false;   // `Groupsetbut`
};
AllPanelButtons all_panel_buttons(int panel_count, BusMode mode);

}  // namespace velmora::formats
