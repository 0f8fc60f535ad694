#include "velmora_wiring.h"

#include "console_hooks.h"
#include "frm_monitor.h"
#include "frm_send_smb_cmds.h"
#include "qt_workspace.h"
#include "splash_forms.h"

namespace velmora {

void install_velmora_hooks() {
    install_workspace_hooks();
    console_hooks().mainMonitor_Click = [] {
        monitor::enter_monitor([] {
            if (frmSendSMB_cmds* c = console_window()) c->Unload();
        });
    };
    monitor::monitor_hooks().show_console = [] {
        if (frmSendSMB_cmds* c = frmSendSMB_cmds::Load()) c->show();
    };
    monitor::monitor_hooks().show_about = [](QWidget* parent) {
        frmSplash1 about(parent);
        about.exec();
    };
}

}  // namespace velmora
