// Text of a console settings file (*.SET): CR LF lines, one value a line, one byte a
// character (Latin-1; the values here are UTF-8).
//   line 1: the open panel count in decimal; line 2: "SBS", "PMB" or "I2C";
//   then 13 lines for the main panel and 13 for each open panel, in panel order.
// Files written by other copies of the program store every value bare; this writer
// quotes the few values a bare line could not bring back, and the reader accepts both.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/open_panels.h"
#include "formats/value_entry.h"

namespace velmora::formats {

// The fields of one panel record, in file order.
enum RecordField : size_t {
    kSendBytePgNumber,  // check box state: "0" unticked, "1" ticked
    kPageNumber,
    kCmdProtocol,
    kTxtDeviceAddr,
    kTxtDeviceCmd,
    kTxtDeviceCmdlsb,
    kTxtRwLSByte,
    kTxtRwMSByte,
    kNonstop,  // check box state
    kLinear16bit,
    kTranslationMode,
    kXtext,
    kXlabel,  // caption text
    kRecordFields
};
using PanelRecord = std::array<std::string, kRecordFields>;

// records[0] is the main panel, records[1..] the open panels (at most 8 are written).
std::string settings_text(BusMode mode, std::span<const PanelRecord> records);

// What a file holds, as far as it goes. A load applies the fields in order and stops
// where they end (a file that ends early leaves what it read so far).
struct SettingsRead {
    std::optional<int> panel_count;  // line 1, held to 0..8; nothing: no line 1
    std::optional<BusMode> mode;     // line 2: "SBS", "PMB", anything else I2C
    // The values of the records that the count announces, main panel first, in file
    // order; fewer when the file ends early, never more than 13 x (1 + count).
    std::vector<std::string> fields;
};

// Each line gives its whole text (so a comma stays in its field) after leading blanks;
// a value in double quotes is the text inside them, up to the closing quote. Lines end in
// CR LF, LF or CR.
SettingsRead read_settings(std::string_view file);

// Saving into a folder whose path holds "Program Files" (spelled so) is refused.
inline constexpr std::string_view kProgramFilesMessage =
    "File not saved. Please do not save to Program Files folder. Select another folder.";
bool settings_path_refused(std::string_view path);

}  // namespace velmora::formats
