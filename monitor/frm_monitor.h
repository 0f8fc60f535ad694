// The bus monitor window `Frm_Monitor`: the traffic box, the message box, Start, Stop and
// Clear, the display, time and decode-mode options, and the File, Edit, View and Help
// menus. Start runs a capture on the monitor link until Stop; the capture's rules live in
// the core (capture.h), the link side in monitor_link.h.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "capture.h"
#include "capture_loop.h"

class QAction;
class QCheckBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace velmora::monitor {

// Colours of `RX` as colour numbers (0x00BBGGRR; the system colours have the top bit set).
inline constexpr uint32_t kCaptureGreen = 65280;
inline constexpr uint32_t kButtonFace = 0x8000000F;

inline constexpr char kCaption[] = "Monitor I2C/SMBus/PMBus (100kHz max)";
inline constexpr char kCaptureInProcess[] = "Data capture in process ...\r\n";
inline constexpr char kLoggedDataSavedIn[] = "Logged Data saved in ";

// Help topics of the monitor.
inline constexpr int kTopicMonitor = 100;
inline constexpr int kTopicPmbusTable = 107;
inline constexpr int kTopicSbsTable = 108;
inline constexpr int kTopicAsciiTable = 109;
inline constexpr int kTopicSafetySignal = 114;
inline constexpr char kHelpFile[] = "QX7310help.chm";

// What the program supplies to the monitor: the console and the About box live in the
// console's folder, which the monitor does not build on.
struct MonitorHooks {
    // Return: loads and shows the console window again (its whole start-up runs).
    std::function<void()> show_console;
    // About: the About box, modal over `parent`.
    std::function<void(QWidget* parent)> show_about;
};

MonitorHooks& monitor_hooks();

// The clock's local date and time ("09/12/2026 04:28:05") in the user's short date and
// time form, with seconds: the time stamp of the traffic lines.
std::string user_datetime_text(const std::string& clock_text);

class Frm_Monitor : public QMainWindow, private CaptureView, private LoopHost {
    Q_OBJECT
  public:
    // Loads the window (Form_Load runs); not yet shown.
    static Frm_Monitor* Load();
    ~Frm_Monitor() override;

    // Controls.
    QPlainTextEdit* const Data;
    QPlainTextEdit* const Msgtextbox;
    QPushButton* const RX;
    QPushButton* const RXStop;
    QPushButton* const Clearmsg;
    QCheckBox* const DisplayON;
    QCheckBox* const Datalog;
    QCheckBox* const Timechk;
    QRadioButton* const btnPMB;
    QRadioButton* const btnSBS;
    QRadioButton* const btnHex;

    // Menus and their items.
    QMenu* monFile = nullptr;
    QAction* monOpen = nullptr;
    QAction* monReturn = nullptr;
    QAction* monExit = nullptr;
    QMenu* monEdit = nullptr;
    QAction* monCopy = nullptr;
    QMenu* monView = nullptr;
    QAction* monASCII = nullptr;
    QMenu* monsbs = nullptr;
    QAction* monsbstable = nullptr;
    QAction* monSSR = nullptr;
    QAction* monPMBus = nullptr;
    QMenu* monHelp = nullptr;
    QAction* monAbout = nullptr;

    // Handlers.
    void RX_Click();
    void RXStop_Click();
    void Clearmsg_Click();
    void DisplayON_Click();
    void monOpen_Click();
    void monReturn_Click();
    void monExit_Click();
    void monCopy_Click();
    void monASCII_Click();
    void monsbstable_Click();
    void monSSR_Click();
    void monPMBus_Click();
    void monAbout_Click();

    // The decoded log goes on in a further file of the program folder (log_files.h).
    // Nothing in the capture calls it. False when the file could not be created.
    bool CreateNewFile();

    // The capture and its loop (tests reach the loop's idle wait through it).
    Capture& capture() { return cap_; }
    CaptureLoop& capture_loop() { return loop_; }

    // The colour number of `RX`: kCaptureGreen while a capture runs, else kButtonFace.
    uint32_t RX_BackColor() const { return rx_color_; }
    // The text of `Data` with CR LF line ends, as it goes to the clipboard.
    std::string Data_Text();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Frm_Monitor();
    void build_menus();
    void build_layout();
    void connect_handlers();
    void Form_Load();
    void Leave_Monitor();
    void exit_steps();
    void set_menus_enabled(bool enabled);
    void set_RX_BackColor(uint32_t color);
    static std::string help_file();
    void show_help(int topic);
    // Text into a box at its caret; the caret ends after it.
    static void insert_at_caret(QPlainTextEdit* box, std::string_view text);
    void flush_lines();
    // Empties `Data`, with the lines not yet shown.
    void clear_Data();
    // Unloads the window; with `end_if_last` the program ends when no window is left.
    void Unload(bool end_if_last);

    // CaptureView
    void show_line(std::string_view line) override;
    void show_text(std::string_view text) override;
    void set_Timechk(bool ticked) override;
    void watchdog_stop() override;
    // LoopHost
    void before_chunk() override;
    void before_yield() override;

    Capture cap_{*this};
    CaptureLoop loop_;
    // Lines completed since the last yield, shown together: one insertion per yield keeps
    // the box cheap at the full line rate.
    std::string pending_lines_;
    uint32_t rx_color_ = kButtonFace;
    int handlers_running_ = 0;  // Start on the call stack: unloading waits for it
    bool unload_pending_ = false;
    bool leaving_ = false;  // the leave sequence has been sent
    bool unloaded_ = false;
};

// The loaded monitor window, or nullptr.
Frm_Monitor* monitor_window();

// The console's switch to the monitor: "M" CR on the command link, the console unloaded
// (`unload_console`, whose close step closes the link), the monitor window loaded and
// shown.
Frm_Monitor* enter_monitor(const std::function<void()>& unload_console);

}  // namespace velmora::monitor
