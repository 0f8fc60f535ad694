#include "frm_send_smb_cmds.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "block_frame.h"
#include "command_panel.h"
#include "console_hooks.h"
#include "console_startup.h"
#include "panel_windows.h"
#include "qt_controls.h"
#include "splash_forms.h"
#include "ui/qt_services.h"
#include "ui/services.h"

namespace velmora {
namespace {

frmSendSMB_cmds* g_console = nullptr;

// The help file beside the program.
std::string help_file() {
    return App_Folder() + "/" + std::string(kHelpFile);
}

}  // namespace

frmSendSMB_cmds* console_window() {
    return g_console;
}

frmSendSMB_cmds::frmSendSMB_cmds()
    : panel0(new CommandPanel(0, this)),
      frm_Block_Cmd(new BlockCommandFrame(this)),
      I2C(make_option(this, "I2C", "Gen. SMBus/I2C")),
      PMBus_sel(make_option(this, "PMBus_sel", "PMBus")),
      SBS(make_option(this, "SBS", "Smart Battery")),
      SendAll(make_button(this, "SendAll", "Send All")),
      Repeatall(make_button(this, "Repeatall", "Repeat All")),
      Groupsetbut(make_button(this, "Groupsetbut", "Group Set Send")),
      SNlabel(named(new QLabel(this), "SNlabel")),
      Label_KELD_Comms_Failure(named(
          new QLabel(QStringLiteral("Comms Failure. Please resend data. If error persists, exit, "
                                    "reset S1 on QX7310A/B and check USB connection."),
                     this),
          "Label_KELD_Comms_Failure")),
      Timer_1sec(named(new QTimer(this), "Timer_1sec")) {
    setObjectName(QStringLiteral("frmSendSMB_cmds"));
    setWindowTitle(qs(kConsoleCaption));
    SBS->setChecked(true);  // the console starts in Smart Battery mode
    for (QPushButton* b : {SendAll, Repeatall, Groupsetbut}) b->setEnabled(false);
    set_back_color(Repeatall, kButtonFace);
    Label_KELD_Comms_Failure->setWordWrap(true);
    Label_KELD_Comms_Failure->setStyleSheet(QStringLiteral("color: red"));
    Label_KELD_Comms_Failure->hide();
    Timer_1sec->setInterval(500);
    build_menus();
    claim_menu_shortcuts(this);
    build_layout();
    connect_handlers();
}

frmSendSMB_cmds::~frmSendSMB_cmds() {
    if (g_console != this) return;
    g_console = nullptr;
    install_console_controls(nullptr);
}

frmSendSMB_cmds* frmSendSMB_cmds::Load() {
    if (g_console) return g_console;
    auto* w = new frmSendSMB_cmds;
    g_console = w;
    install_console_controls(w);
    w->Timer_1sec->start();  // runs from the window's load to its unload
    if (!w->Form_Load()) {
        delete w;
        return nullptr;
    }
    return w;
}

void frmSendSMB_cmds::build_menus() {
    auto menu = [this](QMenu* parent, const char* name, const char* caption) {
        return named(parent ? parent->addMenu(QString::fromLatin1(caption))
                            : menuBar()->addMenu(QString::fromLatin1(caption)),
                     name);
    };
    auto item = [this](QMenu* m, const char* name, const char* caption, auto handler) {
        QAction* a = named(m->addAction(QString::fromLatin1(caption)), name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto hook = [](std::function<void()> ConsoleHooks::*slot) {
        return [slot] { run_hook(console_hooks().*slot); };
    };
    mainFile = menu(nullptr, "mainFile", "&File");
    menuopen = item(mainFile, "menuopen", "&Load Setting", hook(&ConsoleHooks::menuopen_Click));
    menuSaveassettings = item(mainFile, "menuSaveassettings", "Save As Setting",
                              hook(&ConsoleHooks::menuSaveassettings_Click));
    mainAdd = item(mainFile, "mainAdd", "&Add Control", hook(&ConsoleHooks::mainAdd_Click));
    mainAdd->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    mainDelete =
        item(mainFile, "mainDelete", "&Delete Control", hook(&ConsoleHooks::mainDelete_Click));
    mainDelete->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    Exit = item(mainFile, "Exit", "E&xit", [this] { Exit_Click(); });
    mainEdit = menu(nullptr, "mainEdit", "&Edit");
    mainRearrange =
        item(mainEdit, "mainRearrange", "&Rearrange", hook(&ConsoleHooks::mainRearrange_Click));
    View = menu(nullptr, "View", "Vie&w");
    Ascii = item(View, "Ascii", "ASCII Table", [this] { Ascii_Click(); });
    SmartBS = menu(View, "SmartBS", "SBS Table");
    mnuSBS = item(SmartBS, "mnuSBS", "SBS Table", [this] { mnuSBS_Click(); });
    mnuSSR = item(SmartBS, "mnuSSR", "Safety Signal Range", [this] { mnuSSR_Click(); });
    PowerMBus = item(View, "PowerMBus", "PMBus Table", [this] { PowerMBus_Click(); });
    mainTools = menu(nullptr, "mainTools", "&Tools");
    mainMonitor = item(mainTools, "mainMonitor", "&Monitor", [this] { mainMonitor_Click(); });
    mainHelp = menu(nullptr, "mainHelp", "&Help");
    menuHelp = item(mainHelp, "menuHelp", "Help Topics", [this] { menuHelp_Click(); });
    mainAbout = item(mainHelp, "mainAbout", "A&bout", [this] { mainAbout_Click(); });
}

void frmSendSMB_cmds::build_layout() {
    auto* central = new QWidget(this);
    auto* modes = new QGroupBox(QStringLiteral("Bus Mode"), central);
    auto* mode_layout = new QVBoxLayout(modes);
    for (QRadioButton* b : {I2C, PMBus_sel, SBS}) mode_layout->addWidget(b);
    auto* panel_frame = new QGroupBox(QStringLiteral("Main Control"), central);
    (new QVBoxLayout(panel_frame))->addWidget(panel0);

    auto* g = new QGridLayout(central);
    g->addWidget(panel_frame, 0, 0, 5, 1);
    g->addWidget(modes, 0, 1);
    g->addWidget(SendAll, 1, 1);
    g->addWidget(Repeatall, 2, 1);
    g->addWidget(Groupsetbut, 3, 1);
    g->setRowStretch(4, 1);
    g->addWidget(frm_Block_Cmd, 5, 0, 1, 2);
    g->addWidget(SNlabel, 6, 0, 1, 2);
    g->addWidget(Label_KELD_Comms_Failure, 7, 0, 1, 2);
    setCentralWidget(central);
}

void frmSendSMB_cmds::connect_handlers() {
    // An option button's click handling runs when it becomes selected.
    auto on_select = [this](QRadioButton* b, std::function<void()> ConsoleHooks::*slot) {
        connect(b, &QRadioButton::toggled, this, [slot](bool on) {
            if (on) run_hook(console_hooks().*slot);
        });
    };
    on_select(I2C, &ConsoleHooks::I2C_Click);
    on_select(PMBus_sel, &ConsoleHooks::PMBus_sel_Click);
    on_select(SBS, &ConsoleHooks::SBS_Click);
    connect(Groupsetbut, &QPushButton::clicked, this,
            [] { run_hook(console_hooks().Groupsetbut_Click); });
    connect(SendAll, &QPushButton::clicked, this, [this] { SendAll_Click(); });
    connect(Repeatall, &QPushButton::clicked, this, [this] { Repeatall_Click(); });
    connect(Timer_1sec, &QTimer::timeout, this, [this] { Timer_1sec_Timer(); });
}

BusMode frmSendSMB_cmds::bus_mode() const {
    if (SBS->isChecked()) return BusMode::SBS;
    if (PMBus_sel->isChecked()) return BusMode::PMBus;
    return BusMode::I2C;
}

bool frmSendSMB_cmds::Form_Load() {
    Initialize_Variables();
    SharedState& s = shared();
    if (s.BoardSerial.empty()) {
        platform::ui::show_message(std::string(kBoardNotFound));
        Disable_Sending();
        return true;
    }
    frm_Block_Cmd->btn_Block_Read_Cmd_Click();
    panel0->Fill_Lists();
    Splash_Wait();
    Read_Version_V();
    Read_Version_W();
    switch (firmware_action(s.FirmwareVersionText)) {
        case FirmwareAction::DisableMonitor:
            mainMonitor->setEnabled(false);
            break;
        case FirmwareAction::InitializationError:
            platform::ui::show_message(std::string(kInitializationError));
            Close_USB();
            Unload();
            return false;
        case FirmwareAction::None:
            break;
    }
    return true;
}

void frmSendSMB_cmds::Splash_Wait() {
    auto* splash = new frmSplash;
    splash->show();
    splash->activateWindow();
    SharedState& s = shared();
    const auto start = static_cast<int32_t>(platform::ui::whole_seconds());
    // A key or click on the splash screen adds the whole wait to SplashClock. It starts
    // at the start time: a value left by an earlier splash must not end this wait at once.
    s.SplashClock = start;
    while (s.SplashClock < start + kSplashSeconds) {
        const double now = platform::ui::clock().seconds();
        s.SplashClock = static_cast<int32_t>(static_cast<int64_t>(now));
        // Sleeps until an event comes (the key or click that ends the wait) or time is up.
        const double left = start + kSplashSeconds - now;
        if (left > 0) platform::ui::services().wait_for_events(left);
    }
    delete splash;
}

void frmSendSMB_cmds::Disable_Sending() {
    panel0->SendButton->setEnabled(false);
    panel0->Nonstop->setEnabled(false);
    frm_Block_Cmd->SendBlock->setEnabled(false);
    for (QMenu* m : {mainFile, mainTools}) {
        m->setEnabled(false);
        m->menuAction()->setEnabled(false);
    }
}

void frmSendSMB_cmds::Form_QueryUnload() {
    Close_USB();
    platform::ui::services().html_help(help_file(), platform::ui::kHelpCloseAll, 0);
    Delay_250ms();
    for (int n = 1; n <= kPanelWindows; ++n) Unload_Control(n);
}

void frmSendSMB_cmds::finish_unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Timer_1sec->stop();
    Form_QueryUnload();
    install_console_controls(nullptr);
    if (g_console == this) g_console = nullptr;
    hide();
    deleteLater();
}

void frmSendSMB_cmds::closeEvent(QCloseEvent* event) {
    finish_unload();  // the close is never refused
    event->accept();
}

void frmSendSMB_cmds::Unload() {
    finish_unload();
    // The program ends with its last window. The monitor shows its window right after the
    // console goes, so look once control is back in the event loop.
    platform::ui::quit_when_no_window_left();
}

void frmSendSMB_cmds::Exit_Click() {
    Close_USB();
    Unload();
}

void frmSendSMB_cmds::mainMonitor_Click() {
    run_hook(console_hooks().mainMonitor_Click);
}

void frmSendSMB_cmds::mainAbout_Click() {
    frmSplash1 about(this);
    about.exec();
}

void frmSendSMB_cmds::show_help(int topic) {
    platform::ui::services().html_help(help_file(), platform::ui::kHelpDisplayTopic, topic);
}

void frmSendSMB_cmds::Ascii_Click() {
    show_help(kTopicAsciiTable);
}
void frmSendSMB_cmds::mnuSBS_Click() {
    show_help(kTopicSbsTable);
}
void frmSendSMB_cmds::mnuSSR_Click() {
    show_help(kTopicSafetySignal);
}
void frmSendSMB_cmds::PowerMBus_Click() {
    show_help(kTopicPmbusTable);
}
void frmSendSMB_cmds::menuHelp_Click() {
    show_help(kTopicHelpTopics);
}

void frmSendSMB_cmds::cmd_Send_Click() {
    panel0->Send_Click();
}

void frmSendSMB_cmds::SendBlock_Click() {
    frm_Block_Cmd->SendBlock_Click();
}

void frmSendSMB_cmds::set_Repeatall_BackColor(uint32_t bgr) {
    set_back_color(Repeatall, bgr);
}

uint32_t frmSendSMB_cmds::Repeatall_BackColor() const {
    return back_color(Repeatall);
}

void frmSendSMB_cmds::set_SNlabel(const std::string& caption) {
    SNlabel->setText(qs(caption));
}

void frmSendSMB_cmds::hide_page_number_controls() {
    panel0->SendBytePgNumber->hide();
    panel0->PageNumber->hide();
}

std::string frmSendSMB_cmds::txt_Block_Data() {
    return frm_Block_Cmd->Block_Data_Text();
}

void frmSendSMB_cmds::stop_repeat_all() {
    set_Repeatall_BackColor(kButtonFace);
    Repeatall->setText(QStringLiteral("Repeat All"));
    panel0->Nonstop->setChecked(false);
}

void frmSendSMB_cmds::untick_nonstop(int n) {
    Control(n).Nonstop->setChecked(false);
}

}  // namespace velmora
