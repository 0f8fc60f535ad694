// The console window `frmSendSMB_cmds`, velmora's first window: the main command panel,
// the block command frame, the bus mode buttons, the buttons that act on all panels and
// the menus. Its load step starts the program (board search, command link, lists, splash
// screen, firmware version); its close step closes the link and unloads every panel.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <string>

#include "formats/bus_mode.h"
#include "mod_Miscellaneous_Subroutines.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace velmora::formats {
struct ResultView;
}

namespace velmora {

class BlockCommandFrame;
class CommandPanel;

class frmSendSMB_cmds : public QMainWindow, private ConsoleControls {
    Q_OBJECT
  public:
    // Loads the console window: its controls in their design state, then Form_Load.
    // Returns the window, not yet shown, or nullptr when the load step unloaded it again
    // (initialisation error); then no console is loaded.
    static frmSendSMB_cmds* Load();
    ~frmSendSMB_cmds() override;

    // Controls.
    CommandPanel* const panel0;  // the main panel, number 0
    BlockCommandFrame* const frm_Block_Cmd;
    QRadioButton* const I2C;
    QRadioButton* const PMBus_sel;
    QRadioButton* const SBS;
    QPushButton* const SendAll;
    QPushButton* const Repeatall;
    QPushButton* const Groupsetbut;
    QLabel* const SNlabel;
    QLabel* const Label_KELD_Comms_Failure;
    QTimer* const Timer_1sec;

    // Menus and their items.
    QMenu* mainFile = nullptr;
    QAction* menuopen = nullptr;
    QAction* menuSaveassettings = nullptr;
    QAction* mainAdd = nullptr;
    QAction* mainDelete = nullptr;
    QAction* Exit = nullptr;
    QMenu* mainEdit = nullptr;
    QAction* mainRearrange = nullptr;
    QMenu* View = nullptr;
    QAction* Ascii = nullptr;
    QMenu* SmartBS = nullptr;
    QAction* mnuSBS = nullptr;
    QAction* mnuSSR = nullptr;
    QAction* PowerMBus = nullptr;
    QMenu* mainTools = nullptr;
    QAction* mainMonitor = nullptr;
    QMenu* mainHelp = nullptr;
    QAction* menuHelp = nullptr;
    QAction* mainAbout = nullptr;

    // The selected bus mode button.
    BusMode bus_mode() const;

    // Handlers.
    void Form_QueryUnload();
    void Exit_Click();
    void mainMonitor_Click();
    void mainAbout_Click();
    void Ascii_Click();
    void mnuSBS_Click();
    void mnuSSR_Click();
    void PowerMBus_Click();
    void menuHelp_Click();
    void cmd_Send_Click();
    void SendBlock_Click();
    // Result display and repetition (result_timer.cpp).
    void Timer_1sec_Timer();
    void SendAll_Click();
    void Repeatall_Click();
    // A panel's result bytes into its data boxes; a failed request stops Repeat All first.
    void Show_Read_Bytes(const formats::ResultView& view, int n);
    // Writing the value box runs the panel's value handling as typing does.
    void Show_Value_Panel(const std::string& value, int n);
    std::string Get_Panel_Cmd(int n) const;

    // The Repeat All state: the colour of `Repeatall` (kButtonFace: stopped).
    void set_Repeatall_BackColor(uint32_t bgr);
    uint32_t Repeatall_BackColor() const;

    // Unloads the window: its close step runs, then it goes. With no window left, the
    // program ends when control is back in the event loop.
    void Unload();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    frmSendSMB_cmds();
    void build_menus();
    void build_layout();
    void connect_handlers();
    bool Form_Load();  // false when it unloaded the window
    void Splash_Wait();
    void Disable_Sending();
    void show_help(int topic);
    void finish_unload();
    void Show_Result(int n);
    void Repeat_Panel(int n);

    // ConsoleControls
    void set_SNlabel(const std::string& caption) override;
    void hide_page_number_controls() override;
    std::string txt_Block_Data() override;
    void stop_repeat_all() override;
    void untick_nonstop(int n) override;

    bool unloaded_ = false;
};

// The loaded console window, or nullptr.
frmSendSMB_cmds* console_window();

}  // namespace velmora
