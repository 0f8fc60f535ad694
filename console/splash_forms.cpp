#include "splash_forms.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "console_startup.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "qt_controls.h"

// The pictures live in a static library: their registration must be pulled in by hand.
static void init_console_resources() {
    Q_INIT_RESOURCE(console);
}

namespace velmora {
namespace {

QLabel* logo(QWidget* parent, const char* name) {
    static const bool registered = (init_console_resources(), true);
    (void)registered;
    QLabel* l = make_label(parent, name, "");
    l->setPixmap(QPixmap(QStringLiteral(":/velmora/logo.png")));
    return l;
}

QFrame* frame(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setObjectName(QStringLiteral("Frame1"));
    f->setFrameShape(QFrame::Box);
    return f;
}

// Click handling of the named controls: a mouse release over one of them.
void watch_clicks(QObject* filter, const std::vector<QWidget*>& controls) {
    for (QWidget* w : controls) w->installEventFilter(filter);
}

// A click that a control inside the frame leaves unhandled reaches the frame too: it
// counts only where it landed, so a control without click handling never ends the form.
bool is_click(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    return w && !w->childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
}

QString firmware_text(const char* prefix) {
    return QString::fromLatin1(prefix) + qs(shared().FirmwareVersionText);
}

}  // namespace

frmSplash::frmSplash()
    : Frame1(frame(this)),
      imgLogo(logo(Frame1, "imgLogo")),
      Label1(make_label(Frame1, "Label1", "Press any key to continue")),
      Label2(make_label(Frame1, "Label2", "I2C/SMBus/PMBus Communication/Monitor Interface")),
      Label3(make_label(Frame1, "Label3", "06/23/2009")),
      lblVersion(make_label(Frame1, "lblVersion", "")),
      firmwarelabel(make_label(Frame1, "firmwarelabel", "")),
      lblWarning(make_label(
          Frame1, "lblWarning",
          "Warning: If connecting two or more QX7310 on one PC, plug the first hardware in "
          "and then launch the first instance of the software. Do NOT use the software "
          "yet. Plug in the second hardware and launch the second instance of the "
          "software. Now you can start using either software (Important: do NOT go into "
          "Monitor mode until all hardware has been plugged in and its software "
          "launced).")) {
    setObjectName(QStringLiteral("frmSplash"));
    // A plain frameless window rather than a splash-screen window, which some window
    // managers never give the keyboard.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFocusPolicy(Qt::StrongFocus);
    QFont big = Label2->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Label2->setFont(big);
    lblWarning->setWordWrap(true);
    lblWarning->setFixedWidth(640);
    lblWarning->setMinimumHeight(lblWarning->heightForWidth(640));

    auto* g = new QGridLayout(Frame1);
    g->addWidget(imgLogo, 0, 0, 3, 1);
    g->addWidget(Label2, 0, 1);
    g->addWidget(lblVersion, 1, 1);
    g->addWidget(firmwarelabel, 2, 1);
    g->addWidget(Label3, 3, 1);
    g->addWidget(lblWarning, 4, 0, 1, 2);
    g->addWidget(Label1, 5, 0, 1, 2, Qt::AlignHCenter);
    auto* outer = new QGridLayout(this);
    outer->addWidget(Frame1);

    watch_clicks(this, {Frame1, imgLogo, Label1, Label2, lblVersion, lblWarning});
    Form_Load();
}

void frmSplash::Form_Load() {
    lblVersion->setText(qs(kProgramVersion));
    Read_Version_V();
    Read_Version_W();
    firmwarelabel->setText(firmware_text("Firmware version: "));
}

void frmSplash::Form_KeyPress() {
    if (unloaded_) return;  // a click reaches the frame too
    shared().SplashClock += kSplashSeconds;
    unloaded_ = true;
    hide();  // the console's load step deletes it when its wait ends
}

void frmSplash::keyPressEvent(QKeyEvent*) {
    Form_KeyPress();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (is_click(watched, event)) Form_KeyPress();
    return false;
}

frmSplash1::frmSplash1(QWidget* parent)
    : QDialog(parent),
      Frame1(frame(this)),
      Image1(logo(Frame1, "Image1")),
      Label1(make_label(Frame1, "Label1", "I2C/SMBus/PMBus Communication/Monitor Interface")),
      Label2(make_label(Frame1, "Label2", "QX7310 USB to SMBus/I2C/PMBus board")),
      Label3(
          make_label(Frame1, "Label3", "Questions and support: ask the supplier of your board.")),
      lblVersion(make_label(Frame1, "lblVersion", "")),
      firmwareversionlabel(make_label(Frame1, "firmwareversionlabel", "")) {
    setObjectName(QStringLiteral("frmSplash1"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    auto* g = new QGridLayout(Frame1);
    g->addWidget(Image1, 0, 0, 4, 1);
    g->addWidget(Label1, 0, 1);
    g->addWidget(Label2, 1, 1);
    g->addWidget(lblVersion, 2, 1);
    g->addWidget(firmwareversionlabel, 3, 1);
    g->addWidget(Label3, 4, 0, 1, 2);
    auto* outer = new QGridLayout(this);
    outer->addWidget(Frame1);
    watch_clicks(this, {Frame1, Image1, Label1, Label2, Label3, lblVersion});
    Form_Load();
}

void frmSplash1::Form_Load() {
    QCoreApplication::setApplicationName(qs(kAboutTitle));
    lblVersion->setText(qs(kProgramVersion));
    Read_Version_V();
    Read_Version_W();
    firmwareversionlabel->setText(firmware_text("Firmware version:"));
}

void frmSplash1::keyPressEvent(QKeyEvent*) {
    Form_KeyPress();
}

bool frmSplash1::eventFilter(QObject* watched, QEvent* event) {
    if (is_click(watched, event)) Form_KeyPress();
    return false;
}

}  // namespace velmora
