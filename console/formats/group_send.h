// The grouped "S" request of `Groupsetbut_Click`: the writes of the main panel and of
// every open command panel in one raw request, byte for byte:
//   "S", the open panel count as one digit, one record per panel, CR.
//   Write Byte record: "1", address, command, data.   Write Word: "2", address, command,
//   low data, high data.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmora::formats {

// The boxes of one panel that take part.
struct GroupPanel {
    std::string protocol;  // `CmdProtocol`
    std::string address;   // `txt_Device_Addr`
    std::string command;   // `txt_Device_Cmd`
    std::string ls_byte;   // `txt_RW_LSByte`
    std::string ms_byte;   // `txt_RW_MSByte`
};

enum class GroupRefusal {
    None,
    // A box is not one or two hex digits: the window reports it as any invalid entry
    // (`HexValid` False, then `Check_Entries`: message and repetition stopped).
    InvalidEntry,
    // The panel's type is neither "Write Byte" nor "Write Word": `message` names it.
    NotAWrite,
};

struct GroupRequest {
    GroupRefusal refusal = GroupRefusal::None;
    int panel = 0;           // the refusing panel (0 = main)
    std::string message;     // for NotAWrite
    std::string bytes;       // the request for `BlockBuffer`, one character a byte
    int16_t raw_length = 0;  // for `RawLength`
};

// main: panel 0; open: panels 1 to `PanelCount` in order (more than 8 are not taken).
// Each panel's boxes are parsed before its type is tested, so a read panel with a bad
// box is an invalid entry. Nothing of a refused group is to be sent.
GroupRequest group_set_request(const GroupPanel& main, std::span<const GroupPanel> open);

}  // namespace velmora::formats
