// The start-up sequence, run each time the console window loads.
#include "driver_binding.h"
#include "mod_Miscellaneous_Subroutines.h"

namespace velmora {

void Initialize_Variables() {
    SharedState& s = shared();
    s.Protocol = "4";
    s.RowProtocol[0] = "4";
    s.DevAddr = s.DevCmd = s.EntryAddr = s.EntryCmd = 0x16;
    s.Reply1 = s.Reply2 = s.Data1 = s.Data2 = 0;
    s.EntryExt = s.EntryLSB = s.EntryMSB = 0;
    s.ResultLSB[0] = s.ResultMSB[0] = 0;

    s.BlockCount = 2;
    s.BlockTxCount = 2;
    s.BlockReadText.clear();
    s.TxLength = 0;
    s.RxExpected = 0;

    s.CmdMismatch.fill(False);
    s.DataFileName = "/test1.txt";
    s.DatalogOn = False;
    s.SettingsFileName = "/default.set";
    s.CmdClass.fill(3);
    s.ResultReady[0] = False;

    console_controls().hide_page_number_controls();

    s.CommsTimeout = s.CommsError = s.BusBusy = False;
    s.PanelCount = 0;
    s.LogFileCount = 1;

    s.BoardSerial = Find_Board();

    // Runs without a board too: the open then fails and sets CommsError, and there is no
    // link to purge.
    Open_USB_Cmd();
    Delay_50ms();
    if (s.USB_Handle && driver::RL_Purge(s.USB_Handle, RL_PURGE_RX) != RL_OK) s.CommsError = True;
    Delay_50ms();
}

}  // namespace velmora
