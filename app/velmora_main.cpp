// velmora: the console window first; the program ends with its last window.
#include <QApplication>

#include "console_hooks.h"
#include "frm_monitor.h"
#include "frm_send_smb_cmds.h"
#include "qt_workspace.h"
#include "splash_forms.h"
#include "ui/qt_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    platform::ui::install_qt_services();
    velmora::install_workspace_hooks();
    velmora::console_hooks().mainMonitor_Click = [] {
        velmora::monitor::enter_monitor([] {
            if (velmora::frmSendSMB_cmds* c = velmora::console_window()) c->Unload();
        });
    };
    velmora::monitor::monitor_hooks().show_console = [] {
        if (velmora::frmSendSMB_cmds* c = velmora::frmSendSMB_cmds::Load()) c->show();
    };
    velmora::monitor::monitor_hooks().show_about = [](QWidget* parent) {
        velmora::frmSplash1 about(parent);
        about.exec();
    };
    velmora::frmSendSMB_cmds* console = velmora::frmSendSMB_cmds::Load();
    if (!console) return 0;  // the load step ended the program
    console->show();
    return QApplication::exec();
}
