// The board link and request layer of velmora: board discovery, the command and monitor
// links, the one request frame and its reply, the start-up values, and the hex-text
// helpers. Every procedure works on the shared state (shared_state.h); failures never
// throw: they set CommsError / CommsTimeout and the calling window decides.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shared_state.h"

namespace velmora {

// Description by which the board's bridge is recognised, compared whole and
// case-sensitively.
inline constexpr std::string_view kBoardDescription = "ZOQ ONBOARD RS232 CNTLR";
inline constexpr uint32_t kCommandBaud = 19534;
inline constexpr uint32_t kMonitorBaud = 1200000;
inline constexpr char kInvalidEntryMessage[] = "One of the Addr, Cmd, Data entries are not valid";

// --- Board discovery and links -------------------------------------------------------

// Serial number of the first device that matches kBoardDescription and opens; empty when
// none does. Shows each matching serial number in `SNlabel` as it tries it.
std::string Find_Board();
// Serial number of the device at `index`, empty when the list call fails.
std::string Get_Serial_Number(int index);
// Opens `BoardSerial` at 19,534 baud (command link) / 1,200,000 baud (monitor link).
// Neither purges the queues.
void Open_USB_Cmd();
void Open_USB_Monitor();
void Close_USB();
// Busy waits on the installed clock; they do not let the user interface run.
void Delay_250ms();
void Delay_50ms();
// Folder of the running program without a trailing "/"; "" for a program in "/".
std::string App_Folder();
// Firmware queries "V" and "W" on the open link; they fill `FirmwareVersionText`.
void Read_Version_V();
void Read_Version_W();
// The start-up sequence: starting values, board search, command link.
void Initialize_Variables();

// --- One request on the command link -------------------------------------------------

// Sends the frame for `Protocol` from the request block and reads its reply into
// `Reply1`/`Reply2` or `BlockCount`/`BlockCountHex`/`BlockReadText`; re-opens the link
// after a failure.
void SMB_Transaction();

// --- Hex text helpers and entry checks ------------------------------------------------

// One or two hex digits of either case to 0..255; sets `HexValid` (0 when invalid).
int16_t Hex_To_Byte(std::string_view text);
// Two upper-case hex digits.
std::string Byte_To_Hex(uint8_t value);
// "0".."9", "A".."F" to 0..15; anything else (lower case too) to 0.
int16_t Hex_Digit_Value(std::string_view digit);
// Four digits of a 16-bit value, low byte's pair first (d0 d1 low, d2 d3 high).
int16_t Hex4_To_Int(std::string_view d0, std::string_view d1, std::string_view d2,
                    std::string_view d3);
int32_t Hex4_To_Word(std::string_view d0, std::string_view d1, std::string_view d2,
                     std::string_view d3);
// After an invalid conversion: the invalid-entry message, Repeat All stopped, every repeat
// box unticked; returns 1. Returns 0 and does nothing when `HexValid` is True.
int16_t Check_Entries();
// Unticks `Nonstop` of command panels 1..PanelCount.
void Clear_Nonstop();
// Repeat All stopped: `Repeatall` and the main panel's box, then the open panels' boxes.
void Stop_Repeat_All();

// Folder part of a program path as App_Folder() gives it (exposed for tests).
std::string folder_of_program(std::string_view program_path);

}  // namespace velmora
