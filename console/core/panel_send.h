// Send path of the command panels (panel n: 0 the main panel, 1..8 Control1..Control8):
// the one-request-at-a-time guard, the command/type check, the optional PAGE write, the
// parsing of the hex boxes into the entry values and the hand-over to the request layer,
// and the main panel's block command. The windows supply their boxes through the small
// interfaces below; the results land in the shared per-panel arrays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/bus_mode.h"
#include "panel_field.h"
#include "transaction_types.h"

namespace velmora {

// The boxes of one panel, read when the send path needs them.
class PanelFields {
  public:
    virtual ~PanelFields() = default;
    virtual int panel_number() const = 0;
    virtual std::string text(PanelField field) const = 0;
    virtual bool SendBytePgNumber_ticked() const = 0;
    // Writing PageNumber runs its change handling as typing does.
    virtual void set_PageNumber(const std::string& text) = 0;
    virtual void untick_Nonstop() = 0;
};

// What the panel asks now: its type, address and command texts, the extended byte of an
// Ext type, and the page written first.
std::string Panel_Question(const PanelFields& panel);
// Whether panel n's waiting result answers what the panel asks now. A reply is shown only
// then: never a read's bytes in a panel turned into a write since, nor another command's.
bool Result_Answers(const PanelFields& panel);
// Drops what waits for panel n: its result and its error.
void Discard_Result(int n);

// One request of the panel (its send button, Send All, the repeat timer).
void Send_Panel_Request(PanelFields& panel, BusMode mode);
// When command and type disagree: unticks the panel's repeat box, shows its message and
// sets CmdMismatch(n).
void Check_Cmd_Protocol(PanelFields& panel, BusMode mode);
// The PAGE write ahead of the request when "Send Page # First" is ticked.
void Send_Page_First(PanelFields& panel);
// Holds EntryLSB in 0..7 and rewrites PageNumber when it had to.
void Clamp_Page_Number(PanelFields& panel);
// Copies the entry values into the request block, runs the transaction and stores the
// outcome in panel n's result slots.
void Send_SW_MB905_Cmd(int n);

enum class BlockField { txt_Block_Cmd_Addr, txt_Block_Device_Cmd, txt_Block_Count };

class BlockFields {
  public:
    virtual ~BlockFields() = default;
    // The selected option button, if any.
    virtual std::optional<BlockOption> selected_option() const = 0;
    virtual std::string text(BlockField field) const = 0;
};

// The main panel's block command; neither waits for nor takes BusBusy.
void SendBlock(BlockFields& block);

}  // namespace velmora
