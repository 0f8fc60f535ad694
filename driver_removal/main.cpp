// drendle: removes the board's driver installation from the machine.
#include <QApplication>
#include <cstdio>

#include "dlg_main.h"
#include "drendle.h"
#include "ui/qt_services.h"
#include "win/default_image.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("drendle");
    platform::ui::install_qt_services();
    std::string error;
    auto machine = platform::win::open_machine(&error);
    if (!machine) {
        std::fprintf(stderr, "%s\n", error.c_str());
        platform::ui::show_message(error, platform::ui::Buttons::Ok, platform::ui::Icon::Error,
                                   drendle::kDialogCaption);
        return 1;
    }
    platform::win::install(machine.get());
    drendle::DlgMain dialog;
    dialog.show();
    const int code = QApplication::exec();
    platform::win::install(nullptr);
    return code;
}
