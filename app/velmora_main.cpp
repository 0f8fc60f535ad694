// velmora: the console window first; the program ends with its last window.
#include <QApplication>

#include "frm_send_smb_cmds.h"
#include "ui/qt_services.h"
#include "velmora_wiring.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    platform::ui::install_qt_services();
    velmora::install_velmora_hooks();
    velmora::frmSendSMB_cmds* console = velmora::frmSendSMB_cmds::Load();
    if (!console) return 0;  // the load step ended the program
    console->show();
    return QApplication::exec();
}
