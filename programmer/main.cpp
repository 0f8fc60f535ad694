// pelmo: the bridge-chip EEPROM programmer.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "about_box.h"
#include "main_form.h"
#include "ui/qt_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(pelmo::kApplicationTitle);
    platform::ui::install_qt_services();

    pelmo::TMainForm form(QCoreApplication::applicationDirPath().toStdString());
    pelmo::TAboutBox about(&form);
    form.set_about_box(&about);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        form.move(screen->availableGeometry().center() - form.rect().center());
    }
    form.show();
    return app.exec();
}
