#include "about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "jpeg_logo.h"
#include "main_form.h"

namespace pelmo {
namespace {

constexpr int kClientWidth = 367;
constexpr int kClientHeight = 223;

}  // namespace

TAboutBox::TAboutBox(QWidget* parent, std::span<const uint8_t> logo) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(kClientWidth, kClientHeight);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(8, 8, kClientWidth - 16, 170);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);

    auto* picture = new QLabel(panel);
    picture->setObjectName("ProgramIcon");
    picture->setGeometry(50, 8, 250, 97);
    if (auto image = DecodeJpeg(logo.data(), logo.size())) {
        const QImage view(image->rgb.data(), image->width, image->height, image->width * 3,
                          QImage::Format_RGB888);
        picture->setPixmap(QPixmap::fromImage(view.copy()));
        has_logo_ = true;
    }

    auto* version = new QLabel(QString("PELMO Version %1").arg(kVersionText), panel);
    version->setObjectName("Version");
    version->setGeometry(8, 112, kClientWidth - 32, 20);
    version->setAlignment(Qt::AlignCenter);
    auto* comments = new QLabel("EEPROM programmer for the bridge chips of the QX7310", panel);
    comments->setObjectName("Comments");
    comments->setGeometry(8, 136, kClientWidth - 32, 20);
    comments->setAlignment(Qt::AlignCenter);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setGeometry((kClientWidth - 75) / 2, 188, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

}  // namespace pelmo
