#include "qt_workspace.h"

#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>

#include "block_frame.h"
#include "command_panel.h"
#include "console_hooks.h"
#include "core/bus_mode_switch.h"
#include "core/group_set.h"
#include "core/panel_set.h"
#include "core/settings_commands.h"
#include "frm_send_smb_cmds.h"
#include "panel_windows.h"

namespace velmora::workspace {
namespace {

// One panel, found again at each use: a panel window that is not loaded is loaded hidden
// by the touch, and one unloaded since is a fresh window.
class QtPanel final : public PanelControls {
  public:
    explicit QtPanel(int n) : n_(n) {}

    int number() const override { return n_; }

    std::string text(PanelField f) const override {
        CommandPanel* p = get();
        return p ? p->text(f) : std::string();
    }
    void set_text(PanelField f, const std::string& text) override {
        if (CommandPanel* p = get()) p->set_text(f, text);
    }
    void set_text_only(PanelField f, const std::string& text) override {
        if (CommandPanel* p = get()) p->set_text_only(f, text);
    }
    void set_visible(PanelField f, bool shown) override {
        if (CommandPanel* p = get()) p->control(f)->setVisible(shown);
    }
    bool ticked(PanelField f) const override {
        CommandPanel* p = get();
        return p && p->ticked(f);
    }
    void set_ticked(PanelField f, bool on) override {
        if (CommandPanel* p = get()) p->set_ticked(f, on);
    }

    int CmdProtocol_ListCount() const override {
        CommandPanel* p = get();
        return p ? p->CmdProtocol_ListCount() : 0;
    }
    void CmdProtocol_AddItem(std::string_view item) override {
        if (CommandPanel* p = get()) p->CmdProtocol_AddItem(std::string(item));
    }
    void CmdProtocol_RemoveItem(int index) override {
        if (CommandPanel* p = get()) p->CmdProtocol_RemoveItem(index);
    }
    void CmdProtocol_Click() override {
        if (CommandPanel* p = get()) p->CmdProtocol_Click();
    }

  private:
    CommandPanel* get() const { return Panel(n_); }

    const int n_;
};

class QtWorkspace final : public WorkspaceWindows {
  public:
    BusMode bus_mode() const override { return current_bus_mode(); }

    void select_bus_mode(BusMode mode) override {
        frmSendSMB_cmds* c = console_window();
        if (!c) return;
        QRadioButton* b = mode == BusMode::I2C     ? c->I2C
                          : mode == BusMode::PMBus ? c->PMBus_sel
                                                   : c->SBS;
        b->setChecked(true);
    }

    PanelControls& main_panel() override { return panels_[0]; }
    PanelControls& panel(int k) override { return panels_[static_cast<size_t>(valid(k))]; }

    void show_panel(int k) override { Control(k).show(); }
    void unload_panel(int k) override { Unload_Control(k); }

    void enable_SendBlock() override {
        if (frmSendSMB_cmds* c = console_window()) c->frm_Block_Cmd->SendBlock->setEnabled(true);
    }

    FrameSize frame_size(int window) override {
        QWidget* w = window_of(window);
        if (!w) return {0, 0};
        // A window never shown yet gets its size when it is shown; until then it has no
        // frame, which is taken as wide as the console's.
        const bool sized = w->isVisible() || w->testAttribute(Qt::WA_Resized);
        const QSize size =
            sized ? w->size()
                  : w->sizeHint().expandedTo(w->minimumSize()).boundedTo(w->maximumSize());
        QSize frame = w->frameGeometry().size() - w->size();
        if (frame.isNull() && window != 0)
            if (QWidget* c = console_window()) frame = c->frameGeometry().size() - c->size();
        return {size.width() + frame.width(), size.height() + frame.height()};
    }
    void set_left(int window, int pixels) override {
        if (QWidget* w = window_of(window)) w->move(pixels, w->y());
    }
    void set_top(int window, int pixels) override {
        if (QWidget* w = window_of(window)) w->move(w->x(), pixels);
    }

  private:
    static int valid(int k) { return std::clamp(k, 1, kPanelWindows); }
    static QWidget* window_of(int window) {
        if (window == 0) return console_window();
        return &Control(window);
    }

    std::array<QtPanel, kPanelWindows + 1> panels_{QtPanel(0), QtPanel(1), QtPanel(2),
                                                   QtPanel(3), QtPanel(4), QtPanel(5),
                                                   QtPanel(6), QtPanel(7), QtPanel(8)};
};

}  // namespace

WorkspaceWindows& console_workspace() {
    static QtWorkspace w;
    return w;
}

}  // namespace velmora::workspace

namespace velmora {

void install_workspace_hooks() {
    using workspace::console_workspace;
    ConsoleHooks& h = console_hooks();
    h.menuopen_Click = [] { workspace::menuopen_Click(console_workspace()); };
    h.menuSaveassettings_Click = [] { workspace::menuSaveassettings_Click(console_workspace()); };
    h.mainAdd_Click = [] { workspace::mainAdd_Click(console_workspace()); };
    h.mainDelete_Click = [] { workspace::mainDelete_Click(console_workspace()); };
    h.mainRearrange_Click = [] { workspace::mainRearrange_Click(console_workspace()); };
    h.I2C_Click = [] { workspace::I2C_Click(console_workspace()); };
    h.PMBus_sel_Click = [] { workspace::PMBus_sel_Click(console_workspace()); };
    h.SBS_Click = [] { workspace::SBS_Click(console_workspace()); };
    h.Groupsetbut_Click = [] { workspace::Groupsetbut_Click(console_workspace()); };
}

}  // namespace velmora
