// Shared state of velmora: the module-level variables that every window of the program
// reaches by name. One instance with program lifetime (`shared()`); windows own only
// their controls. Flags are 16-bit integers, True = -1, False = 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

using Flag = int16_t;
inline constexpr Flag True = -1;
inline constexpr Flag False = 0;

inline constexpr int kPanels = 9;  // panel 0 = main panel, 1..8 = Control1..8
inline constexpr int kPanelWindows = kPanels - 1;
// Buffer sizes, a free choice: TxBuffer holds the longest request (the grouped "S"
// request, 48 bytes; a longer one is refused unsent), RxBuffer the largest capture read of
// the monitor. No read may ask for more than RxBuffer.size(); replies are read a byte at a
// time.
inline constexpr int kTxBufferSize = 48;
inline constexpr int kRxBufferSize = 65526;

struct SharedState {
    // Link state
    void* USB_Handle = nullptr;  // nullptr while no link is open
    std::array<uint8_t, kTxBufferSize> TxBuffer{};
    int16_t TxLength = 0;
    std::vector<uint8_t> RxBuffer = std::vector<uint8_t>(kRxBufferSize, 0);
    int32_t BytesReturned = 0;
    int16_t RxExpected = 0;
    int32_t RxCount = 0;
    Flag TimeoutFlag = False;
    Flag ReadErrFlag = False;
    int32_t USB_Status = 0;
    int32_t RxQueueBytes = 0;
    int32_t BytesWritten = 0;

    // Request block
    std::string Protocol = "4";
    int16_t DevAddr = 22;
    int16_t DevCmd = 22;
    int16_t Data0 = 0;
    int16_t Data1 = 0;
    int16_t Data2 = 0;
    uint8_t BlockCount = 2;
    std::string BlockBuffer;
    int16_t RawLength = 0;

    // Replies and outcome flags
    int16_t Reply1 = 0;
    int16_t Reply2 = 0;
    std::string BlockCountHex;
    std::string BlockReadText;
    Flag CommsError = False;
    Flag CommsTimeout = False;
    Flag HexValid = False;

    // Entry values
    int16_t EntryAddr = 22;
    int16_t EntryCmd = 22;
    int16_t EntryExt = 0;
    int16_t EntryLSB = 0;
    int16_t EntryMSB = 0;
    int32_t BlockTxCount = 2;

    // Per-panel arrays, indexed by panel number 0..8
    std::array<std::string, kPanels> RowProtocol{"4"};
    std::array<int16_t, kPanels> CmdClass{3, 3, 3, 3, 3, 3, 3, 3, 3};
    std::array<Flag, kPanels> CmdMismatch{};
    std::array<Flag, kPanels> ResultReady{};
    std::array<Flag, kPanels> PanelError{};
    std::array<uint8_t, kPanels> ResultLSB{};
    std::array<uint8_t, kPanels> ResultMSB{};
    // What panel n's waiting result answers: the texts its request was made of. Empty for
    // a block result, which answers the block boxes and not the panel's.
    std::array<std::string, kPanels> ResultAsked{};

    // Program-wide
    Flag BusBusy = False;
    std::string BoardSerial;
    std::string FirmwareVersionText;
    int16_t PanelCount = 0;
    int32_t SplashClock = 0;
    // Appended to App_Folder(), which has no trailing separator.
    std::string DataFileName = "/test1.txt";
    std::string SettingsFileName = "/default.set";
    int16_t LogFileCount = 1;
    Flag DatalogOn = False;
};

// The program's one instance.
SharedState& shared();

// The open panel windows, `PanelCount` held in 0..8: a count out of range never reaches a
// panel that is not there.
int open_panel_count();

// The console controls that the link layer reads and writes. The console window
// implements this; tests use a recording double. Until one is installed a silent
// default stands in (no console loaded).
class ConsoleControls {
  public:
    virtual ~ConsoleControls() = default;
    virtual void set_SNlabel(const std::string& caption) = 0;
    // Hides the check box `SendBytePgNumber` and the text box `PageNumber`.
    virtual void hide_page_number_controls() = 0;
    // Text of the main panel's block data box `txt_Block_Data`, one two-digit byte a line,
    // with CR LF line breaks as the box shows them ("A1\r\nA2\r\n"): the request layer
    // reads the bytes at a stride of four characters. A window whose text uses "\n" alone
    // must turn it into "\r\n" here.
    virtual std::string txt_Block_Data() = 0;
    // `Repeatall` back to the button-face colour with the caption "Repeat All", and the
    // main panel's `Nonstop` unticked.
    virtual void stop_repeat_all() = 0;
    // Unticks `Nonstop` of command panel `Control`n (n = 1..8).
    virtual void untick_nonstop(int n) = 0;
};

ConsoleControls& console_controls();
void install_console_controls(ConsoleControls* c);  // nullptr restores the silent default

}  // namespace velmora
