// pelmo_screenshot PATH.png: the main window with the settings of New for a dual chip,
// rendered without a display.
#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <cstdio>

#include "main_form.h"
#include "ui/doubles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(pelmo::kApplicationTitle);
    platform::ui::ScopedDoubles quiet;  // no dialog can wait for an answer here

    pelmo::TMainForm form(QCoreApplication::applicationDirPath().toStdString());
    form.MPNewExecute();
    auto* type = form.findChild<QComboBox*>("CB1");
    type->setCurrentIndex(5);
    emit type->activated(5);
    form.add_log_line("Number Of Blank Devices = 1");
    form.add_log_line("Number Of Programmed Devices = 1");
    form.show();
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("wrote %s\n", argv[1]);
    return 0;
}
