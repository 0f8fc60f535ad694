// The monitor window's commands: Start with its capture loop, Stop, Clear, the menus, and
// leaving the monitor by Exit, Return or the close box.
#include <QCheckBox>
#include <QPlainTextEdit>

#include "frm_monitor.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "monitor_link.h"
#include "ui/services.h"

namespace velmora::monitor {

namespace ui = platform::ui;

void Frm_Monitor::RX_Click() {
    // Choice: Start pressed while a capture runs (`RX` green: at one of its loop's yields,
    // or after a failed read ended the loop) is ignored until Stop; a second capture would
    // share the first one's link and logs, and its raw file would never be post-processed.
    if (cap_.running() || loop_.running()) return;
    struct Running {
        Frm_Monitor& w;
        explicit Running(Frm_Monitor& m) : w(m) { ++w.handlers_running_; }
        ~Running() {
            if (--w.handlers_running_ == 0 && w.unload_pending_) w.deleteLater();
        }
    } running(*this);

    if (!Datalog->isChecked() || !cap_.Datalogwrite()) return;
    if (unloaded_) return;  // the window was closed while the log's folder was listed
    insert_at_caret(Msgtextbox, kLoggedDataSavedIn + cap_.log_path() + "\r\n");
    show_text(kCaptureInProcess);
    Open_USB_Monitor();
    Delay_250ms();
    purge_monitor_link();
    set_RX_BackColor(kCaptureGreen);
    set_menus_enabled(false);
    cap_.begin();
    loop_.run(cap_, *this);
    // The loop has ended; `RX` stays green and the menus stay disabled until Stop.
}

void Frm_Monitor::RXStop_Click() {
    const bool was_running = cap_.stop();
    set_menus_enabled(true);
    purge_monitor_link();
    Close_USB();
    if (!was_running) return;
    set_RX_BackColor(kButtonFace);
    cap_.report();
}

void Frm_Monitor::Clearmsg_Click() {
    clear_Data();
    purge_monitor_link();
    cap_.purged();
}

void Frm_Monitor::DisplayON_Click() {
    cap_.decoder().DisplayON = DisplayON->isChecked();
    if (!DisplayON->isChecked()) Datalog->setChecked(true);
}

void Frm_Monitor::monOpen_Click() {
    ui::services().shell_open(App_Folder(), "explore");
}

void Frm_Monitor::monCopy_Click() {
    ui::services().set_clipboard_text(Data_Text());
}

void Frm_Monitor::monASCII_Click() {
    show_help(kTopicAsciiTable);
}

void Frm_Monitor::monsbstable_Click() {
    show_help(kTopicSbsTable);
}

void Frm_Monitor::monSSR_Click() {
    show_help(kTopicSafetySignal);
}

void Frm_Monitor::monPMBus_Click() {
    show_help(kTopicPmbusTable);
}

void Frm_Monitor::monAbout_Click() {
    if (monitor_hooks().show_about) monitor_hooks().show_about(this);
}

bool Frm_Monitor::CreateNewFile() {
    SharedState& s = shared();
    return cap_.CreateNewFile(s.LogFileCount, s.DataFileName, App_Folder());
}

void Frm_Monitor::Leave_Monitor() {
    send_leave_sequence();
    cap_.leave();
    clear_Data();
}

void Frm_Monitor::exit_steps() {
    // Choice: the leave sequence goes out once, however Exit, Return and the close box
    // follow one another.
    if (leaving_) return;
    leaving_ = true;
    RXStop_Click();
    // Stop closed the link; the leave sequence needs it once more.
    Open_USB_Monitor();
    Leave_Monitor();
    cap_.close_logs();
}

void Frm_Monitor::monExit_Click() {
    exit_steps();
    Unload(true);
}

void Frm_Monitor::monReturn_Click() {
    exit_steps();
    // The console's start-up re-opens the command link; without a console to show, the
    // program ends as after Exit.
    const std::function<void()> show_console = monitor_hooks().show_console;
    Unload(!show_console);
    if (show_console) show_console();
}

}  // namespace velmora::monitor
